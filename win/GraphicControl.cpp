#include "win/GraphicControl.h"

#include "win/Dpi.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>

#include "win/Error.h"
#include "win/Form.h"
#include "win/Gdi.h"

namespace win {

GraphicControl::~GraphicControl() {
    if (GraphicHost* host = GraphicHost::Of(parent_)) {
        host->Remove(this);
        if (visible_ && IsWindow(parent_)) InvalidateRect(parent_, &bounds_, TRUE);
    }
    ReleaseFont();
}

void GraphicControl::ReleaseFont() {
    ownedFont_.Reset();
    font_ = nullptr;
}

void GraphicControl::Create(HWND parent, int x, int y, int w, int h) {
    GraphicHost* host = GraphicHost::Of(parent);
    if (!host) throw std::logic_error("a windowless control needs a host window");
    parent_ = parent;
    design_ = {x, y, x + w, y + h};
    bounds_ = ScaleRect(design_, kDesignDpi, DpiOf(parent));
    if (parentColor_) color_ = ParentColorOf(parent);
    if (parentFont_) font_ = ParentFontOf(parent);
    host->Add(this);
    Invalidate();
}

void GraphicControl::SetBounds(int x, int y, int w, int h) {
    Invalidate();
    bounds_ = {x, y, x + w, y + h};
    Invalidate();
}

void GraphicControl::Rescale(UINT from, UINT to) {
    RECT placed = ScaleRect(design_, kDesignDpi, from);
    if (!EqualRect(&placed, &bounds_)) design_ = ScaleRect(bounds_, from, kDesignDpi);
    RECT next = ScaleRect(design_, kDesignDpi, to);
    SetBounds(next.left, next.top, next.right - next.left, next.bottom - next.top);
}

void GraphicControl::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = true;  // so that the old area is invalidated either way
    Invalidate();
    visible_ = value;
}

void GraphicControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void GraphicControl::SetCaption(const std::wstring& text) {
    if (caption_ == text) return;
    caption_ = text;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void GraphicControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color_ == color) return;
    color_ = color;
    Perform(CM_COLORCHANGED, 0, 0);
}

void GraphicControl::SetParentColor(bool value) {
    if (parentColor_ == value) return;
    parentColor_ = value;
    if (value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void GraphicControl::SetControlFont(HFONT font, bool owned) {
    parentFont_ = false;
    if (font == font_) {
        if (owned && !ownedFont_) ownedFont_.Reset(font);
        return;
    }
    // The old font goes only when the control and its children hold the new one.
    FontHandle old = std::move(ownedFont_);
    font_ = font;
    if (owned) ownedFont_.Reset(font);
    Perform(CM_FONTCHANGED, 0, 0);
}

void GraphicControl::SetParentFont(bool value) {
    if (parentFont_ == value) return;
    parentFont_ = value;
    if (value) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void GraphicControl::Invalidate() {
    if (parent_ && visible_ && IsWindow(parent_)) InvalidateRect(parent_, &bounds_, TRUE);
}

void GraphicControl::Repaint() {
    if (!parent_ || !visible_ || !IsWindow(parent_)) return;
    InvalidateRect(parent_, &bounds_, TRUE);
    UpdateWindow(parent_);
}

LRESULT GraphicControl::Perform(UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] { return WndProc(msg, wp, lp); });
}

LRESULT GraphicControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case CM_PARENTCOLORCHANGED:
        if (parentColor_) {
            color_ = ParentColorOf(parent_);
            Invalidate();
        }
        return 0;
    case CM_PARENTFONTCHANGED:
        if (parentFont_) {
            font_ = ParentFontOf(parent_);
            Perform(CM_FONTCHANGED, 0, 0);
        }
        return 0;
    case CM_MOUSEENTER: mouseInside_ = true; return 0;
    case CM_MOUSELEAVE: mouseInside_ = false; return 0;
    }
    return 0;
}

void GraphicControl::PaintOn(HDC dc) {
    if (!visible_) return;
    SavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + bounds_.left, origin.y + bounds_.top, nullptr);
    RECT r = ClientRect();
    IntersectClipRect(dc, 0, 0, r.right, r.bottom);
    Canvas canvas(dc);
    canvas.SetFont(font_);
    Paint(canvas);
}

}  // namespace win
