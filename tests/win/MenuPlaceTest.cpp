// Where a menu called from the keyboard opens: at the pointer over the
// focused window, else under the focused control or a file dialog's name box.
#include <windows.h>
#include <gtest/gtest.h>

#include "support/FileDialogHost.h"
#include "support/TestSupport.h"
#include "win/FileDialogJump.h"
#include "win/MenuPlace.h"

using namespace testing_support;

TEST(KeyboardMenuPoint, PointerOverTheFocusedWindowElseUnderTheFocusedControl) {
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"#32770", L"Place", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 150, 300,
                                  200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 60, 150, 22, window, nullptr,
                                nullptr, nullptr);
    RECT editRect{};
    GetWindowRect(edit, &editRect);
    RECT windowRect{};
    GetWindowRect(window, &windowRect);

    POINT inside{windowRect.left + 250, windowRect.top + 150};
    ASSERT_EQ(WindowFromPoint(inside) ? GetAncestor(WindowFromPoint(inside), GA_ROOT) : nullptr, window);
    POINT at = win::KeyboardMenuPoint(edit, inside);
    EXPECT_EQ(at.x, inside.x);
    EXPECT_EQ(at.y, inside.y);

    POINT away{windowRect.right + 300, windowRect.bottom + 300};
    at = win::KeyboardMenuPoint(edit, away);
    EXPECT_EQ(at.x, editRect.left);
    EXPECT_EQ(at.y, editRect.bottom);

    at = win::KeyboardMenuPoint(nullptr, away);
    EXPECT_EQ(at.x, away.x);
    DestroyWindow(window);
}

TEST(KeyboardMenuPoint, AFileDialogGetsItUnderItsNameBoxWhereverItsFocus) {
    TempDir dir;
    FileDialogHost host(DialogKind::Explorer, L"Menu Place Test", dir.Path());
    HWND dialog = host.Dialog();
    ASSERT_NE(dialog, nullptr);
    win::FileDialogParts parts = win::FindFileDialog(dialog);
    ASSERT_TRUE(parts);
    RECT box{}, dialogRect{};
    GetWindowRect(parts.NameBox, &box);
    GetWindowRect(dialog, &dialogRect);
    POINT away{dialogRect.right + 50, dialogRect.bottom + 50};
    for (HWND focused : {parts.NameEdit, parts.Ok}) {
        POINT at = win::KeyboardMenuPoint(focused, away);
        EXPECT_EQ(at.x, box.left);
        EXPECT_EQ(at.y, box.bottom);
    }
}
