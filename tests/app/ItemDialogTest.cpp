// The item dialog's rules and layout, built in this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <functional>

#include "app/ModalSteps.h"
#include "app/AddItem.h"
#include "app/Global.h"
#include "win/FolderPicker.h"
#include "app/Main.h"
#include "support/TestSupport.h"
#include "win/Application.h"

using namespace testing_support;

namespace {

using modal_steps::Later;

HWND FindThreadDialog(HWND except) {
    struct Find {
        HWND except, found;
    } f{except, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (w != f->except && IsWindowVisible(w) && std::wstring(cls) == L"#32770") {
                f->found = w;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&f);
    return f.found;
}

RECT BoundsOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectBounds(const RECT& r, int x, int y, int w, int h, const char* what) {
    EXPECT_EQ(r.left, x) << what;
    EXPECT_EQ(r.top, y) << what;
    EXPECT_EQ(r.right - r.left, w) << what;
    EXPECT_EQ(r.bottom - r.top, h) << what;
}

}  // namespace

TEST(AliasFromPath, TakesTheNameAfterTheLastBackslashOrTheWholePath) {
    struct Row {
        const wchar_t* path;
        const wchar_t* alias;
    } rows[] = {
        {L"C:\\Program Files\\Tools", L"Tools"},
        {L"C:\\windows", L"windows"},
        {L"C:\\", L"C:\\"},
        {L"D:", L"D:"},
        {L"C:\\Tools\\", L"C:\\Tools\\"},
        {L"\\\\server\\share", L"share"},
        {L"Tools", L"Tools"},
        {L"", L""},
        {L"C:\\a b\\  ", L"  "},  // no trimming anywhere
    };
    for (auto& r : rows) EXPECT_EQ(AliasFromPath(r.path), r.alias) << std::wstring(r.path).size();
}

TEST(CheckItem, ChecksSeparatorThenEmptyFieldsThenTheFolder) {
    int asked = 0;
    std::wstring askedFor;
    auto exists = [&](bool answer) {
        return [&, answer](const std::wstring& path) {
            ++asked;
            askedFor = path;
            return answer;
        };
    };
    struct Row {
        bool separator;
        const wchar_t *alias, *path;
        bool exists;
        ItemCheck result;
        int asks;
    } rows[] = {
        {true, L"", L"", false, ItemCheck::Accept, 0},
        {true, L"x", L"C:\\missing", false, ItemCheck::Accept, 0},
        {false, L"", L"", true, ItemCheck::EmptyField, 0},
        {false, L"", L"C:\\windows", true, ItemCheck::EmptyField, 0},
        {false, L"a", L"", true, ItemCheck::EmptyField, 0},
        {false, L" ", L"C:\\missing", false, ItemCheck::NoSuchFolder, 1},
        {false, L"a", L"C:\\windows\\", true, ItemCheck::Accept, 1},
    };
    for (auto& r : rows) {
        asked = 0;
        EXPECT_EQ(CheckItem(r.separator, r.alias, r.path, exists(r.exists)), r.result) << r.alias << "|" << r.path;
        EXPECT_EQ(asked, r.asks);
        if (r.asks) {
            EXPECT_EQ(askedFor, r.path);
        }
    }
    EXPECT_EQ(NoSuchFolderMessage(L"Q:\\x"), L"Q:\\x,the input path does not exist.");
}

class ItemDialogFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.reset(new win::Sealed<TfrmMain>());
        owner->Show();
        win::Application::Instance().ProcessMessages();
    }
    void TearDown() override { owner.reset(); }
    std::unique_ptr<TfrmMain> owner;
};

TEST_F(ItemDialogFormTest, ControlsSitWhereTheyBelongInTabOrder) {
    win::Sealed<TfrmProperty> d(owner->Handle(), L"a", L"C:\\a");
    EXPECT_EQ(d.Text(), L"Add Item");
    RECT c = d.ClientRect();
    EXPECT_EQ(c.right, 305);
    EXPECT_EQ(c.bottom, 192);
    EXPECT_FALSE(GetWindowLongW(d.Handle(), GWL_STYLE) & WS_THICKFRAME);
    ExpectBounds(BoundsOf(d.GroupBox1.Handle()), 8, 8, 291, 100, "GroupBox1");
    EXPECT_EQ(BoundsOf(d.lAlias.Handle()).left, 12);
    EXPECT_EQ(BoundsOf(d.lAlias.Handle()).top, 21);
    EXPECT_EQ(BoundsOf(d.lPath.Handle()).top, 64);
    ExpectBounds(BoundsOf(d.feName.Handle()), 46, 19, 203, 19, "feName");
    ExpectBounds(BoundsOf(d.fePath.Handle()), 46, 62, 203, 19, "fePath");
    RECT b = d.fsbBrowse.Bounds();
    ExpectBounds(b, 257, 61, 22, 22, "fsbBrowse");
    EXPECT_EQ(d.fsbBrowse.Parent(), d.GroupBox1.Handle());
    ExpectBounds(BoundsOf(d.cAddSeparator.Handle()), 8, 120, 145, 17, "cAddSeparator");
    ExpectBounds(BoundsOf(d.fbOk.Handle()), 153, 154, 65, 25, "fbOk");
    ExpectBounds(BoundsOf(d.fbCancel.Handle()), 233, 154, 65, 25, "fbCancel");
    EXPECT_EQ(d.fbOk.Caption(), L"&OK");
    EXPECT_EQ(d.fbCancel.Caption(), L"&Cancel");
    EXPECT_EQ(d.fsbBrowse.Caption(), L"...");
    LOGFONTW lf{};
    GetObjectW(d.fsbBrowse.Font(), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_GE(lf.lfWeight, FW_BOLD);
    // Both fields follow the box's face colour.
    for (auto* e : {&d.feName, &d.fePath}) {
        EXPECT_TRUE(e->ParentColor());
        EXPECT_EQ(e->ColorFlat(), win::ParentColorOf(d.GroupBox1.Handle()));
    }
    EXPECT_FALSE(d.fbOk.TabStop());
    EXPECT_FALSE(d.fbCancel.TabStop());
    EXPECT_FALSE(d.fbOk.Default());

    HWND first = GetNextDlgTabItem(d.Handle(), nullptr, FALSE);
    EXPECT_EQ(first, d.feName.Handle());
    HWND second = GetNextDlgTabItem(d.Handle(), first, FALSE);
    EXPECT_EQ(second, d.fePath.Handle());
    HWND third = GetNextDlgTabItem(d.Handle(), second, FALSE);
    EXPECT_EQ(third, d.cAddSeparator.Handle());
    EXPECT_EQ(GetNextDlgTabItem(d.Handle(), third, FALSE), d.feName.Handle());
    EXPECT_EQ(d.Entry(), (FolderEntry{L"a", L"C:\\a"}));
}

TEST_F(ItemDialogFormTest, TheSeparatorBoxDisablesTheGroupAndEverythingInIt) {
    win::Sealed<TfrmProperty> d(owner->Handle(), L"*Separator*", L"-");
    EXPECT_TRUE(d.cAddSeparator.Checked());
    EXPECT_FALSE(d.GroupBox1.Enabled());
    EXPECT_FALSE(d.feName.Enabled());
    EXPECT_FALSE(d.fePath.Enabled());
    EXPECT_FALSE(d.fsbBrowse.Enabled());
    EXPECT_FALSE(d.lAlias.Enabled());
    EXPECT_EQ(d.Entry(), FolderEntry::Separator());

    d.cAddSeparator.SetChecked(false);  // as a click does
    EXPECT_TRUE(d.GroupBox1.Enabled());
    EXPECT_TRUE(d.feName.Enabled());
    EXPECT_TRUE(d.fsbBrowse.Enabled());
    EXPECT_TRUE(d.lPath.Enabled());
    EXPECT_EQ(d.feName.Text(), L"*Separator*");
    EXPECT_EQ(d.fePath.Text(), L"-");

    // Only the exact pair is a separator.
    win::Sealed<TfrmProperty> almost(owner->Handle(), L"*Separator*", L"- ");
    EXPECT_FALSE(almost.cAddSeparator.Checked());
    EXPECT_TRUE(almost.GroupBox1.Enabled());
}

TEST_F(ItemDialogFormTest, ShowsCentredOnTheMainWindowWithTheFocusInTheAlias) {
    win::Sealed<TfrmProperty> d(owner->Handle(), L"", L"");
    RECT shown{};
    HWND focus = nullptr;
    Later([&] {
        GetWindowRect(d.Handle(), &shown);
        focus = GetFocus();
        d.ModalResult = win::mrCancel;
    });
    EXPECT_EQ(d.ShowModal(), win::mrCancel);
    RECT main{};
    GetWindowRect(owner->Handle(), &main);
    int w = shown.right - shown.left, h = shown.bottom - shown.top;
    EXPECT_EQ(shown.left, main.left + ((main.right - main.left) - w) / 2);
    EXPECT_EQ(shown.top, main.top + ((main.bottom - main.top) - h) / 2);
    EXPECT_EQ(focus, d.feName.Handle());
}

TEST_F(ItemDialogFormTest, BrowsingFillsPathAndAliasAndRestoresTheProgram) {
    win::Sealed<TfrmProperty> d(owner->Handle(), L"typed", L"");
    d.Show();
    win::Application::Instance().ProcessMessages();
    UINT before = SetErrorMode(0);
    SetErrorMode(before & ~SEM_FAILCRITICALERRORS);

    // Choose C:\windows in the picker.
    bool mainDisabled = false, dialogDisabled = false, quietErrors = false;
    std::wstring title;
    std::function<void()> pick = [&] {
        HWND picker = FindThreadDialog(nullptr);
        if (!picker) return Later(pick, 100);
        mainDisabled = !IsWindowEnabled(owner->Handle());
        dialogDisabled = !IsWindowEnabled(d.Handle());
        UINT mode = SetErrorMode(0);
        SetErrorMode(mode);
        quietErrors = (mode & SEM_FAILCRITICALERRORS) != 0;
        wchar_t text[256] = {};
        for (HWND c = GetWindow(picker, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            GetWindowTextW(c, text, 256);
            if (std::wstring(text).find(L"Please select") == 0) title = text;
        }
        wchar_t path[] = L"C:\\windows";
        SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, (LPARAM)path);
        PostMessageW(picker, WM_COMMAND, IDOK, 0);
    };
    Later(pick);
    d.fsbBrowseClick();
    EXPECT_EQ(title, L"Please select the directory to add Pathnook");
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(dialogDisabled);
    EXPECT_TRUE(quietErrors);
    EXPECT_EQ(_wcsicmp(d.fePath.Text().c_str(), L"C:\\windows"), 0) << d.fePath.Text();
    EXPECT_EQ(_wcsicmp(d.feName.Text().c_str(), L"windows"), 0) << d.feName.Text();
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_TRUE(IsWindowEnabled(d.Handle()));
    UINT after = SetErrorMode(0);
    SetErrorMode(after);
    EXPECT_EQ(after & SEM_FAILCRITICALERRORS, 0u);

    // Cancelled: nothing changes.
    d.feName.SetText(L"mine");
    Later([&] {
        if (HWND picker = FindThreadDialog(nullptr)) PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    }, 300);
    d.fsbBrowseClick();
    EXPECT_EQ(d.feName.Text(), L"mine");
    EXPECT_EQ(_wcsicmp(d.fePath.Text().c_str(), L"C:\\windows"), 0);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    SetErrorMode(before);
}

// "..." never takes the focus; F4 or Alt+Down in either field opens the
// same picker, as they open a combo box's list.
TEST_F(ItemDialogFormTest, F4OrAltDownInAFieldOpensThePicker) {
    win::Sealed<TfrmProperty> d(owner->Handle(), L"", L"");
    d.Show();
    win::Application::Instance().ProcessMessages();
    struct Key {
        HWND field;
        UINT message;
        WPARAM vk;
    };
    for (const Key& key : {Key{d.fePath.Handle(), WM_KEYDOWN, VK_F4}, Key{d.feName.Handle(), WM_SYSKEYDOWN, VK_DOWN}}) {
        d.fePath.SetText(L"");
        bool opened = false;
        std::function<void()> pick = [&] {
            HWND picker = FindThreadDialog(d.Handle());
            if (!picker) return Later(pick, 100);
            opened = true;
            wchar_t path[] = L"C:\\windows";
            SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, (LPARAM)path);
            PostMessageW(picker, WM_COMMAND, IDOK, 0);
        };
        Later(pick);
        SetFocus(key.field);
        PostMessageW(key.field, key.message, key.vk, key.message == WM_SYSKEYDOWN ? 0x20000001 : 1);
        EXPECT_TRUE(WaitUntil([&] {
            win::Application::Instance().ProcessMessages();
            return !d.fePath.Text().empty();
        }));
        EXPECT_TRUE(opened);
        EXPECT_EQ(_wcsicmp(d.fePath.Text().c_str(), L"C:\\windows"), 0) << d.fePath.Text();
        modal_steps::g_step = nullptr;
    }
}

TEST_F(ItemDialogFormTest, BrowseForDirectoryClearsAMissingStartFolder) {
    std::wstring folder = L"C:\\no such folder";
    Later([&] {
        if (HWND picker = FindThreadDialog(nullptr)) PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    }, 300);
    EXPECT_FALSE(win::BrowseForDirectory(L"t", L"", folder));
    EXPECT_EQ(folder, L"");
}
