// "Add This Folder": the dialog and the store in this process, and the
// quick menu over another window, end to end.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "QuickTestSupport.h"
#include "quick/AddFolderDialog.h"
#include "quick/QuickWindow.h"
#include "support/FileDialogHost.h"
#include "win/FileDialogJump.h"
#include "win/Error.h"
#include "win/ShownFolder.h"
#include "win/WindowLists.h"

using namespace testing_support;
using namespace quicktest;

namespace {
// Runs steps from inside the modal loops the code under test runs (a
// thread timer keeps firing there): each step is tried until it reports
// done, all of them within one deadline, after which every window of the
// thread is closed so that the loop ends.
class InLoop {
public:
    explicit InLoop(std::vector<std::function<bool()>> steps, DWORD deadlineMs = 10000)
        : steps_(std::move(steps)), start_(GetTickCount()), deadline_(deadlineMs) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~InLoop() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Finished() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        InLoop* self = current_;
        if (!self || self->busy_ || self->Finished()) return;
        self->busy_ = true;  // a step may run a modal loop of its own
        if (GetTickCount() - self->start_ > self->deadline_) {
            self->next_ = self->steps_.size();
            ADD_FAILURE() << "a step did not finish in time";
            for (HWND w : win::ThreadWindows())
                if (IsWindowVisible(w)) PostMessageW(w, WM_CLOSE, 0, 0);
        } else if (self->steps_[self->next_]()) {
            ++self->next_;
        }
        self->busy_ = false;
    }
    static inline InLoop* current_ = nullptr;
    std::vector<std::function<bool()>> steps_;
    size_t next_ = 0;
    DWORD start_, deadline_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

void Key(HWND w, WORD vk) {
    PostMessageW(w, WM_KEYDOWN, vk, 1);
    PostMessageW(w, WM_KEYUP, vk, 0xC0000001);
}

void Click(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

FolderList Stored() {
    FolderList list;
    LoadList(StoreKey, list);
    return list;
}

std::wstring TextOf(HWND w) {
    wchar_t text[1024] = {};
    SendMessageW(w, WM_GETTEXT, 1024, (LPARAM)text);
    return text;
}
}  // namespace

TEST(AddFolderDialog, ProposesTheFolderNameAsAliasAndShowsThePathReadOnly) {
    struct {
        const wchar_t *path, *alias;
    } rows[] = {
        {L"C:\\", L"C:\\"},
        {L"C:\\Tools", L"Tools"},
        {L"D:\\Work\\Ω Notes", L"Ω Notes"},
    };
    for (auto& r : rows) {
        win::Sealed<TfrmAddFolder> dialog(nullptr, r.path);
        EXPECT_EQ(dialog.feAlias.Text(), r.alias);
        EXPECT_EQ(dialog.fePath.Text(), r.path);
        EXPECT_TRUE(GetWindowLongW(dialog.fePath.Handle(), GWL_STYLE) & ES_READONLY);
        EXPECT_FALSE(GetWindowLongW(dialog.feAlias.Handle(), GWL_STYLE) & ES_READONLY);
    }
}

TEST(AddFolderDialog, OkRefusesAnEmptyAliasWithOneBoxThenTakesATypedOne) {
    win::Sealed<TfrmAddFolder> dialog(nullptr, L"C:\\Tools");
    HWND box = nullptr;
    std::wstring boxText;
    InLoop script({
        [&] {
            if (!IsWindowVisible(dialog.Handle())) return false;
            dialog.feAlias.SetText(L"  ");
            Key(dialog.feAlias.Handle(), VK_RETURN);
            return true;
        },
        [&] {
            if (!(box = FindDialogOf(GetCurrentProcessId(), L"Pathnook", 0))) return false;
            boxText = DialogText(box);
            PressButton(box, IDOK);
            return true;
        },
        [&] {
            if (IsWindow(box)) return false;
            EXPECT_TRUE(IsWindowVisible(dialog.Handle())) << "the refusal closed the dialog";
            dialog.feAlias.SetText(L"My Tools");
            Click(dialog.fbOk.Handle());
            return true;
        },
    });
    EXPECT_EQ(dialog.ShowModal(), win::mrOk);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(boxText, TfrmAddFolder::EmptyAliasMessage);
    EXPECT_EQ(dialog.Entry(), (FolderEntry{L"My Tools", L"C:\\Tools"}));
}

TEST(AddFolderDialog, CancelAndEscapeCloseItAsCancelled) {
    for (bool escape : {false, true}) {
        win::Sealed<TfrmAddFolder> dialog(nullptr, L"C:\\Tools");
        InLoop script({[&] {
            if (!IsWindowVisible(dialog.Handle())) return false;
            if (escape) Key(dialog.feAlias.Handle(), VK_ESCAPE);
            else Click(dialog.fbCancel.Handle());
            return true;
        }});
        EXPECT_EQ(dialog.ShowModal(), win::mrCancel) << (escape ? "Escape" : "Cancel");
        EXPECT_TRUE(script.Finished());
    }
}

TEST(AppendToStore, AppendsAfterTheStoredListAndTellsARefusalOnce) {
    DeleteKeyTree(StoreKey);
    WriteList({{L"Alpha", L"C:\\alpha"}, {L"Beta", L"C:\\beta"}});
    ASSERT_TRUE(AppendToStore(nullptr, StoreKey, {L"Gamma", L"C:\\gamma"}));
    EXPECT_EQ(Stored(), (FolderList{{L"Alpha", L"C:\\alpha"}, {L"Beta", L"C:\\beta"}, {L"Gamma", L"C:\\gamma"}}));

    SetStoreWriteHook([] { throw win::Error(L"Unable to write to the registry"); });
    bool stored = true;
    std::atomic<bool> finished{false};
    std::thread append([&] {
        stored = AppendToStore(nullptr, StoreKey, {L"Delta", L"C:\\delta"});
        finished = true;
    });
    HWND box = FindDialogOf(GetCurrentProcessId(), L"Pathnook", 10000);
    std::wstring text = box ? DialogText(box) : L"";
    if (box) PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return finished.load(); }));
    append.join();
    SetStoreWriteHook(nullptr);
    ASSERT_NE(box, nullptr) << "the refusal was not told";
    EXPECT_NE(text.find(L"\"Delta\" could not be added"), std::wstring::npos) << win::Narrow(text);
    EXPECT_NE(text.find(L"Unable to write to the registry"), std::wstring::npos) << win::Narrow(text);
    EXPECT_FALSE(stored);
    EXPECT_EQ(FindDialogOf(GetCurrentProcessId(), L"Pathnook", 0), nullptr) << "a second box";
    EXPECT_EQ(Stored().size(), 3u);
    DeleteKeyTree(StoreKey);
}

namespace {
class AddThisFolder : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(StoreKey); }
    void TearDown() override {
        app.Kill();
        DeleteKeyTree(StoreKey);
    }
    // The hot key over the window in front; the menu's items once it takes keys.
    std::vector<MenuItemState> OpenByHotKey(HWND& menu) {
        SendKeys({VK_LWIN, VK_MENU}, {'F'});
        menu = FindMenuWindow(app.Id());
        if (!menu || !WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; })) return {};
        return OpenMenuItems(app);
    }
    void MenuKey(HWND menu, WORD vk) { Key(menu, vk); }
    HWND AddDialog() {
        HWND found = nullptr;
        WaitUntil([&] { return (found = WindowOfProcess(app.Id(), L"TfrmAddFolder")) != nullptr; }, 10000);
        return found;
    }
    // The dialog's edit that shows this text.
    HWND EditShowing(HWND dialog, const std::wstring& text) {
        for (HWND w : win::ChildWindows(dialog))
            if (TextOf(w) == text) return w;
        return nullptr;
    }
    QuickProcess app;
};
}  // namespace

TEST_F(AddThisFolder, OverAFileDialogTheMenuOffersItAndOkStoresTheFolder) {
    TempDir dir;
    std::wstring alpha = dir.File(L"alpha"), folder = dir.File(L"Project Ω");
    CreateDirectoryW(alpha.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    folder = win::ExactCasePath(folder);
    WriteList({{L"Alpha", alpha}});
    ASSERT_TRUE(app.Start());
    FileDialogHost host(DialogKind::Explorer, L"Add Folder Test", folder);
    HWND dialog = host.Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return win::FolderShownIn(dialog) == folder; })) << "the dialog is not in the folder";

    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ASSERT_TRUE(BringToFront(dialog));
        // With the pointer away from the dialog, the menu opens under its name box.
        RECT box{}, shown{}, whole{};
        GetWindowRect(win::FindFileDialog(dialog).NameBox, &box);
        GetWindowRect(dialog, &whole);
        SetCursorPos(whole.right + 20 < 1270 ? whole.right + 20 : 5, 5);
        HWND menu = nullptr;
        auto items = OpenByHotKey(menu);
        // The list (with the folder added in the first round), then the own part.
        const size_t listed = ok ? 1 : 2;
        ASSERT_EQ(items.size(), listed + 2) << "the hot key opened no menu, or it holds other items";
        GetWindowRect(menu, &shown);
        EXPECT_EQ(shown.left, box.left);
        EXPECT_EQ(shown.top, box.bottom);
        EXPECT_EQ(items[0].Text, L"Alpha");
        EXPECT_TRUE(items[listed].Separator);
        EXPECT_EQ(items[listed + 1].Text, AddFolderCaption);
        EXPECT_TRUE(items[listed + 1].OwnerDrawn) << "painted as the other items";
        MenuKey(menu, VK_END);
        MenuKey(menu, VK_RETURN);

        HWND add = AddDialog();
        ASSERT_NE(add, nullptr) << "choosing the item opened no dialog";
        HWND alias = EditShowing(add, L"Project Ω");
        ASSERT_NE(alias, nullptr) << "no alias proposed from the folder's name";
        EXPECT_NE(EditShowing(add, folder), nullptr) << "the path is not shown";
        Key(alias, ok ? VK_RETURN : VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(add); })) << "the dialog stayed open";
        if (ok) {
            EXPECT_TRUE(WaitUntil([&] { return Stored().size() == 2; }));
            EXPECT_EQ(Stored(), (FolderList{{L"Alpha", alpha}, {L"Project Ω", folder}}));
        } else {
            EXPECT_EQ(Stored().size(), 2u) << "Cancel stored something";
        }
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; })) << "the file dialog was not given back";
    }
}

TEST_F(AddThisFolder, OverNotepadTheMenuHasOnlyTheList) {
    TempDir dir;
    std::wstring alpha = dir.File(L"alpha");
    CreateDirectoryW(alpha.c_str(), nullptr);
    WriteList({{L"Alpha", alpha}});
    ASSERT_TRUE(app.Start());
    OtherProgram notepad(L"notepad.exe");
    HWND front = notepad.Window(L"Notepad");
    ASSERT_NE(front, nullptr);
    ASSERT_TRUE(BringToFront(front));
    HWND menu = nullptr;
    auto items = OpenByHotKey(menu);
    ASSERT_FALSE(items.empty()) << "the hot key opened no menu";
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Text, L"Alpha");
    MenuKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return FindMenuWindow(app.Id(), 0) == nullptr; }));
}
