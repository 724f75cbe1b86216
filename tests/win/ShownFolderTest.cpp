// The folder another window shows: file dialogs of each kind, in another
// thread and in another program, and the shell's folder windows.
#include <windows.h>
#include <gtest/gtest.h>

#include "support/FileDialogHost.h"
#include "support/TestSupport.h"
#include "win/FileDialogJump.h"
#include "win/Error.h"
#include "win/ShownFolder.h"

using namespace testing_support;

namespace {
std::wstring MakeFolder(const TempDir& dir, const std::wstring& name) {
    std::wstring path = dir.File(name);
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

// The temporary folder as the file system spells it, without the slash.
std::wstring Exact(const std::wstring& path) {
    std::wstring p = path;
    if (p.size() > 3 && p.back() == L'\\') p.pop_back();
    return win::ExactCasePath(p);
}

// Ctrl+O, given inside Windows to the window in front.
void PressCtrlO() {
    INPUT in[4] = {};
    WORD keys[4] = {VK_CONTROL, 'O', 'O', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
}
}  // namespace

TEST(ExactCasePath, SpellsEachPartAsStoredAndRefusesWhatIsMissing) {
    TempDir dir;
    std::wstring outer = MakeFolder(dir, L"Mixed Case Ω"), inner = outer + L"\\Inner";
    CreateDirectoryW(inner.c_str(), nullptr);
    std::wstring exact = Exact(dir.Path()) + L"\\Mixed Case Ω\\Inner";
    ASSERT_EQ(win::ExactCasePath(inner), exact);
    std::wstring lower = inner;
    CharLowerW(lower.data());
    ASSERT_NE(lower, exact) << "the check below would prove nothing";
    EXPECT_EQ(win::ExactCasePath(lower), exact);
    EXPECT_EQ(win::ExactCasePath(lower + L"\\"), exact);
    EXPECT_EQ(win::ExactCasePath(L"c:\\"), L"C:\\");
    EXPECT_EQ(win::ExactCasePath(outer + L"\\missing"), L"");
    EXPECT_EQ(win::ExactCasePath(outer + L"\\*"), L"");
    EXPECT_EQ(win::ExactCasePath(L"relative\\path"), L"");
}

// Explorer-style and oldest dialogs of another thread; they follow the
// user's moves. The oldest one shows its folder lower-cased, the answer is
// spelt as stored.
TEST(FolderShownIn, FileDialogsOfBothLooksTellTheirCurrentFolder) {
    TempDir dir;
    std::wstring start = MakeFolder(dir, L"Start Ω"), next = MakeFolder(dir, L"Next");
    for (DialogKind kind : {DialogKind::Explorer, DialogKind::Oldest}) {
        SCOPED_TRACE(kind == DialogKind::Explorer ? "explorer-style" : "oldest");
        FileDialogHost host(kind, L"Shown Folder Test", start);
        HWND dialog = host.Dialog();
        ASSERT_NE(dialog, nullptr);
        win::FileDialogParts parts = win::FindFileDialog(dialog);
        ASSERT_TRUE(parts) << "not taken for a file dialog";
        std::wstring shown;
        EXPECT_TRUE(WaitUntil([&] { return (shown = win::FolderShownIn(parts.NameEdit)) == Exact(start); }))
            << win::Narrow(shown);
        ASSERT_EQ(win::SendFileDialogTo(parts, next), win::JumpResult::Moved);
        EXPECT_TRUE(WaitUntil([&] { return (shown = win::FolderShownIn(dialog)) == Exact(next); }))
            << win::Narrow(shown);
    }
}

// The dialog of IFileOpenDialog answers no question about its folder under
// Wine and has no text that names it: nothing rather than a guess.
TEST(FolderShownIn, AnItemDialogThatTellsNothingGivesNothing) {
    TempDir dir;
    std::wstring start = MakeFolder(dir, L"Start");
    FileDialogHost host(DialogKind::ItemDialog, L"Shown Folder Item Test", start);
    HWND dialog = host.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(win::FolderShownIn(dialog), L"");
}

// Notepad's own Open dialog, in its process: the answer comes through
// memory of that process.
TEST(FolderShownIn, AnotherProgramsDialogIsReadInItsOwnMemory) {
    TempDir dir;
    std::wstring target = MakeFolder(dir, L"Target Ω");
    OtherProgram notepad(L"notepad.exe");
    HWND main = notepad.Window(L"Notepad");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(win::FolderShownIn(main), L"") << "Notepad itself shows no folder";
    // What this test reads is the dialog, not the way the keyboard reaches
    // it: the key is given inside Windows, where the X focus does not matter.
    HWND dialog = nullptr;
    for (int i = 0; i < 5 && !dialog; ++i) {
        ASSERT_TRUE(BringToFront(main));
        PressCtrlO();
        dialog = notepad.Window(L"#32770", 3000);
    }
    ASSERT_NE(dialog, nullptr) << "Ctrl+O opened no dialog";
    win::FileDialogParts parts = win::FindFileDialog(dialog);
    ASSERT_TRUE(parts);
    ASSERT_EQ(win::SendFileDialogTo(parts, target), win::JumpResult::Moved);
    std::wstring shown;
    EXPECT_TRUE(WaitUntil([&] { return (shown = win::FolderShownIn(dialog)) == Exact(target); })) << win::Narrow(shown);
}

TEST(FolderShownIn, AShellFolderWindowTellsItsFolderAndADriveItsRoot) {
    TempDir dir;
    std::wstring folder = MakeFolder(dir, L"Shown By Explorer");
    OtherProgram explorer(L"explorer.exe \"" + folder + L"\"");
    HWND window = explorer.Window(L"ExplorerWClass");
    ASSERT_NE(window, nullptr) << "no folder window";
    std::wstring shown;
    EXPECT_TRUE(WaitUntil([&] { return (shown = win::FolderShownIn(window)) == Exact(folder); })) << win::Narrow(shown);

    OtherProgram root(L"explorer.exe C:\\");
    window = root.Window(L"ExplorerWClass");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return (shown = win::FolderShownIn(window)) == L"C:\\"; })) << win::Narrow(shown);
}

TEST(FolderShownIn, WindowsThatShowNoFolderGiveNothing) {
    // A dialog with a name box and an OK button but no folder view.
    HWND dialog = CreateWindowExW(0, L"#32770", L"Options", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", L"C:\\windows", WS_CHILD | WS_VISIBLE, 10, 10, 200, 22, dialog,
                                (HMENU)(UINT_PTR)0x480, nullptr, nullptr);
    CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 10, 80, 80, 24, dialog, (HMENU)IDOK, nullptr, nullptr);
    EXPECT_EQ(win::FolderShownIn(edit), L"");
    DestroyWindow(dialog);
    EXPECT_EQ(win::FolderShownIn(nullptr), L"");
}
