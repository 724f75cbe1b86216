#pragma once
#include <windows.h>

#include <initializer_list>

#include "win/Bitmap.h"
#include "win/Color.h"

namespace xpmenu {

// Colours are the layer's: plain $00BBGGRR or a system colour $FF0000nn.
using win::TColor;
using win::clBtnFace;
using win::clBtnShadow;
using win::clHighlight;
using win::clInactiveCaption;
using win::clMenuText;
using win::clSilver;
using win::clWhite;
constexpr TColor KeyColor = 0xFF00FF;  // glyph background, drawn transparent

// System colours to their current RGB value; plain colours unchanged.
inline COLORREF ToRGB(TColor c) { return win::ColorToRGB(c); }

COLORREF LightenColor(TColor c, int percent);
// Green is lowered 2 less than red and blue, as the painted look expects.
COLORREF DarkenColor(TColor c, int amount);
COLORREF ToGray(TColor c, int level);

void FadeGlyph(win::Bitmap& glyph, int percent);
void GrayGlyph(win::Bitmap& glyph, int level);
// Sets every canvas pixel under a non-key glyph pixel to `color`.
void PaintGlyphShadow(const win::Bitmap& glyph, HDC dc, int x, int y, COLORREF color);

// Small GDI helpers shared by the painters.
void FillColor(HDC dc, const RECT& r, COLORREF c);
void FillColor(HDC dc, int l, int t, int r, int b, COLORREF c);
void FrameColor(HDC dc, const RECT& r, COLORREF c);  // one-pixel outline
void PolylineColor(HDC dc, std::initializer_list<POINT> pts, COLORREF c);
// A bevel frame: `width` rings, top-left in `tl`, bottom-right in `br`;
// shrinks r by the width as it goes.
void Frame3D(HDC dc, RECT& r, COLORREF tl, COLORREF br, int width);

}  // namespace xpmenu
