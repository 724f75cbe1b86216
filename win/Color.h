#pragma once
#include <windows.h>

#include <cmath>
#include <cstdint>

namespace win {

// A colour value: $00BBGGRR for a plain colour, $FF0000nn for entry nn of
// the system's colour table. Resolve it before computing with it.
using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;

// System colours become the system's current value; plain colours stay.
COLORREF ColorToRGB(TColor color);

// Nearest integer, halves to even: the rounding every computed colour and
// measure uses.
inline int RoundEven(double x) { return (int)std::nearbyint(x); }

}  // namespace win
