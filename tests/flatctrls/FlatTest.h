#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "win/Application.h"
#include "win/Canvas.h"
#include "win/Form.h"

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

// Lets the pointer messages that a cursor move queued arrive first.
inline void Settle() {
    Sleep(30);
    win::Application::Instance().ProcessMessages();
}

// Puts the pointer over the window and tells it, as a real move would.
inline void MoveTo(HWND hwnd, int x, int y) {
    POINT p = ScreenPoint(hwnd, x, y);
    SetCursorPos(p.x, p.y);
    Settle();
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
