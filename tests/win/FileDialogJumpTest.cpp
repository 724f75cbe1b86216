// Sending a file dialog to a folder: only to an existing folder, only a
// dialog whose OK moves it, and whatever the dialog does, the name typed
// in it comes back with its selection.
#include <windows.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <thread>

#include "support/FileDialogThread.h"
#include "support/TestSupport.h"
#include "win/Error.h"
#include "win/FileDialogJump.h"

using namespace testing_support;
using win::JumpResult;

namespace {
bool SamePath(std::wstring a, std::wstring b) {
    while (a.size() > 3 && a.back() == L'\\') a.pop_back();
    while (b.size() > 3 && b.back() == L'\\') b.pop_back();
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

DWORD SelectionOf(HWND edit) { return (DWORD)SendMessageW(edit, EM_GETSEL, 0, 0); }

struct Folders {
    TempDir dir;
    std::wstring start = dir.File(L"start"), target = dir.File(L"target Ω");
    Folders() {
        CreateDirectoryW(start.c_str(), nullptr);
        CreateDirectoryW(target.c_str(), nullptr);
    }
};
}  // namespace

TEST(FileDialogJump, TheTypedNameComesBackWhateverTheDialogDoes) {
    struct Row {
        OkBehaviour ok;
        const char* what;
        JumpResult result;
        bool moves;
    } rows[] = {
        {OkBehaviour::Normal, "moves at once", JumpResult::Moved, true},
        {OkBehaviour::OwnBox, "shows a box of its own", JumpResult::Moved, true},
        {OkBehaviour::Slow, "answers late", JumpResult::Moved, true},
        {OkBehaviour::Refuse, "refuses", JumpResult::Moved, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Folders f;
        std::wstring title = L"Jump " + win::Widen(r.what);
        FileDialogThread thread(DialogKind::Open, title, f.start, r.ok);
        HWND dialog = thread.Dialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return SamePath(DialogFolder(dialog), f.start); }));
        win::FileDialogParts parts = win::FindFileDialog(dialog);
        ASSERT_TRUE(parts);
        SendMessageW(parts.NameEdit, WM_SETTEXT, 0, (LPARAM)L"half typed");
        SendMessageW(parts.NameEdit, EM_SETSEL, 2, 6);
        thread.Arm();

        JumpResult result = JumpResult::Closed;
        std::atomic<bool> finished{false};
        DWORD start = GetTickCount();
        std::thread jump([&] {
            result = win::SendFileDialogTo(parts, f.target, 300, 10000);
            finished = true;
        });
        if (r.ok == OkBehaviour::OwnBox) {
            HWND box = FindOwnWindow(L"#32770", L"Other program");
            ASSERT_NE(box, nullptr) << "the dialog showed no box";
            // Back already while the dialog's box is up.
            EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(parts.NameEdit) == L"half typed"; }));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        ASSERT_TRUE(WaitUntil([&] { return finished.load(); }, 15000));
        jump.join();
        EXPECT_EQ(result, r.result);
        if (r.ok == OkBehaviour::Slow) EXPECT_GE(GetTickCount() - start, 1000u) << "the move was not slow";
        EXPECT_EQ(SamePath(DialogFolder(dialog), f.target), r.moves) << win::Narrow(DialogFolder(dialog));
        HWND edit = win::FindFileDialog(dialog).NameEdit;
        EXPECT_EQ(WindowTextOf(edit), L"half typed");
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(thread.ThreadId()) == edit; }));
        EXPECT_TRUE(WaitUntil([&] { return SelectionOf(edit) == MAKELONG(2, 6); })) << std::hex << SelectionOf(edit);
        EXPECT_FALSE(thread.Done()) << "the dialog closed";
    }
}

TEST(FileDialogJump, ADialogThatClosesOnOkIsLeftToClose) {
    Folders f;
    FileDialogThread thread(DialogKind::Open, L"Jump closes", f.start, OkBehaviour::Close);
    HWND dialog = thread.Dialog();
    ASSERT_NE(dialog, nullptr);
    win::FileDialogParts parts = win::FindFileDialog(dialog);
    ASSERT_TRUE(parts);
    SendMessageW(parts.NameEdit, WM_SETTEXT, 0, (LPARAM)L"kept");
    thread.Arm();
    JumpResult result = JumpResult::NoAnswer;
    std::thread jump([&] { result = win::SendFileDialogTo(parts, f.target, 300, 10000); });
    ASSERT_TRUE(WaitUntil([&] { return thread.Done(); }));
    jump.join();
    EXPECT_NE(result, JumpResult::NoAnswer);
    EXPECT_FALSE(thread.Result()) << "the dialog chose " << win::Narrow(thread.Chosen());
}

TEST(FileDialogJump, GoesOnlyToAnExistingFolderAndTouchesNothingElse) {
    Folders f;
    std::wstring file = f.dir.File(L"report.txt");
    WriteFileText(file, "x");
    FileDialogThread thread(DialogKind::Open, L"Jump refused", f.start);
    HWND dialog = thread.Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SamePath(DialogFolder(dialog), f.start); }));
    win::FileDialogParts parts = win::FindFileDialog(dialog);
    ASSERT_TRUE(parts);
    SendMessageW(parts.NameEdit, WM_SETTEXT, 0, (LPARAM)L"mine");
    for (const std::wstring& path : {file, f.dir.File(L"missing"), std::wstring(L"http://127.0.0.1/")}) {
        JumpResult result = JumpResult::Moved;
        std::thread([&] { result = win::SendFileDialogTo(parts, path, 300, 1000); }).join();
        EXPECT_EQ(result, JumpResult::NotAFolder) << win::Narrow(path);
    }
    EXPECT_EQ(WindowTextOf(parts.NameEdit), L"mine");
    EXPECT_TRUE(SamePath(DialogFolder(dialog), f.start));
    EXPECT_FALSE(thread.Done());
}

TEST(FileDialogJump, AFolderPickerIsNotTakenForAFileDialog) {
    Folders f;
    // The new-style dialog with file types moves on OK, like the old one.
    {
        FileDialogThread files(DialogKind::ItemOpen, L"Item files", f.start);
        HWND dialog = files.Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(win::FindFileDialog(dialog)) << "a new-style open dialog was not recognised";
    }
    // Picking folders, the same dialog takes a folder typed in for good:
    // it shows no file types, and is left alone.
    FileDialogThread picker(DialogKind::ItemFolders, L"Item folders", f.start);
    HWND dialog = picker.Dialog();
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, edt1);
    ASSERT_NE(edit, nullptr) << "the picker's name box moved";
    EXPECT_FALSE(win::FindFileDialog(dialog));
    EXPECT_FALSE(win::FindFileDialog(edit));
    EXPECT_FALSE(picker.Done());
}
