#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "flatctrls/HSLUtils.h"
#include "win/Canvas.h"
#include "win/Control.h"

namespace flat {

// The palette the flat controls share.
constexpr TColor clFlatFace = 0x00E1EAEB;
constexpr TColor clFlatDown = 0x00C5D6D9;
constexpr TColor clFlatBorder = 0x008396A0;
using win::clBlack;
using win::clBtnFace;
using win::clBtnHighlight;
using win::clBtnShadow;
using win::clWhite;

using TAdvColors = std::uint8_t;  // a percentage 0..100
enum class AdvColorMode { Lighten = 0, Darken = 1 };

// The colour `percent` lighter or darker than the base; a percentage of 0
// keeps `current`. The cap of 100 on the 0..240 lightness scale is meant:
// light bases give a darker hot colour, as the controls have always shown.
TColor DeriveAdvColor(TColor base, TColor current, int percent, AdvColorMode mode);

// The fill of a focused square on a given background: the system's
// highlight, darkened until it stands out 3:1 from the background, so that
// the focus shows at a glance whatever the scheme.
COLORREF FocusFill(TColor background);
// Black or white, whichever reads better on the colour.
COLORREF MarkOn(COLORREF fill);

// Rings of `width` pixels: left and top in `top`, right and bottom in
// `bottom` (the corners bottom-left and top-right go to `bottom`).
void DrawBevelFrame(win::Canvas& canvas, RECT r, TColor top, TColor bottom, int width);

// Copies the parent's look under a control into the canvas: the parent
// erases and paints into it, shifted so that its coordinates land where the
// control sits. Nothing happens without a parent.
void PaintParentBackground(HWND parent, const RECT& boundsInParent, HDC dc);
void PaintParentBackground(const win::Control& control, HDC dc);

// The embossed picture of a disabled glyph: the outline-coloured pixels
// become a highlight copy one pixel down and right under a shadow copy, on
// a field of the back colour.
std::unique_ptr<win::Bitmap> MakeDisabledGlyph(const win::Bitmap& image, TColor outline, TColor back,
                                               TColor highlight, TColor shadow, bool drawHighlight);

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class ButtonState { Up = 0, Disabled = 1, Pressed = 2, Latched = 3 };

struct GlyphLayout {
    RECT captionRect{};
    POINT glyphOrigin{};
};

// Places glyph and caption in the client rectangle; the caption is
// measured on the canvas with its current font.
GlyphLayout LayoutGlyphAndText(win::Canvas& canvas, const RECT& client, POINT offset,
                               TButtonLayout layout, int spacing, int margin, const win::Bitmap* glyph,
                               int numGlyphs, const std::wstring& caption);

// Draws the state's slice of a glyph strip at origin, leaving out the transparent colour
// (the bottom-left pixel); a one-slice glyph is embossed when disabled.
void DrawGlyph(HDC dc, const win::Bitmap& glyph, int numGlyphs, ButtonState state, POINT origin);
// NumGlyphs after a glyph assignment: width div height for a whole
// multiple (1 when over 4), else unchanged.
int NumGlyphsFor(const win::Bitmap& glyph, int current);

// A control noticed by a hover tracker.
class HoverClient {
public:
    virtual ~HoverClient() = default;
    bool Hovered = false;

    virtual bool HoverEnabled() const = 0;
    // The left button is held on the control: hovering cannot end.
    virtual bool HoverHeld() const = 0;
    virtual void HoverRepaint() = 0;
    // The topmost control at the screen point is this one.
    virtual bool HoverIsAt(const win::ControlAt& at) const = 0;
};

// One per control class: the control now hot, and one 100 ms timer that
// notices the pointer leaving it. The timer runs only while a control is
// hot, so it goes with the last one.
class HoverTracker {
public:
    void Unregister(HoverClient& c);

    void PointerMoved(HoverClient& c, POINT screen);
    void Tick();
    void HoverOn(HoverClient& c);
    void HoverOff(HoverClient& c);
    void StopHoverTimer(HoverClient& c);
    void RefreshHover(HoverClient& c);

    HoverClient* Current() const { return current_; }
    bool TimerRunning() const { return timerId_ != 0; }
    int Ticks() const { return ticks_; }  // timer ticks handled so far

private:
    void StartTimer();
    void StopTimer();
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

    HoverClient* current_ = nullptr;
    UINT_PTR timerId_ = 0;
    int ticks_ = 0;
};

}  // namespace flat
