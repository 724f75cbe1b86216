#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "FlatTest.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatSpeedButtonUnit.h"
#include "support/TestSupport.h"
#include "win/Notify.h"
#include "win/StdControls.h"

using namespace flat;
using flattest::Click;
using flattest::MoveTo;
using flattest::TestForm;

TEST(FlatButton, ReleaseInsideClicksOutsideDoesNot) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"&OK");
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    HWND h = b.Handle();

    Click(h, 30, 12);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.State(), ButtonState::Up);
    EXPECT_FALSE(b.Tracking());

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 12));
    EXPECT_EQ(b.State(), ButtonState::Pressed);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 12));  // dragged off: pops up
    EXPECT_EQ(b.State(), ButtonState::Up);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 12));  // back on: sinks again
    EXPECT_EQ(b.State(), ButtonState::Pressed);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(200, 12));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.State(), ButtonState::Up);

    // The bottom edge (y = height) counts as inside, the right edge (x = width) not.
    Click(h, 30, 25);
    EXPECT_EQ(clicks, 2);
    Click(h, 65, 12);
    EXPECT_EQ(clicks, 2);
    // Other mouse buttons do not press it.
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 12));
    SendMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(30, 12));
    EXPECT_EQ(clicks, 2);
}

TEST(FlatButton, SpaceShowsPressedAndClicksOnRelease) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"Go");
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    SendMessageW(b.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(b.State(), ButtonState::Pressed);
    EXPECT_EQ(clicks, 0);
    SendMessageW(b.Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(b.State(), ButtonState::Up);
    EXPECT_EQ(clicks, 1);
    SendMessageW(b.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(b.Handle(), WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(clicks, 1);
}

TEST(FlatButton, AcceleratorClicksUnlessDisabled) {
    win::Sealed<TestForm> form;
    TFlatButton ok, cancel;
    ok.Create(form.Handle(), 10, 10, 65, 25, L"&OK");
    cancel.Create(form.Handle(), 90, 10, 65, 25, L"&Cancel");
    int okClicks = 0, cancelClicks = 0;
    ok.OnClick = [&] { ++okClicks; };
    cancel.OnClick = [&] { ++cancelClicks; };
    form.ShowActive();
    SetFocus(cancel.Handle());
    // Alt+O as it arrives from the keyboard.
    PostMessageW(cancel.Handle(), WM_SYSCHAR, 'o', 0x20000000);
    TestForm::Pump();
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(cancelClicks, 0);
    ok.SetEnabled(false);
    PostMessageW(cancel.Handle(), WM_SYSCHAR, 'O', 0x20000000);
    TestForm::Pump();
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(SendMessageW(ok.Handle(), win::CM_DIALOGCHAR, 'o', 0), 0);
    EXPECT_EQ(SendMessageW(cancel.Handle(), win::CM_DIALOGCHAR, 'c', 0), 1);
    EXPECT_EQ(cancelClicks, 1);
}

TEST(FlatButton, GroupedButtonsReleaseEachOtherAndShareAllowAllUp) {
    win::Sealed<TestForm> form;
    TFlatButton a, b;
    a.Create(form.Handle(), 10, 10, 40, 25, L"A");
    b.Create(form.Handle(), 60, 10, 40, 25, L"B");
    a.SetDown(true);
    EXPECT_FALSE(a.Down());  // no group: never down
    a.SetGroupIndex(1);
    b.SetGroupIndex(1);

    Click(a.Handle(), 10, 10);
    EXPECT_TRUE(a.Down());
    EXPECT_EQ(a.State(), ButtonState::Latched);
    Click(a.Handle(), 10, 10);  // AllowAllUp false: stays latched
    EXPECT_TRUE(a.Down());
    a.SetDown(false);
    EXPECT_TRUE(a.Down());

    Click(b.Handle(), 10, 10);
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(a.State(), ButtonState::Up);

    b.SetAllowAllUp(true);
    EXPECT_TRUE(a.AllowAllUp());
    Click(b.Handle(), 10, 10);  // now it pops up
    EXPECT_FALSE(b.Down());
    a.SetDown(true);
    EXPECT_TRUE(a.Down());
    a.SetDown(false);
    EXPECT_FALSE(a.Down());

    // Space on a grouped button latches it; a double click on a latched one reports it.
    int dbl = 0;
    b.OnDblClick = [&] { ++dbl; };
    SendMessageW(a.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(a.Down());
    SendMessageW(b.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(dbl, 0);  // b was not down when the second click came
}

TEST(FlatButton, ModalResultClosesTheModalForm) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"Cancel");
    b.ModalResult = 2;
    static HWND target;
    target = b.Handle();
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    });
    EXPECT_EQ(form.ShowModal(), 2);
}

TEST(FlatButton, FocusLooksHotAndNoFocusRectangle) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"Go");
    form.ShowActive();
    b.SetFocus();
    EXPECT_TRUE(b.Hovered);
    SetFocus(form.Handle());
    EXPECT_FALSE(b.Hovered);
}

TEST(FlatButton, DisablingClearsTheHotLook) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"Go");
    form.ShowActive();
    MoveTo(b.Handle(), 10, 10);
    ASSERT_TRUE(b.Hovered);
    EXPECT_TRUE(TFlatButton::Tracker().TimerRunning());
    b.SetEnabled(false);
    EXPECT_FALSE(b.Hovered);
    EXPECT_EQ(b.State(), ButtonState::Disabled);
    EXPECT_FALSE(TFlatButton::Tracker().TimerRunning());
    b.SetEnabled(true);
    auto shot = flattest::Render(b.Handle());  // the next paint brings it back up
    EXPECT_EQ(b.State(), ButtonState::Up);
}

// ---- hover tracking ----

// The timer runs only while a button is hot; a hot button that goes takes
// it along, so no tick reaches a freed button.
TEST(HoverTracking, AHotButtonThatGoesStopsTheTimer) {
    HoverTracker& t = TFlatButton::Tracker();
    win::Sealed<TestForm> form;
    auto a = std::make_unique<TFlatButton>();
    a->Create(form.Handle(), 10, 10, 65, 25, L"A");
    form.ShowActive();
    SetFocus(form.Handle());
    ASSERT_TRUE(flattest::PointerTo(flattest::ScreenPoint(form.Handle(), 5, 150)));
    EXPECT_TRUE(testing_support::WaitUntil([&] { return !t.TimerRunning(); }, 2000));  // nothing hot
    MoveTo(a->Handle(), 20, 10);
    ASSERT_TRUE(a->Hovered);
    ASSERT_TRUE(t.TimerRunning());
    const int ticks = t.Ticks();
    ASSERT_TRUE(testing_support::WaitUntil([&] { return t.Ticks() > ticks; }, 3000));  // it runs
    a.reset();
    EXPECT_FALSE(t.TimerRunning());
    EXPECT_EQ(t.Current(), nullptr);
}

TEST(HoverTracking, MovingOntoAnotherButtonEndsTheFirstAtOnce) {
    win::Sealed<TestForm> form;
    TFlatButton a, b;
    a.Create(form.Handle(), 10, 10, 65, 25, L"A");
    b.Create(form.Handle(), 90, 10, 65, 25, L"B");
    form.ShowActive();
    SetFocus(form.Handle());
    MoveTo(a.Handle(), 20, 10);
    EXPECT_TRUE(a.Hovered);
    EXPECT_EQ(TFlatButton::Tracker().Current(), &a);
    // The move's message alone ends the first: the pointer itself is still
    // over it, so its timer would not.
    SendMessageW(b.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_FALSE(a.Hovered);
    EXPECT_TRUE(b.Hovered);
    EXPECT_EQ(TFlatButton::Tracker().Current(), &b);

    // The timer notices the pointer leaving.
    MoveTo(b.Handle(), 20, 10);
    ASSERT_TRUE(b.Hovered);
    ASSERT_TRUE(flattest::PointerTo(flattest::ScreenPoint(form.Handle(), 5, 150)));
    EXPECT_TRUE(testing_support::WaitUntil([&] { return !b.Hovered; }, 2000));
    EXPECT_FALSE(TFlatButton::Tracker().TimerRunning());
}

TEST(HoverTracking, HeldButtonStaysHotAfterThePointerLeaves) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"A");
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    form.ShowActive();
    MoveTo(b.Handle(), 20, 10);
    SendMessageW(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ASSERT_TRUE(flattest::PointerTo(flattest::ScreenPoint(form.Handle(), 5, 150)));
    SendMessageW(b.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 140));
    // The timer that would end the hover has run, several times.
    const int ticks = TFlatButton::Tracker().Ticks();
    ASSERT_TRUE(testing_support::WaitUntil([&] { return TFlatButton::Tracker().Ticks() >= ticks + 3; }, 3000));
    EXPECT_TRUE(b.Hovered);
    EXPECT_EQ(b.State(), ButtonState::Up);
    SendMessageW(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-5, 140));
    EXPECT_FALSE(b.Hovered);
    EXPECT_EQ(clicks, 0);
}

namespace {
// A window of another thread made the foreground one: this application is
// then not the active one.
class OtherApplication {
public:
    OtherApplication() {
        thread_ = std::thread([this] {
            threadId_ = GetCurrentThreadId();
            hwnd_ = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            ready_ = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(hwnd_);
        });
        testing_support::WaitUntil([this] { return (bool)ready_; }, 5000);
        SetForegroundWindow(hwnd_);
        testing_support::WaitUntil([] { return GetActiveWindow() == nullptr; }, 2000);
        TestForm::Pump();
    }
    ~OtherApplication() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

private:
    std::thread thread_;
    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
    volatile bool ready_ = false;
};
}  // namespace

TEST(HoverTracking, NoHotLookWhileTheApplicationIsNotActive) {
    win::Sealed<TestForm> form;
    TFlatButton b;
    b.Create(form.Handle(), 10, 10, 65, 25, L"A");
    form.ShowActive();
    OtherApplication other;
    ASSERT_EQ(GetActiveWindow(), nullptr);
    MoveTo(b.Handle(), 20, 10);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    EXPECT_FALSE(b.Hovered);
    EXPECT_FALSE(TFlatButton::Tracker().TimerRunning());
    // The same move lights it once the application is active again.
    SetForegroundWindow(form.Handle());
    ASSERT_TRUE(testing_support::WaitUntil([&] { return GetActiveWindow() == form.Handle(); }, 2000));
    MoveTo(b.Handle(), 20, 10);
    EXPECT_TRUE(b.Hovered);
}

// ---- speed button ----

TEST(FlatSpeedButton, ClickingLeavesTheFocusWhereItWas) {
    win::Sealed<TestForm> form;
    TFlatButton focused;
    focused.Create(form.Handle(), 10, 10, 65, 25, L"x");
    TFlatSpeedButton sb;
    sb.Create(form.Handle(), 100, 10, 22, 22, L"...");
    int clicks = 0;
    sb.OnClick = [&] { ++clicks; };
    form.ShowActive();
    focused.SetFocus();
    // Through the form, as the pointer's messages arrive.
    Click(form.Handle(), 105, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetFocus(), focused.Handle());
    EXPECT_EQ(GetCapture(), nullptr);
    // Released outside: no click.
    SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(105, 15));
    EXPECT_EQ(sb.State(), ButtonState::Pressed);
    EXPECT_EQ(GetCapture(), form.Handle());
    SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 150));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sb.State(), ButtonState::Up);
}

TEST(FlatSpeedButton, AcceleratorClicksWithoutLatchingAndGroupsStaySeparate) {
    win::Sealed<TestForm> form;
    TFlatSpeedButton a, b;
    a.Create(form.Handle(), 10, 10, 40, 22, L"&Browse");
    b.Create(form.Handle(), 60, 10, 40, 22, L"B");
    TFlatButton windowed;
    windowed.Create(form.Handle(), 110, 10, 40, 22, L"W");
    a.SetGroupIndex(3);
    b.SetGroupIndex(3);
    windowed.SetGroupIndex(3);
    int clicks = 0;
    a.OnClick = [&] { ++clicks; };
    EXPECT_TRUE(form.DialogChar('b'));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(a.Down());

    Click(form.Handle(), 15, 15);
    EXPECT_TRUE(a.Down());
    Click(windowed.Handle(), 5, 5);  // another class: a stays down
    EXPECT_TRUE(windowed.Down());
    EXPECT_TRUE(a.Down());
    Click(form.Handle(), 65, 15);
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
}

TEST(FlatSpeedButton, HostedByAGroupBoxAndHotBesideAFlatButton) {
    win::Sealed<TestForm> form;
    win::GroupBox box;
    box.Create(form.Handle(), L"Group", 10, 10, 200, 100);
    TFlatSpeedButton sb, sb2;
    sb.Create(box.Handle(), 20, 30, 22, 22, L"...");
    sb2.Create(box.Handle(), 60, 30, 22, 22, L"..");
    TFlatButton fb;
    fb.Create(form.Handle(), 220, 10, 65, 25, L"OK");
    int clicks = 0;
    sb.OnClick = [&] { ++clicks; };
    form.ShowActive();

    POINT p = flattest::ScreenPoint(box.Handle(), 25, 35);
    EXPECT_EQ(win::FindControlAt(p).graphic, &sb);
    Click(box.Handle(), 25, 35);
    EXPECT_EQ(clicks, 1);

    MoveTo(box.Handle(), 25, 35);
    EXPECT_TRUE(sb.Hovered);
    // Different classes: both hot. The pointer stays over the speed button,
    // so no timer ends its hover either.
    SendMessageW(fb.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(fb.Hovered);
    EXPECT_TRUE(sb.Hovered);
    MoveTo(box.Handle(), 65, 35);  // same class: the first one ends
    EXPECT_TRUE(sb2.Hovered);
    EXPECT_FALSE(sb.Hovered);

    // It paints on the box's surface: its border shows there.
    HDC dc = GetDC(box.Handle());
    RedrawWindow(box.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(dc, 20, 40), clFlatBorder);
    ReleaseDC(box.Handle(), dc);
}

TEST(FlatSpeedButton, TransparentAlwaysShowsTheParentSurface) {
    win::Sealed<TestForm> form;
    TFlatSpeedButton sb;
    sb.Create(form.Handle(), 10, 10, 30, 20, L"");
    sb.SetColor(RGB(200, 0, 0));
    auto shot = flattest::RenderHost(form.Handle());
    EXPECT_EQ(shot->Pixel(20, 20), RGB(200, 0, 0));
    sb.SetTransparentMode(tmAlways);
    shot = flattest::RenderHost(form.Handle());
    EXPECT_EQ(shot->Pixel(20, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(shot->Pixel(10, 20), clFlatBorder);
}
