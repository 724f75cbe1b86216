// The add and edit dialog driven through its own controls in the running
// program, checked by what the store's readers see.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/CommandIds.h"
#include "e2e/DialogDriver.h"
#include "support/TestSupport.h"
#include "win/Error.h"

using namespace testing_support;
using namespace dialog_driver;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
const std::wstring kEmptyText = L"Alias or Path box was empty. Please enter some words in these box.";

// The item dialog's parts as another process finds them.
struct ItemDialog {
    HWND window = nullptr;
    HWND group = nullptr;
    HWND name = nullptr;
    HWND path = nullptr;
    HWND separator = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;

    static ItemDialog Find(DWORD pid, const std::wstring& caption) {
        ItemDialog d;
        d.window = FindWindowOf(pid, caption);
        if (!d.window) return d;
        auto boxes = ChildrenOfClass(d.window, L"Button");
        d.group = boxes.empty() ? nullptr : boxes.front();
        auto edits = ChildrenOfClass(d.window, L"Edit");
        if (edits.size() == 2) {
            d.name = edits[0];
            d.path = edits[1];
        }
        d.separator = ChildWithText(d.window, L"Add a Separator Line");
        d.ok = ChildWithText(d.window, L"&OK");
        d.cancel = ChildWithText(d.window, L"&Cancel");
        return d;
    }
    bool Complete() const { return window && group && name && path && separator && ok && cancel; }
};

class ItemDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(kStore);
        SetString(kStore + L"\\Install", L"Seeded", L"1");
        SetString(kStore, L"N0", L"Windows");
        SetString(kStore, L"P0", L"C:\\windows");
        SetString(kStore, L"N1", L"Root");
        SetString(kStore, L"P1", L"C:\\");
        app = std::make_unique<PathnookProcess>(dir.Path());
        ASSERT_TRUE(app->Start());
    }
    void TearDown() override {
        app.reset();
        DeleteKeyTree(kStore);
    }
    ItemDialog Open(unsigned command, const std::wstring& caption) {
        app->Command(command);
        ItemDialog d = ItemDialog::Find(app->Id(), caption);
        EXPECT_TRUE(d.Complete()) << "dialog " << std::string(caption.begin(), caption.end());
        EXPECT_TRUE(app->Sync());
        return d;
    }
    // Presses OK, expects the message box with `text`, answers it and
    // checks that the dialog is still up.
    void ExpectRefused(ItemDialog& d, const std::wstring& text) {
        Click(d.ok);
        HWND box = FindDialogOf(app->Id(), L"Pathnook");
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(DialogText(box), text);
        EXPECT_EQ(GetWindow(box, GW_OWNER), d.window);  // owned by the active window
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitGone(box));
        EXPECT_TRUE(app->Sync());
        EXPECT_TRUE(IsWindowVisible(d.window));
    }
    std::map<std::wstring, std::wstring> Store() { return ReadKeyValues(kStore); }

    TempDir dir;
    std::unique_ptr<PathnookProcess> app;
};
}  // namespace

TEST_F(ItemDialogTest, AddingChecksTheFieldsThenAppendsAndWritesTheNewLastPosition) {
    app->SelectRow(0);
    ItemDialog d = Open(cmdAddFolder, L"Add Item");
    ASSERT_TRUE(d.Complete());
    RECT client{};
    GetClientRect(d.window, &client);
    EXPECT_EQ(client.right, 305);
    EXPECT_EQ(client.bottom, 192);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(d.window) == d.name; }, 3000)) << "focus not in d.name";
    EXPECT_FALSE(IsWindowEnabled(app->Window()));  // modal

    // Enter and Escape press neither button.
    PostMessageW(d.name, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(d.name, WM_KEYUP, VK_RETURN, 0xC0000001);
    PostMessageW(d.name, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(d.name, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_TRUE(app->Sync());
    EXPECT_TRUE(IsWindowVisible(d.window));

    ExpectRefused(d, kEmptyText);
    SetText(d.name, L"Temp");
    ExpectRefused(d, kEmptyText);  // the path is still empty
    const std::wstring missing = L"C:\\no such folder\\";
    SetText(d.path, missing);
    ExpectRefused(d, missing + L",the input path does not exist.");
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(d.window) == d.path; }, 3000)) << "focus not in d.path";
    EXPECT_EQ(Store().size(), 5u);  // nothing written yet: 2 entries and "Setting"

    // A trailing backslash is kept as typed.
    SetText(d.path, dir.Path());
    Click(d.ok);
    ASSERT_TRUE(WaitGone(d.window));
    ASSERT_TRUE(WaitUntil([&] { return Store().count(L"P2") == 1; }));
    auto values = Store();
    EXPECT_EQ(values[L"N2"], L"Temp");
    EXPECT_EQ(values[L"P2"], dir.Path());
    EXPECT_EQ(values[L"N0"], L"Windows");
    EXPECT_TRUE(app->Sync());
    EXPECT_EQ(app->RowCount(), 3);
    EXPECT_EQ(app->SelectedRow(), 0);  // the selection stays
    EXPECT_TRUE(IsWindowEnabled(app->Window()));

    // A separator with both fields empty.
    d = Open(cmdAddFolder, L"Add Item");
    ASSERT_TRUE(d.Complete());
    Click(d.separator);
    // The group goes first, then each field: waited for together.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(d.group) && !IsWindowEnabled(d.name) && !IsWindowEnabled(d.path); }))
        << "group " << IsWindowEnabled(d.group) << ", alias " << IsWindowEnabled(d.name) << ", path "
        << IsWindowEnabled(d.path);
    Click(d.ok);
    ASSERT_TRUE(WaitGone(d.window));
    ASSERT_TRUE(WaitUntil([&] { return Store().count(L"P3") == 1; }));
    values = Store();
    EXPECT_EQ(values[L"N3"], L"*Separator*");
    EXPECT_EQ(values[L"P3"], L"-");
    EXPECT_TRUE(app->Sync());
    EXPECT_EQ(app->RowCount(), 4);
}

TEST_F(ItemDialogTest, EditingASeparatorOpensItCheckedAndWritesTheRowInPlace) {
    SetString(kStore, L"N0", L"*Separator*");
    SetString(kStore, L"P0", L"-");
    app->Command(cmdRefresh);
    EXPECT_TRUE(app->Sync());
    app->SelectRow(0);

    // A double-click on the selected row opens the edit command.
    RECT header{};
    GetWindowRect(FindWindowExW(app->List(), nullptr, L"SysHeader32", nullptr), &header);
    POINT below{header.left + 20, header.bottom + 5};
    ScreenToClient(app->List(), &below);
    DoubleClick(app->List(), below.x, below.y);
    ItemDialog d = ItemDialog::Find(app->Id(), L"Edit Item");
    ASSERT_TRUE(d.Complete());
    EXPECT_TRUE(app->Sync());
    EXPECT_FALSE(IsWindowEnabled(d.group));
    EXPECT_FALSE(IsWindowEnabled(d.name));
    EXPECT_FALSE(IsWindowEnabled(d.path));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(d.window) == d.separator; }, 3000)) << "focus not in d.separator";  // the only tab stop left

    // Unchecking re-enables the fields, which hold the separator's texts.
    Click(d.separator);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(d.group) != FALSE; }));
    EXPECT_TRUE(IsWindowEnabled(d.name));
    EXPECT_EQ(TextOf(d.name), L"*Separator*");
    EXPECT_EQ(TextOf(d.path), L"-");

    SetText(d.name, L"System");
    SetText(d.path, L"C:\\windows\\system32");
    Click(d.ok);
    ASSERT_TRUE(WaitGone(d.window));
    ASSERT_TRUE(WaitUntil([&] { return Store()[L"N0"] == L"System"; }));
    auto values = Store();
    EXPECT_EQ(values[L"P0"], L"C:\\windows\\system32");
    EXPECT_EQ(values[L"N1"], L"Root");
    EXPECT_EQ(values.count(L"N2"), 0u);
    EXPECT_TRUE(app->Sync());
    EXPECT_EQ(app->RowCount(), 2);
    EXPECT_EQ(app->SelectedRow(), 0);

    // Cancel and the title bar's close box change nothing.
    d = Open(cmdEdit, L"Edit Item");
    ASSERT_TRUE(d.Complete());
    EXPECT_EQ(TextOf(d.name), L"System");
    SetText(d.name, L"Changed");
    Click(d.cancel);
    ASSERT_TRUE(WaitGone(d.window));
    d = Open(cmdEdit, L"Edit Item");
    ASSERT_TRUE(d.Complete());
    SetText(d.name, L"Changed");
    PostMessageW(d.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(d.window));
    EXPECT_TRUE(app->Sync());
    EXPECT_EQ(Store()[L"N0"], L"System");
}

TEST_F(ItemDialogTest, TheFolderPickerIsCentredAndHoldsTheProgramUntilCancelled) {
    ItemDialog d = Open(cmdAddFolder, L"Add Item");
    ASSERT_TRUE(d.Complete());
    SetText(d.name, L"typed");
    ASSERT_EQ(TextOf(d.name), L"typed");
    // The "..." button has no window of its own: it lives in the group box.
    Click(d.group, 257 + 11, 61 + 11);
    HWND picker = nullptr;
    WaitUntil([&] {
        picker = FindDialogOf(app->Id(), L"", 200);
        return picker && picker != d.window;
    });
    ASSERT_NE(picker, nullptr);
    EXPECT_NE(ChildWithText(picker, L"Please select the directory to add Pathnook"), nullptr);
    RECT client{}, outer{};
    GetClientRect(picker, &client);
    GetWindowRect(picker, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - client.right) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 2);
    EXPECT_FALSE(IsWindowEnabled(app->Window()));
    EXPECT_FALSE(IsWindowEnabled(d.window));

    PressButton(picker, IDCANCEL);
    ASSERT_TRUE(WaitGone(picker));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(d.window) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(app->Window()));  // still behind the item dialog
    // Asked until the dialog answers: a loaded machine may take a while.
    EXPECT_TRUE(WaitUntil([&] { return TextOf(d.name) == L"typed"; })) << win::Narrow(TextOf(d.name));
    EXPECT_EQ(TextOf(d.path), L"");
    Click(d.cancel);
    ASSERT_TRUE(WaitGone(d.window));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app->Window()) != FALSE; }));
}
