#include <gtest/gtest.h>

#include "xpmenu/XPTestForms.h"
#include "win/Application.h"
#include "xpmenu/XPMenu.h"
#include "xpmenu/XPMenuManager.h"

using namespace xpmenu;

namespace {
LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND MakePopup() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"XPMenuFramePopup";
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 20, 600, 120, 90, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    return w;
}

int CountWaitingFrameMessages(HWND app) {
    int n = 0;
    MSG msg;
    while (PeekMessageW(&msg, app, WM_PAINTFRAME_ITEM, WM_PAINTFRAME_WINDOW, PM_REMOVE)) ++n;
    return n;
}
}  // namespace

TEST(XPFlatFrame, APopupGetsAFlatFrameWithAShadowAndLosesItWhenHidden) {
    win::Sealed<xptest::TestForm> form;
    TXPMenu xp(form);
    xp.SetActive(true);
    HWND w = MakePopup();
    LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
    EXPECT_FALSE(HasFlatFrame(w));
    PaintFlatFrame(&xp, w, false);
    // Hooked by subclassing: the window's own data stays untouched.
    EXPECT_TRUE(HasFlatFrame(w));
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_USERDATA), 0);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 119, 0));   // the shadow leaves the corners out
    EXPECT_TRUE(PtInRegion(rgn, 119, 50));
    DeleteObject(rgn);
    PaintFlatFrame(&xp, w, false);  // the region is there now: painted again
    HDC dc = GetWindowDC(w);
    const TPaintColors& c = xp.PaintColors();
    EXPECT_EQ(GetPixel(dc, 50, 0), c.FrameOuter);
    EXPECT_EQ(GetPixel(dc, 0, 50), c.FrameOuter);
    EXPECT_EQ(GetPixel(dc, 117, 50), c.FrameOuter);
    EXPECT_EQ(GetPixel(dc, 119, 50), c.FrameShadow);
    EXPECT_EQ(GetPixel(dc, 50, 89), c.FrameShadow);
    EXPECT_EQ(GetPixel(dc, 1, 50), c.IconColumn);
    ReleaseDC(w, dc);

    ShowWindow(w, SW_HIDE);
    EXPECT_FALSE(HasFlatFrame(w));
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
    rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, rgn), ERROR);
    DeleteObject(rgn);
    DestroyWindow(w);
}

TEST(XPFlatFrame, AFlatMenuItemAsksForItsFrameOnceAtATime) {
    win::Sealed<xptest::TestForm> form;
    auto& file = form.Menu().Root.Add(L"&File");
    auto& item = file.Add(L"Item");
    form.AttachMenu();
    TXPMenu xp(form);
    xp.SetActive(true);
    HWND app = TXPMenuManager::Instance()->AppWindow();
    ASSERT_NE(app, nullptr);
    CountWaitingFrameMessages(app);
    win::Bitmap s(200, 30, xptest::kUnpainted);
    xp.PaintMenuItem(item, s.DC(), {4, 0, 150, 20}, false);
    EXPECT_EQ(CountWaitingFrameMessages(app), 0);  // only with FlatMenu
    xp.FlatMenu = true;
    xp.PaintMenuItem(item, s.DC(), {4, 0, 150, 20}, false);
    xp.PaintMenuItem(item, s.DC(), {4, 0, 150, 20}, true);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, app, WM_PAINTFRAME_ITEM, WM_PAINTFRAME_WINDOW, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_PAINTFRAME_ITEM);  // a memory surface has no window
    // The item by its place in its menu, not by its address.
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, (LPARAM)item.Owner);
    EXPECT_EQ(CountWaitingFrameMessages(app), 1);
    // With FlatMenu the selection box stops one column short of the right edge.
    EXPECT_EQ(s.Pixel(148, 5), xp.PaintColors().SelectBorder);
    EXPECT_EQ(s.Pixel(149, 5), xp.PaintColors().Background);
}

// A frame request still queued when its item and menu go finds nothing to
// paint instead of reading the freed item.
TEST(XPFlatFrame, AFrameRequestOutlivesItsItem) {
    win::Sealed<xptest::TestForm> form;
    auto& file = form.Menu().Root.Add(L"&File");
    file.Add(L"Item");
    form.AttachMenu();
    TXPMenu xp(form);
    xp.SetActive(true);
    xp.FlatMenu = true;
    HWND app = TXPMenuManager::Instance()->AppWindow();
    CountWaitingFrameMessages(app);
    win::Bitmap s(200, 30, xptest::kUnpainted);
    xp.PaintMenuItem(*file.Items[0], s.DC(), {4, 0, 150, 20}, false);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, app, WM_PAINTFRAME_ITEM, WM_PAINTFRAME_ITEM, PM_NOREMOVE));
    HMENU owner = file.Items[0]->Owner;
    // The item goes, and its menu with the rebuild.
    file.Items.clear();
    form.AttachMenu();
    ASSERT_FALSE(IsMenu(owner));
    int painted = 0;
    win::Application::Instance().ProcessMessages();
    EXPECT_EQ(CountWaitingFrameMessages(app), 0);
    // Nothing was framed: no window took the frame hook.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            if (HasFlatFrame(w)) ++*reinterpret_cast<int*>(lp);
            return TRUE;
        },
        (LPARAM)&painted);
    EXPECT_EQ(painted, 0);
}
