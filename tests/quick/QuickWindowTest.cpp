// The quick menu's window in this process: while a chosen folder takes
// long to answer, its icon and hot key still open menus at once, and the
// folder opens when the answer comes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "QuickTestSupport.h"
#include "quick/QuickWindow.h"
#include "store/StoreNames.h"
#include "support/Watchers.h"
#include "win/Error.h"
#include "win/Form.h"

using namespace testing_support;
using namespace quicktest;

namespace {
// Drives the next menu of this process from another thread: waits for it,
// then types the keys into it.
std::thread DriveMenu(std::initializer_list<WORD> keys, std::atomic<bool>& shown) {
    std::vector<WORD> k(keys);
    return std::thread([k, &shown] {
        HWND menu = FindMenuWindow(GetCurrentProcessId(), 10000);
        if (!menu) return;
        shown = true;
        for (WORD vk : k) {
            PostMessageW(menu, WM_KEYDOWN, vk, 1);
            PostMessageW(menu, WM_KEYUP, vk, 0xC0000001);
        }
    });
}
}  // namespace

TEST(QuickWindow, AnswersItsIconAndHotKeyWhileAFolderTakesLongToOpen) {
    DeleteKeyTree(StoreKey);
    TempDir dir;
    std::wstring folder = dir.File(L"share");
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteList({{L"Share", folder}});
    SetString(StoreKey, ExploreFolderValue, L"0");
    RecordingShell shell(dir.File(L"record.txt"));
    SlowPath slow(folder, 15000);  // held until released, however slow the machine
    {
        win::Sealed<TfrmQuick> quick;
        // A click on the icon, then Down and Enter choose the folder.
        std::atomic<bool> shown{false};
        std::thread driver = DriveMenu({VK_DOWN, VK_RETURN}, shown);
        PostMessageW(quick.Handle(), WM_QUICK_TRAY, 1, WM_LBUTTONUP);
        ASSERT_TRUE(WaitUntil([&] { return slow.Waiting(); }, 15000)) << "the folder was not asked for";
        driver.join();
        ASSERT_TRUE(shown);

        // Held: the window answers, and the icon and the hot key open menus.
        AnswerTimer timer(quick.Handle());
        for (UINT msg : {WM_QUICK_TRAY, (UINT)WM_HOTKEY}) {
            std::atomic<bool> again{false};
            std::thread escape = DriveMenu({VK_ESCAPE}, again);
            if (msg == WM_HOTKEY) PostMessageW(quick.Handle(), WM_HOTKEY, kHotKeyId, 0);
            else PostMessageW(quick.Handle(), WM_QUICK_TRAY, 1, WM_LBUTTONUP);
            EXPECT_TRUE(WaitUntil([&] { return again.load(); }, 10000));
            escape.join();
            EXPECT_TRUE(WaitUntil([&] { return FindMenuWindow(GetCurrentProcessId(), 0) == nullptr; }));
        }
        EXPECT_TRUE(slow.Waiting()) << "the check was not held all along";
        EXPECT_EQ(quick.OpensDone(), 0u);
        ASSERT_TRUE(WaitUntil([&] { return timer.Sends() >= 10; }));
        EXPECT_LT(timer.Stop(), 200u) << "the window did not answer in time";

        slow.Release();
        std::wstring verb, got;
        ASSERT_TRUE(shell.Wait(verb, got)) << "the folder did not open after the answer";
        EXPECT_EQ(verb, L"open");
        EXPECT_TRUE(SamePath(got, folder));
        EXPECT_TRUE(WaitUntil([&] { return quick.OpensDone() == 1; }));
    }
    DeleteKeyTree(StoreKey);
}

// Items are measured once with each read of the list and the menus take
// those sizes: with and without folder icons, in the whole list and among
// matches, each is exactly what the painter measures for it afresh.
TEST(QuickWindow, ItemsMeasuredWithTheListAreTheSizeThePainterGives) {
    DeleteKeyTree(StoreKey);
    WriteList({{L"Windows Directory", L"C:\\windows"},
               {L"*Separator*", L"-"},
               {L"\u0388\u03b3\u03b3\u03c1\u03b1\u03c6\u03b1 && notes", L"C:\\users"},
               {L"Photographs of the summer " + std::wstring(60, L'o') + L" and the autumn", L"C:\\windows"}});
    for (const wchar_t* picView : {L"0", L"1"}) {
        SetString(StoreKey, PicViewValue, picView);
        win::Sealed<TfrmQuick> quick;
        for (const std::wstring typed : {L"", L"o"}) {
            // The whole list in a menu; the matches in a list of their own.
            win::PopupMenu menu;
            if (typed.empty()) quick.BuildMenu(menu, quick.List().Entries(), POINT{100, 100});
            else quick.BuildFound(menu.Root, quick.List().Entries(), POINT{100, 100}, typed);
            int kept = 0;
            menu.ForEach([&](win::MenuItem& item) {
                if (item.Measured.cx == 0) return;  // left to the menu
                ASSERT_TRUE(item.OnMeasureItem) << "not drawn by the painter";
                const SIZE given = item.Measured;
                int w = 0, h = 0;
                item.OnMeasureItem(item, win::WindowDC(nullptr), w, h);
                EXPECT_EQ(given.cx, w) << win::Narrow(item.Caption) << " PicView=" << win::Narrow(picView);
                EXPECT_EQ(given.cy, h) << win::Narrow(item.Caption);
                ++kept;
            });
            EXPECT_EQ(kept, 3) << "typed \"" << win::Narrow(typed) << "\": not every entry's item kept its size";
        }
    }
    DeleteKeyTree(StoreKey);
}
