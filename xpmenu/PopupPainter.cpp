#include "xpmenu/PopupPainter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace xpmenu {

void TXPPopupPainter::Attach(win::PopupMenu& menu) {
    menu.OwnerDrawn = true;
    TXPMenu* p = &painter_;
    menu.ForEach([p](win::MenuItem& item) {
        item.OnMeasureItem = [p](win::MenuItem& i, HDC dc, int& w, int& h) { p->MeasureMenuItem(i, dc, w, h); };
        item.OnDrawItem = [p](win::MenuItem& i, HDC dc, const RECT& r, bool selected) {
            p->PaintMenuItem(i, dc, r, selected);
        };
    });
}

SIZE TXPPopupPainter::Measure(win::MenuItem& item) const {
    HDC dc = GetDC(nullptr);
    int saved = SaveDC(dc);
    int w = 0, h = 0;
    painter_.MeasureMenuItem(item, dc, w, h);
    RestoreDC(dc, saved);
    ReleaseDC(nullptr, dc);
    return {w, h};
}

HBITMAP MenuBitmapFromIcon(HICON icon, int size, COLORREF background) {
    const int side = size + 2;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = side;
    bi.bmiHeader.biHeight = -side;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    // The icon once on black and once on white tells each pixel's alpha
    // whatever form the icon has (alpha channel or mask).
    auto render = [&](COLORREF under) {
        std::vector<DWORD> px((size_t)size * size);
        BITMAPINFO b = bi;
        b.bmiHeader.biWidth = size;
        b.bmiHeader.biHeight = -size;
        void* p = nullptr;
        HBITMAP tmp = CreateDIBSection(nullptr, &b, DIB_RGB_COLORS, &p, nullptr, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, tmp);
        HBRUSH brush = CreateSolidBrush(under);
        RECT r{0, 0, size, size};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        memcpy(px.data(), p, px.size() * 4);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(tmp);
        return px;
    };
    std::vector<DWORD> onBlack = render(RGB(0, 0, 0)), onWhite = render(RGB(255, 255, 255));
    const COLORREF key = ToRGB(KeyColor);
    auto* out = static_cast<DWORD*>(bits);
    const DWORD keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int i = 0; i < side * side; ++i) out[i] = keyPixel;
    const int br = GetRValue(background), bg = GetGValue(background), bb = GetBValue(background);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            DWORD k = onBlack[(size_t)y * size + x], w = onWhite[(size_t)y * size + x];
            int alpha = 255 - (int)((w >> 16 & 0xFF) - (k >> 16 & 0xFF));  // from the red channel
            if (alpha <= 8) continue;                                         // transparent: key colour
            if (alpha > 255) alpha = 255;
            auto channel = [&](int shift, int under) {
                int c = (int)(k >> shift & 0xFF);  // colour * alpha, on black
                return std::min(255, c + under * (255 - alpha) / 255);
            };
            DWORD v = (DWORD)(channel(16, br) << 16 | channel(8, bg) << 8 | channel(0, bb));
            // Never the key colour itself, or the pixel would vanish.
            if (v == keyPixel) v ^= 1;
            out[(size_t)(y + 1) * side + x + 1] = v;
        }
    }
    return bitmap;
}

}  // namespace xpmenu
