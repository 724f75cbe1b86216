#include "flatctrls/FlatUtilitys.h"

#include <map>
#include <vector>

#include "win/Error.h"

namespace flat {

using win::Bitmap;
using win::Canvas;
using win::ColorToRGB;

TColor DeriveAdvColor(TColor base, TColor current, int percent, AdvColorMode mode) {
    if (percent == 0) return current;
    ScaledHsl v = ColorToScaledHsl(ColorToRGB(base));
    int l = v.l + 10;
    if (mode == AdvColorMode::Lighten) l = l + percent > 100 ? 100 : l + percent;
    else l = l - percent < 0 ? 0 : l - percent;
    return ScaledHslToColor(v.h, v.s, l);
}

COLORREF FocusFill(TColor background) {
    const COLORREF back = win::ColorToRGB(background);
    COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
    for (int i = 0; i < 20 && win::ContrastRatio(c, back) < 3.0; ++i)
        c = RGB(GetRValue(c) * 9 / 10, GetGValue(c) * 9 / 10, GetBValue(c) * 9 / 10);
    return c;
}

COLORREF MarkOn(COLORREF fill) {
    return win::ContrastRatio(fill, RGB(0, 0, 0)) >= win::ContrastRatio(fill, RGB(255, 255, 255)) ? RGB(0, 0, 0)
                                                                                            : RGB(255, 255, 255);
}

void DrawBevelFrame(Canvas& canvas, RECT r, TColor top, TColor bottom, int width) {
    --r.right;
    --r.bottom;
    for (int i = 0; i < width; ++i) {
        canvas.SetPen(top, 1);
        POINT a[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
        canvas.Polyline(a, 3);
        canvas.SetPen(bottom, 1);
        POINT b[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
        canvas.Polyline(b, 3);
        InflateRect(&r, -1, -1);
    }
}

void PaintParentBackground(HWND parent, const RECT& bounds, HDC dc) {
    if (!parent || !IsWindow(parent)) return;
    win::SavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - bounds.left, origin.y - bounds.top, nullptr);
    RECT client{};
    GetClientRect(parent, &client);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    SendMessageW(parent, WM_ERASEBKGND, (WPARAM)dc, 0);
    SendMessageW(parent, WM_PAINT, (WPARAM)dc, 0);
}

void PaintParentBackground(const win::Control& control, HDC dc) {
    if (!control.Handle()) return;
    PaintParentBackground(control.Parent(), control.Bounds(), dc);
}

std::unique_ptr<Bitmap> MakeDisabledGlyph(const Bitmap& image, TColor outline, TColor back,
                                          TColor highlight, TColor shadow, bool drawHighlight) {
    const int w = image.Width(), h = image.Height();
    auto result = std::make_unique<Bitmap>(w, h);
    // Pictures arrive here as colour pixels (a monochrome one as black and
    // white), so the mask is simply the pixels of the outline colour.
    const COLORREF line = ColorToRGB(outline);
    std::vector<bool> mask(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) mask[size_t(y) * w + x] = image.Pixel(x, y) == line;
    const COLORREF backRGB = ColorToRGB(back);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) result->SetPixel(x, y, backRGB);
    auto stamp = [&](int dx, int dy, COLORREF c) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (mask[size_t(y) * w + x]) result->SetPixel(x + dx, y + dy, c);
    };
    if (drawHighlight) stamp(1, 1, ColorToRGB(highlight));
    stamp(0, 0, ColorToRGB(shadow));
    return result;
}

GlyphLayout LayoutGlyphAndText(Canvas& canvas, const RECT& client, POINT offset, TButtonLayout layout,
                               int spacing, int margin, const Bitmap* glyph, int numGlyphs,
                               const std::wstring& caption) {
    GlyphLayout out;
    POINT cs{client.right - client.left, client.bottom - client.top};
    POINT gs{0, 0};
    if (glyph && !glyph->Empty()) gs = {glyph->Width() / (numGlyphs > 0 ? numGlyphs : 1), glyph->Height()};
    POINT ts{0, 0}, tp{0, 0};
    if (!caption.empty()) {
        out.captionRect = {0, 0, cs.x, 0};
        canvas.DrawText(caption, out.captionRect, DT_CALCRECT | DT_SINGLELINE);
        ts = {out.captionRect.right - out.captionRect.left, out.captionRect.bottom - out.captionRect.top};
    } else {
        out.captionRect = {0, 0, 0, 0};
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (horizontal) {
        out.glyphOrigin.y = (cs.y - gs.y + 1) / 2;
        tp.y = (cs.y - ts.y + 1) / 2;
    } else {
        out.glyphOrigin.x = (cs.x - gs.x + 1) / 2;
        tp.x = (cs.x - ts.x + 1) / 2;
    }
    if (ts.x == 0 || gs.x == 0) spacing = 0;
    const int c = horizontal ? cs.x : cs.y, g = horizontal ? gs.x : gs.y, t = horizontal ? ts.x : ts.y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (c - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = (c - (g + spacing + t) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (c - (margin + g) - t) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        out.glyphOrigin.x = margin;
        tp.x = out.glyphOrigin.x + gs.x + spacing;
        break;
    case blGlyphRight:
        out.glyphOrigin.x = cs.x - margin - gs.x;
        tp.x = out.glyphOrigin.x - spacing - ts.x;
        break;
    case blGlyphTop:
        out.glyphOrigin.y = margin;
        tp.y = out.glyphOrigin.y + gs.y + spacing;
        break;
    case blGlyphBottom:
        out.glyphOrigin.y = cs.y - margin - gs.y;
        tp.y = out.glyphOrigin.y - spacing - ts.y;
        break;
    }
    out.glyphOrigin.x += client.left + offset.x;
    out.glyphOrigin.y += client.top + offset.y;
    OffsetRect(&out.captionRect, tp.x + client.left + offset.x, tp.y + client.top + offset.y);
    return out;
}

namespace {
// The slice of a glyph strip shown in a state.
int GlyphSliceIndex(int numGlyphs, ButtonState state) {
    static const int table[4][4] = {
        {0, 0, 0, 0},  // Up, Disabled, Pressed, Latched
        {0, 1, 0, 0},
        {0, 1, 2, 2},
        {0, 1, 2, 3},
    };
    if (numGlyphs < 1) numGlyphs = 1;
    if (numGlyphs > 4) numGlyphs = 4;
    return table[numGlyphs - 1][(int)state];
}

}  // namespace

void DrawGlyph(HDC dc, const Bitmap& glyph, int numGlyphs, ButtonState state, POINT origin) {
    if (glyph.Empty()) return;
    const int w = glyph.Width() / (numGlyphs > 0 ? numGlyphs : 1), h = glyph.Height();
    if (w <= 0) return;
    COLORREF transparent = glyph.Pixel(0, h - 1);
    auto slice = std::make_unique<Bitmap>(w, h);
    BitBlt(slice->DC(), 0, 0, w, h, glyph.DC(), GlyphSliceIndex(numGlyphs, state) * w, 0, SRCCOPY);
    if (numGlyphs == 1 && state == ButtonState::Disabled) {
        slice = MakeDisabledGlyph(*slice, clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
        transparent = slice->Pixel(0, h - 1);
    }
    slice->DrawMasked(dc, origin.x, origin.y, transparent);
}

int NumGlyphsFor(const Bitmap& glyph, int current) {
    if (glyph.Empty() || glyph.Width() % glyph.Height() != 0) return current;
    int n = glyph.Width() / glyph.Height();
    return n > 4 ? 1 : n;
}

// ---- hover tracking ----

namespace {
win::ControlAt ControlAtCursor() {
    POINT p{};
    GetCursorPos(&p);
    return win::FindControlAt(p);
}

std::map<UINT_PTR, HoverTracker*>& Timers() {
    static std::map<UINT_PTR, HoverTracker*> timers;
    return timers;
}
}  // namespace

void HoverTracker::Unregister(HoverClient& c) { StopHoverTimer(c); }

void HoverTracker::StartTimer() {
    if (timerId_) return;
    timerId_ = SetTimer(nullptr, 0, 100, TimerProc);
    if (timerId_) Timers()[timerId_] = this;
}

void HoverTracker::StopTimer() {
    if (!timerId_) return;
    KillTimer(nullptr, timerId_);
    Timers().erase(timerId_);
    timerId_ = 0;
}

void CALLBACK HoverTracker::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    win::Guarded([&] { it->second->Tick(); });
}

void HoverTracker::PointerMoved(HoverClient& c, POINT screen) {
    if (&c == current_) return;
    if (!c.HoverIsAt(win::FindControlAt(screen))) return;
    if (current_) HoverOff(*current_);
    if (!win::ApplicationActive()) return;
    StopTimer();
    current_ = &c;
    StartTimer();
    HoverOn(c);
}

void HoverTracker::Tick() {
    ++ticks_;
    if (!current_) return StopTimer();
    if (!current_->HoverIsAt(ControlAtCursor())) HoverOff(*current_);
}

void HoverTracker::HoverOn(HoverClient& c) {
    if (c.HoverEnabled() && !c.Hovered) {
        c.Hovered = true;
        c.HoverRepaint();
    }
}

void HoverTracker::HoverOff(HoverClient& c) {
    if (c.HoverEnabled() && c.Hovered && !c.HoverHeld()) {
        c.Hovered = false;
        StopHoverTimer(c);
        c.HoverRepaint();
    }
}

void HoverTracker::StopHoverTimer(HoverClient& c) {
    if (current_ == &c) {
        StopTimer();
        current_ = nullptr;
    }
}

void HoverTracker::RefreshHover(HoverClient& c) {
    if (!c.HoverEnabled()) return;
    bool inside = c.HoverIsAt(ControlAtCursor());
    c.Hovered = !inside;
    if (inside) HoverOn(c);
    else HoverOff(c);
}

}  // namespace flat
