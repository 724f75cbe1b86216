#include "xpmenu/XPColors.h"

#include <algorithm>
#include <cmath>

namespace xpmenu {

COLORREF ToRGB(TColor c) {
    if ((c & 0xFF000000) == clSystemColor) return GetSysColor((int)(c & 0xFF));
    return c & 0xFFFFFF;
}

namespace {
int Clamp(int v) { return std::clamp(v, 0, 255); }
// Round half to even, the rounding every computed colour uses.
int RoundEven(double v) { return (int)std::nearbyint(v); }
}  // namespace

COLORREF LightenColor(TColor c, int percent) {
    COLORREF rgb = ToRGB(c);
    int p = std::min(percent, 100);
    auto up = [p](int v) { return Clamp(v + RoundEven((255 - v) * p / 100.0)); };
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

Glyph::Glyph(int width, int height, COLORREF fill) : w_(width), h_(height) {
    if (Empty()) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w_;
    bi.bmiHeader.biHeight = -h_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bmp_);
    RECT r{0, 0, w_, h_};
    FillColor(dc_, r, fill);
}

Glyph::~Glyph() {
    if (dc_) {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (bmp_) DeleteObject(bmp_);
}

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
COLORREF Glyph::Pixel(int x, int y) const {
    GdiFlush();
    uint32_t v = bits_[y * w_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Glyph::SetPixel(int x, int y, COLORREF c) {
    bits_[y * w_ + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void Glyph::DrawTransparent(HDC target, int x, int y) const {
    if (Empty()) return;
    TransparentBlt(target, x, y, w_, h_, dc_, 0, 0, w_, h_, Pixel(0, h_ - 1));
}

namespace {
template <typename F>
void MapPixels(Glyph& glyph, F convert) {
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

void FadeGlyph(Glyph& glyph, int percent) {
    int p = std::min(percent, 100);
    MapPixels(glyph, [p](COLORREF c) { return LightenColor(c, p); });
}

void GrayGlyph(Glyph& glyph, int level) {
    MapPixels(glyph, [level](COLORREF c) { return ToGray(c, level); });
}

void PaintGlyphShadow(const Glyph& glyph, HDC dc, int x, int y, COLORREF color) {
    if (glyph.Empty()) return;
    COLORREF key = glyph.Pixel(0, glyph.Height() - 1);
    for (int j = 0; j < glyph.Height(); ++j)
        for (int i = 0; i < glyph.Width(); ++i)
            if (glyph.Pixel(i, j) != key) ::SetPixel(dc, x + i, y + j, color);
}

void FillColor(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void FillColor(HDC dc, int l, int t, int r, int b, COLORREF c) {
    RECT rc{l, t, r, b};
    FillColor(dc, rc, c);
}

void FrameColor(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

void PolylineColor(HDC dc, std::initializer_list<POINT> pts, COLORREF c) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, pts.begin(), (int)pts.size());
    SelectObject(dc, old);
    DeleteObject(pen);
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
