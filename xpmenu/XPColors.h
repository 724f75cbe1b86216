#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>

namespace xpmenu {

// A colour as the settings hold it: a plain $00BBGGRR value, or a system
// colour $FF0000nn naming entry nn of the system colour table.
using TColor = uint32_t;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor KeyColor = 0xFF00FF;  // glyph background, drawn transparent

// System colours to their current RGB value; plain colours unchanged.
COLORREF ToRGB(TColor c);

COLORREF LightenColor(TColor c, int percent);
// Green is lowered 2 less than red and blue, as the painted look expects.
COLORREF DarkenColor(TColor c, int amount);
COLORREF ToGray(TColor c, int level);

// A 32-bit top-down DIB section whose pixels can be changed in place.
class Glyph {
public:
    Glyph() = default;
    Glyph(int width, int height, COLORREF fill);
    ~Glyph();
    Glyph(const Glyph&) = delete;
    Glyph& operator=(const Glyph&) = delete;

    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Empty() const { return w_ <= 0 || h_ <= 0; }
    HDC DC() const { return dc_; }
    HBITMAP Bitmap() const { return bmp_; }
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF c);
    // Draws with the bottom-left pixel's colour transparent.
    void DrawTransparent(HDC target, int x, int y) const;

private:
    int w_ = 0, h_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

void FadeGlyph(Glyph& glyph, int percent);
void GrayGlyph(Glyph& glyph, int level);
// Sets every canvas pixel under a non-key glyph pixel to `color`.
void PaintGlyphShadow(const Glyph& glyph, HDC dc, int x, int y, COLORREF color);

// Small GDI helpers shared by the painters.
void FillColor(HDC dc, const RECT& r, COLORREF c);
void FillColor(HDC dc, int l, int t, int r, int b, COLORREF c);
void FrameColor(HDC dc, const RECT& r, COLORREF c);  // one-pixel outline
void PolylineColor(HDC dc, std::initializer_list<POINT> pts, COLORREF c);
// A bevel frame: `width` rings, top-left in `tl`, bottom-right in `br`;
// shrinks r by the width as it goes.
void Frame3D(HDC dc, RECT& r, COLORREF tl, COLORREF br, int width);

}  // namespace xpmenu
