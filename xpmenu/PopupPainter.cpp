#include "xpmenu/PopupPainter.h"

#include <algorithm>

#include "win/Bitmap.h"
#include "win/Gdi.h"

namespace xpmenu {

void TXPPopupPainter::Attach(win::PopupMenu& menu) {
    menu.OwnerDrawn = true;
    Attach(menu.Root);
}

void TXPPopupPainter::Attach(win::MenuItem& root) {
    TXPMenu* p = &painter_;
    for (auto& child : root.Items) {
        win::MenuItem& item = *child;
        item.OnMeasureItem = [p](win::MenuItem& i, HDC dc, int& w, int& h) { p->MeasureMenuItem(i, dc, w, h); };
        item.OnDrawItem = [p](win::MenuItem& i, HDC dc, const RECT& r, bool selected) {
            p->PaintMenuItem(i, dc, r, selected);
        };
        Attach(item);
    }
}

SIZE TXPPopupPainter::Measure(win::MenuItem& item) const {
    win::WindowDC dc(nullptr);  // the screen's, its state put back when done
    int w = 0, h = 0;
    painter_.MeasureMenuItem(item, dc, w, h);
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
    win::BitmapHandle bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return nullptr;
    // The icon once on black and once on white tells each pixel's alpha
    // whatever form the icon has (alpha channel or mask).
    auto render = [&](COLORREF under) {
        win::Bitmap picture(size, size, under);
        DrawIconEx(picture.DC(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        return picture;
    };
    const win::Bitmap onBlack = render(RGB(0, 0, 0)), onWhite = render(RGB(255, 255, 255));
    const COLORREF key = ToRGB(KeyColor);
    auto* out = static_cast<DWORD*>(bits);
    const DWORD keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int i = 0; i < side * side; ++i) out[i] = keyPixel;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const COLORREF k = onBlack.Pixel(x, y), w = onWhite.Pixel(x, y);
            int alpha = 255 - (GetRValue(w) - GetRValue(k));  // from the red channel
            if (alpha <= 8) continue;                           // transparent: key colour
            if (alpha > 255) alpha = 255;
            // The colour times alpha, on black, plus the background's share.
            auto channel = [&](int premultiplied, int under) {
                return std::min(255, premultiplied + under * (255 - alpha) / 255);
            };
            DWORD v = (DWORD)(channel(GetRValue(k), GetRValue(background)) << 16 |
                              channel(GetGValue(k), GetGValue(background)) << 8 |
                              channel(GetBValue(k), GetBValue(background)));
            // Never the key colour itself, or the pixel would vanish.
            if (v == keyPixel) v ^= 1;
            out[(size_t)(y + 1) * side + x + 1] = v;
        }
    }
    return bitmap.Release();
}

}  // namespace xpmenu
