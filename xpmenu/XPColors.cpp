#include "xpmenu/XPColors.h"

#include <algorithm>
#include <cmath>

#include "win/Gdi.h"

namespace xpmenu {

namespace {
int Clamp(int v) { return std::clamp(v, 0, 255); }
}  // namespace

COLORREF LightenColor(TColor c, int percent) {
    COLORREF rgb = ToRGB(c);
    int p = std::min(percent, 100);
    auto up = [p](int v) { return Clamp(v + win::RoundEven((255 - v) * p / 100.0)); };
    return RGB(up(GetRValue(rgb)), up(GetGValue(rgb)), up(GetBValue(rgb)));
}

COLORREF DarkenColor(TColor c, int d) {
    COLORREF rgb = ToRGB(c);
    return RGB(Clamp(GetRValue(rgb) - d), Clamp(GetGValue(rgb) - d + 2), Clamp(GetBValue(rgb) - d));
}

COLORREF ToGray(TColor c, int level) {
    COLORREF rgb = ToRGB(c);
    int g = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3 + level;
    g = Clamp(std::min(g, 240));
    return RGB(g, g, g);
}

namespace {
template <typename F>
void MapPixels(win::Bitmap& glyph, F convert) {
    if (glyph.Empty()) return;
    GdiFlush();
    // Glyphs are mostly runs of one colour: reuse the last conversion.
    COLORREF last = CLR_INVALID, result = 0;
    for (int y = 0; y < glyph.Height(); ++y)
        for (int x = 0; x < glyph.Width(); ++x) {
            COLORREF p = glyph.Pixel(x, y);
            if (p != last) {
                last = p;
                result = convert(p);
            }
            glyph.SetPixel(x, y, result);
        }
}
}  // namespace

void FadeGlyph(win::Bitmap& glyph, int percent) {
    int p = std::min(percent, 100);
    MapPixels(glyph, [p](COLORREF c) { return LightenColor(c, p); });
}

void GrayGlyph(win::Bitmap& glyph, int level) {
    MapPixels(glyph, [level](COLORREF c) { return ToGray(c, level); });
}

void PaintGlyphShadow(const win::Bitmap& glyph, HDC dc, int x, int y, COLORREF color) {
    if (glyph.Empty()) return;
    COLORREF key = glyph.Pixel(0, glyph.Height() - 1);
    for (int j = 0; j < glyph.Height(); ++j)
        for (int i = 0; i < glyph.Width(); ++i)
            if (glyph.Pixel(i, j) != key) ::SetPixel(dc, x + i, y + j, color);
}

void FillColor(HDC dc, const RECT& r, COLORREF c) { FillRect(dc, &r, win::SolidBrush(c)); }

void FillColor(HDC dc, int l, int t, int r, int b, COLORREF c) {
    RECT rc{l, t, r, b};
    FillColor(dc, rc, c);
}

void FrameColor(HDC dc, const RECT& r, COLORREF c) { FrameRect(dc, &r, win::SolidBrush(c)); }

void PolylineColor(HDC dc, std::initializer_list<POINT> pts, COLORREF c) {
    win::Pen pen = win::SolidPen(c);
    win::Selection picked(dc, pen);
    Polyline(dc, pts.begin(), (int)pts.size());
}

void Frame3D(HDC dc, RECT& r, COLORREF tl, COLORREF br, int width) {
    --r.bottom;
    --r.right;
    for (int i = 0; i < width; ++i) {
        PolylineColor(dc, {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}}, tl);
        PolylineColor(dc, {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}}, br);
        InflateRect(&r, -1, -1);
    }
    ++r.bottom;
    ++r.right;
}

}  // namespace xpmenu
