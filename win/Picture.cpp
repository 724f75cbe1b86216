#include "win/Picture.h"

#include "win/Dpi.h"
#include "win/Gdi.h"

namespace win {

void Picture::Create(HWND parent, int x, int y, int w, int h) {
    CreateOwnClass(L"winPicture", 0, WS_CHILD | WS_VISIBLE, 0, nullptr, x, y, w, h, parent, nullptr);
}

void Picture::SetPicture(Bitmap picture) {
    picture_ = std::move(picture);
    Invalidate();
}

void Picture::Paint(HDC dc) {
    RECT client = ClientRect();
    int drawnW = 0, drawnH = 0;
    if (!picture_.Empty()) {
        drawnW = picture_.Width();
        drawnH = picture_.Height();
        BitBlt(dc, 0, 0, drawnW, drawnH, picture_.DC(), 0, 0, SRCCOPY);
    }
    // Whatever the picture leaves uncovered.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT right{drawnW, 0, client.right, client.bottom};
    RECT below{0, drawnH, drawnW, client.bottom};
    if (right.left < right.right) FillRect(dc, &right, face);
    if (below.top < below.bottom) FillRect(dc, &below, face);
}

LRESULT Picture::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // Paint covers everything
    case WM_PAINT: {
        PaintDC dc(Handle());
        Paint(dc);
        return 0;
    }
    case WM_PRINTCLIENT: Paint((HDC)wp); return 0;
    }
    return Window::WndProc(msg, wp, lp);
}

void SunkenRule::Create(HWND parent, int x, int y, int w, int h) {
    // A standard etched static, so that painters which restyle standard
    // controls recognise it.
    CreateStandard(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, x, y, w, h, parent, 0);
    // The static would otherwise keep its own height.
    RECT design{};
    DesignBounds(design);
    RECT r = ScaleRect(design, kDesignDpi, DpiOf(parent));
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace win
