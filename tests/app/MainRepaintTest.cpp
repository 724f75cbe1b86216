// What the main window shows after the user resizes, maximises, restores
// and scrolls it is what a full repaint shows: no stale or doubled rows.
#include <gtest/gtest.h>

#include <vector>

#include "app/MainFormFixture.h"
#include "support/TestSupport.h"
#include "win/Application.h"

using namespace testing_support;

namespace {
class MainRepaintTest : public MainFormFixture {
protected:
    void FillStore() override { SeedStore(300); }

    void Settle() {
        // Painting is done when no window of this thread waits for it.
        WaitUntil([&] {
            win::Application::Instance().ProcessMessages();
            return !GetUpdateRect(form->Handle(), nullptr, FALSE) &&
                   !GetUpdateRect(form->lvMain.Handle(), nullptr, FALSE);
        });
    }
    // The pixels of the window's client area as they are on screen.
    std::vector<COLORREF> Pixels() {
        RECT r = form->ClientRect();
        HDC dc = GetDC(form->Handle());
        std::vector<COLORREF> out;
        for (int y = 0; y < r.bottom; y += 1)
            for (int x = 0; x < r.right; x += 3) out.push_back(GetPixel(dc, x, y));
        ReleaseDC(form->Handle(), dc);
        return out;
    }
    // What the window looks like when everything is painted afresh.
    std::vector<COLORREF> Repainted() {
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Settle();
        return Pixels();
    }
    void ExpectLooksAsRepainted(const char* after) {
        Settle();
        std::vector<COLORREF> shown = Pixels();
        std::vector<COLORREF> fresh = Repainted();
        ASSERT_EQ(shown.size(), fresh.size());
        size_t differ = 0;
        for (size_t i = 0; i < shown.size(); ++i) differ += shown[i] != fresh[i];
        EXPECT_EQ(differ, 0u) << "pixels left stale after " << after;
    }
};
}  // namespace

TEST_F(MainRepaintTest, ResizingMaximisingAndScrollingLeaveNothingStale) {
    HWND w = form->Handle();
    SetWindowPos(w, nullptr, 10, 10, 600, 400, SWP_NOZORDER);
    form->lvMain.Select(299);  // growing a list scrolled to its end scrolls it back
    Settle();
    // A drag of the frame, inwards then outwards: each size is handled
    // before the next comes.
    for (int i = 0; i < 30; ++i) {
        SetWindowPos(w, nullptr, 0, 0, 600 - 5 * i, 400 - 6 * i, SWP_NOMOVE | SWP_NOZORDER);
        win::Application::Instance().ProcessMessages();
    }
    ExpectLooksAsRepainted("shrinking");
    for (int i = 0; i < 30; ++i) {
        SetWindowPos(w, nullptr, 0, 0, 450 + 7 * i, 220 + 11 * i, SWP_NOMOVE | SWP_NOZORDER);
        win::Application::Instance().ProcessMessages();
    }
    ExpectLooksAsRepainted("growing");
    ShowWindow(w, SW_MAXIMIZE);
    ExpectLooksAsRepainted("maximising");
    ShowWindow(w, SW_RESTORE);
    ExpectLooksAsRepainted("restoring");
    SendMessageW(form->lvMain.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageW(form->lvMain.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    ExpectLooksAsRepainted("scrolling");
}

// The header has the two columns and, beyond them, one plain area with
// nothing in it that looks like a third.
TEST_F(MainRepaintTest, TheHeaderShowsTwoColumnsAndOnePlainAreaBeyond) {
    HWND w = form->Handle();
    for (int cx : {500, 900, 620, 1000}) {
        SetWindowPos(w, nullptr, 10, 10, cx, 400, SWP_NOZORDER);
        win::Application::Instance().ProcessMessages();
    }
    Settle();
    HWND header = ListView_GetHeader(form->lvMain.Handle());
    ASSERT_EQ(Header_GetItemCount(header), 2);
    RECT last{}, client{};
    Header_GetItemRect(header, 1, &last);
    GetClientRect(header, &client);
    ASSERT_LT(last.right + 20, client.right) << "the test needs room beyond the last column";
    HDC dc = GetDC(header);
    COLORREF plain = GetPixel(dc, (last.right + client.right) / 2, client.bottom / 2);
    int marks = 0;
    for (int y = 1; y < client.bottom - 2; ++y)
        for (int x = last.right + 2; x < client.right - 3; ++x) marks += GetPixel(dc, x, y) != plain;
    ReleaseDC(header, dc);
    EXPECT_EQ(marks, 0);
}
