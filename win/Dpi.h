#pragma once
#include <windows.h>

namespace win {

// Layouts are written in pixels at 96 DPI; these turn them into the pixels
// of a window's DPI. The per-monitor functions are looked up at run time:
// older systems (and Wine 8 for some) lack them, and then the screen's
// LOGPIXELSY stands for every window.
constexpr UINT kDesignDpi = 96;

// The DPI a window is shown at: the one its top-level window last took
// from WM_DPICHANGED, else the system's answer for the window. A null
// window gives the system DPI.
UINT DpiOf(HWND window);
UINT SystemDpi();
// The DPI of the monitor that holds a screen point (the system DPI where
// the system cannot tell monitors apart).
UINT DpiAt(POINT screen);

// A 96-DPI length at `dpi`, rounded to the nearest pixel.
inline int Scale(int value, UINT dpi) { return MulDiv(value, (int)dpi, (int)kDesignDpi); }
// A length at `dpi` back in 96-DPI pixels.
inline int Unscale(int value, UINT dpi) { return MulDiv(value, (int)kDesignDpi, (int)dpi); }
RECT ScaleRect(const RECT& r, UINT from, UINT to);

// A font height (negative: the character height) for a size in points.
inline int FontHeightForPoints(int points, UINT dpi) { return -MulDiv(points, (int)dpi, 72); }

// GetSystemMetrics as at `dpi` (icon sizes, menu check marks, frames).
int SystemMetricForDpi(int index, UINT dpi);
// AdjustWindowRectEx as at `dpi`.
void AdjustWindowRectForDpi(RECT& r, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// Records the DPI a top-level window now has (from WM_DPICHANGED), for
// DpiOf on it and every window inside it.
void SetWindowDpi(HWND topLevel, UINT dpi);

// Moves and sizes every window inside `parent` (at any depth) from `from`
// to `to` DPI. A child still where the layout put it goes back to its own
// 96-DPI place scaled, so that changes there and back leave no rounding.
void RescaleChildren(HWND parent, UINT from, UINT to);

}  // namespace win
