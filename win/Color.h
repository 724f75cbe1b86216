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
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;

// System colours become the system's current value; plain colours stay.
COLORREF ColorToRGB(TColor color);

// Whether the user runs a high-contrast scheme: then everything painted
// takes the system's colours and nothing of its own.
bool HighContrast();
// Decides HighContrast's answer instead of the system (-1: ask the system
// again). Wine 8 refuses SPI_SETHIGHCONTRAST, so its tests switch it here.
void SetHighContrastOverride(int on);
// In a high-contrast scheme the system colour, else the colour given.
inline TColor SchemeColor(TColor own, int systemIndex) {
    return HighContrast() ? (clSystemColor | (TColor)systemIndex) : own;
}

// The contrast ratio of two colours as accessibility guidelines measure
// it: 1 (the same) to 21 (black on white).
double ContrastRatio(COLORREF a, COLORREF b);

// Nearest integer, halves to even: the rounding every computed colour and
// measure uses.
inline int RoundEven(double x) { return (int)std::nearbyint(x); }

}  // namespace win
