#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "win/Application.h"
#include "win/Canvas.h"
#include "win/Form.h"
#include "support/TestSupport.h"

namespace flattest {

// A plain dialog-like form for the controls under test; hidden unless shown.
class TestForm : public win::Form {
public:
    explicit TestForm(int w = 320, int h = 200) {
        CreateForm(L"PathnookFlatTestForm", L"Flat test", w, h, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                   nullptr, true);
        DialogKeys = true;
    }
    // Visible and active at a known place on the screen.
    void ShowActive() {
        SetWindowPos(Handle(), HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        SetActiveWindow(Handle());
        Pump();
    }
    static void Pump() { win::Application::Instance().ProcessMessages(); }
};

// The client area as the window paints it into a memory device.
inline std::unique_ptr<win::Bitmap> Render(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    auto bmp = std::make_unique<win::Bitmap>(r.right, r.bottom);
    SendMessageW(hwnd, WM_ERASEBKGND, (WPARAM)bmp->DC(), 0);
    SendMessageW(hwnd, WM_PRINTCLIENT, (WPARAM)bmp->DC(), PRF_CLIENT | PRF_ERASEBKGND);
    return bmp;
}

// A host window (form, group box) painted with its windowless controls, as
// a control copying its parent's look asks for it.
inline std::unique_ptr<win::Bitmap> RenderHost(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    auto bmp = std::make_unique<win::Bitmap>(r.right, r.bottom);
    SendMessageW(hwnd, WM_ERASEBKGND, (WPARAM)bmp->DC(), 0);
    SendMessageW(hwnd, WM_PAINT, (WPARAM)bmp->DC(), 0);
    return bmp;
}

// Client point of a window in screen coordinates.
inline POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

namespace detail {
inline POINT g_lastMove{-1, -1};
inline LRESULT CALLBACK NoteMouseMove(int code, WPARAM wp, LPARAM lp) {
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_MOUSEMOVE) g_lastMove = m->pt;
    return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace detail

// Moves the pointer and waits until it stays there and the pointer messages
// queued so far have been handled, so that none arrives after what the test
// does next. Under X a late motion event of an earlier move can put the
// pointer back; the move is then made again.
inline bool PointerTo(POINT screen, int timeoutMs = 3000) {
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, detail::NoteMouseMove, nullptr, GetCurrentThreadId());
    detail::g_lastMove = {-1, -1};
    SetCursorPos(screen.x, screen.y);
    int steady = 0;  // polls in a row with the pointer there and nothing left to handle
    const bool there = testing_support::WaitUntil(
        [&] {
            win::Application::Instance().ProcessMessages();
            POINT now{};
            GetCursorPos(&now);
            if (now.x != screen.x || now.y != screen.y) {
                steady = 0;
                SetCursorPos(screen.x, screen.y);
                return false;
            }
            const bool handled = detail::g_lastMove.x == screen.x && detail::g_lastMove.y == screen.y;
            const bool pending = HIWORD(GetQueueStatus(QS_MOUSEMOVE)) != 0;
            steady = pending ? 0 : steady + 1;
            return handled ? !pending : steady >= 2;
        },
        timeoutMs);
    UnhookWindowsHookEx(hook);
    return there;
}

// Puts the pointer over the window and tells it, as a real move would.
inline void MoveTo(HWND hwnd, int x, int y) {
    EXPECT_TRUE(PointerTo(ScreenPoint(hwnd, x, y))) << "the pointer's move never arrived";
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

inline void Click(HWND hwnd, int x, int y) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

inline HFONT PlainFont(int height) {
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
}

}  // namespace flattest
