#include "win/Control.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>

#include "win/Error.h"
#include "win/Form.h"
#include "win/Gdi.h"

namespace win {

TColor ParentColorOf(HWND parent) {
    if (auto* source = dynamic_cast<ColorSource*>(Window::FromHandle(parent)))
        return source->ChildColor();
    return clBtnFace;
}

HFONT ParentFontOf(HWND parent) {
    if (!parent) return nullptr;
    if (auto* form = dynamic_cast<Form*>(Window::FromHandle(parent)))
        if (form->Font()) return form->Font();
    return (HFONT)SendMessageW(parent, WM_GETFONT, 0, 0);
}

Form* ParentFormOf(HWND window) {
    if (!window) return nullptr;
    return dynamic_cast<Form*>(Window::FromHandle(GetAncestor(window, GA_ROOT)));
}

bool IsAccel(WPARAM ch, const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {  // "&&" is a plain ampersand
            ++i;
            continue;
        }
        return std::towupper((wint_t)caption[i + 1]) == std::towupper((wint_t)ch);
    }
    return false;
}

void NotifyChildren(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
    std::vector<HWND> children;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
    for (HWND w : children)
        if (IsWindow(w)) SendMessageW(w, msg, wp, lp);
    if (GraphicHost* host = GraphicHost::Of(parent)) {
        auto controls = host->Controls();
        for (GraphicControl* c : controls) c->Perform(msg, wp, lp);
    }
}

bool ApplicationActive() { return GetActiveWindow() != nullptr; }

HFONT DeriveFont(HFONT base, int height, bool bold) {
    LOGFONTW lf{};
    if (!base || !GetObjectW(base, sizeof(lf), &lf)) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (height) lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return CreateFontIndirectW(&lf);
}

ControlAt FindControlAt(POINT screen) {
    ControlAt at;
    HWND w = WindowFromPoint(screen);
    if (!w) return at;
    // WindowFromPoint passes over disabled children and transparent group
    // boxes; walk down again with those included.
    for (;;) {
        POINT c = screen;
        ScreenToClient(w, &c);
        HWND child = ChildWindowFromPointEx(w, c, CWP_SKIPINVISIBLE);
        if (!child || child == w) break;
        w = child;
    }
    at.window = w;
    if (GraphicHost* host = GraphicHost::Of(w)) {
        POINT c = screen;
        ScreenToClient(w, &c);
        at.graphic = host->ControlAtPoint(c, true);
    }
    return at;
}

// ---- Control ----

Control::~Control() { ReleaseFont(); }

void Control::ReleaseFont() {
    ownedFont_.Reset();
    font_ = nullptr;
}

void Control::CreateControl(HWND parent, int x, int y, int w, int h, DWORD style, DWORD exStyle,
                            const wchar_t* stdClass, const wchar_t* text) {
    color_ = parentColor_ ? ParentColorOf(parent) : color_;
    if (parentFont_) font_ = ParentFontOf(parent);
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (stdClass) {
        CreateStandard(stdClass, text, style, exStyle, x, y, w, h, parent, 0);
    } else {
        ownClass_ = true;
        CreateOwnClass(L"PathnookControl", CS_DBLCLKS, style, exStyle, text, x, y, w, h, parent,
                       nullptr);
    }
    if (font_) DefaultProc(WM_SETFONT, (WPARAM)font_, FALSE);
}

void Control::SetColor(TColor color) {
    parentColor_ = false;
    if (color_ == color) return;
    color_ = color;
    if (!Handle()) return;
    SendMessageW(Handle(), CM_COLORCHANGED, 0, 0);
    NotifyChildren(Handle(), CM_PARENTCOLORCHANGED, 0, 0);
}

void Control::SetParentColor(bool value) {
    if (parentColor_ == value) return;
    parentColor_ = value;
    if (value && Handle()) SendMessageW(Handle(), CM_PARENTCOLORCHANGED, 0, 0);
}

void Control::SetControlFont(HFONT font, bool owned) {
    parentFont_ = false;
    if (font == font_) {
        if (owned && !ownedFont_) ownedFont_.Reset(font);
        return;
    }
    // The old font goes only when the control and its children hold the new one.
    FontHandle old = std::move(ownedFont_);
    font_ = font;
    if (owned) ownedFont_.Reset(font);
    if (Handle()) {
        DefaultProc(WM_SETFONT, (WPARAM)font_, FALSE);
        SendMessageW(Handle(), CM_FONTCHANGED, 0, 0);
        NotifyChildren(Handle(), CM_PARENTFONTCHANGED, 0, 0);
    }
}

void Control::SetParentFont(bool value) {
    if (parentFont_ == value) return;
    parentFont_ = value;
    if (value && Handle()) SendMessageW(Handle(), CM_PARENTFONTCHANGED, 0, 0);
}

bool Control::TabStop() const { return (GetWindowLongW(Handle(), GWL_STYLE) & WS_TABSTOP) != 0; }

void Control::SetTabStop(bool value) {
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

bool Control::CanFocus() const {
    for (HWND w = Handle(); w; w = GetParent(w)) {
        if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
    }
    return Handle() != nullptr;
}

void Control::SetFocus() {
    if (Handle()) ::SetFocus(Handle());
}

void Control::Repaint() {
    if (!Handle()) return;
    InvalidateRect(Handle(), nullptr, ErasesBackground());
    UpdateWindow(Handle());
}

LRESULT Control::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ENABLE: {
        LRESULT r = DefaultProc(msg, wp, lp);
        SendMessageW(Handle(), CM_ENABLEDCHANGED, 0, 0);
        return r;
    }
    case WM_SETTEXT: {
        LRESULT r = DefaultProc(msg, wp, lp);
        SendMessageW(Handle(), CM_TEXTCHANGED, 0, 0);
        return r;
    }
    case WM_SETFONT:
        SetControlFont((HFONT)wp, false);
        if (LOWORD(lp)) Invalidate(true);
        return 0;
    case WM_GETFONT:
        return (LRESULT)font_;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_) {
            TColor c = ParentColorOf(Parent());
            if (c != color_) {
                color_ = c;
                NotifyChildren(Handle(), CM_PARENTCOLORCHANGED, 0, 0);
            }
            Invalidate(true);
        }
        return 0;
    case CM_PARENTFONTCHANGED:
        if (parentFont_) {
            font_ = ParentFontOf(Parent());
            DefaultProc(WM_SETFONT, (WPARAM)font_, FALSE);
            SendMessageW(Handle(), CM_FONTCHANGED, 0, 0);
            NotifyChildren(Handle(), CM_PARENTFONTCHANGED, 0, 0);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (!mouseInside_) {
            mouseInside_ = true;
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&tme);
            SendMessageW(Handle(), CM_MOUSEENTER, 0, 0);
        }
        break;
    case WM_MOUSELEAVE:
        if (mouseInside_) {
            mouseInside_ = false;
            SendMessageW(Handle(), CM_MOUSELEAVE, 0, 0);
        }
        break;
    case WM_ERASEBKGND:
        if (!ownClass_) break;
        if (ErasesBackground()) {
            RECT r = ClientRect();
            ::FillRect((HDC)wp, &r, SolidBrush(ColorToRGB(color_)));
        }
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!ownClass_) break;
        {
            auto paint = [this](HDC dc) {
                Canvas canvas(dc);
                canvas.SetFont(font_);
                Paint(canvas);
            };
            if (wp) {
                paint((HDC)wp);
            } else {
                PaintDC dc(Handle());
                paint(dc);
            }
        }
        return 0;
    }
    return DefaultProc(msg, wp, lp);
}

// ---- GraphicControl ----

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
    bounds_ = {x, y, x + w, y + h};
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

// ---- GraphicHost ----

GraphicHost::~GraphicHost() {
    for (GraphicControl* c : controls_) c->parent_ = nullptr;
}

GraphicHost* GraphicHost::Of(HWND window) {
    return window ? dynamic_cast<GraphicHost*>(Window::FromHandle(window)) : nullptr;
}

void GraphicHost::Add(GraphicControl* control) { controls_.push_back(control); }

void GraphicHost::Remove(GraphicControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (captured_ == control) {
        captured_ = nullptr;
        ReleaseCapture();
    }
    if (under_ == control) under_ = nullptr;
}

GraphicControl* GraphicHost::ControlAtPoint(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        GraphicControl* c = *it;
        if (c->visible_ && (allowDisabled || c->enabled_) && PtInRect(&c->bounds_, p)) return c;
    }
    return nullptr;
}

void GraphicHost::PaintControls(HDC dc) {
    auto controls = controls_;
    for (GraphicControl* c : controls) {
        RECT clip{}, hit{};
        if (GetClipBox(dc, &clip) != NULLREGION && IntersectRect(&hit, &clip, &c->bounds_))
            c->PaintOn(dc);
    }
}

bool GraphicHost::HandleHostMessage(HWND host, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    auto toControl = [](GraphicControl* c, LPARAM lp) {
        return MAKELPARAM(GET_X_LPARAM(lp) - c->bounds_.left, GET_Y_LPARAM(lp) - c->bounds_.top);
    };
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        GraphicControl* at = ControlAtPoint(p, false);
        if (msg == WM_MOUSEMOVE && at != under_ && !captured_) {
            GraphicControl* old = under_;
            under_ = at;
            if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
            if (at) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, host, 0};
                TrackMouseEvent(&tme);
                at->Perform(CM_MOUSEENTER, 0, 0);
            }
        }
        GraphicControl* target = captured_ ? captured_ : at;
        if (!target) return false;
        bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                    msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
        if (down && !captured_) {
            captured_ = target;
            SetCapture(host);
        }
        result = target->Perform(msg, wp, toControl(target, lp));
        bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
        if (up && captured_ && !(wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            captured_ = nullptr;
            if (GetCapture() == host) ReleaseCapture();
        }
        return true;
    }
    case WM_CAPTURECHANGED:
        captured_ = nullptr;
        return false;
    case WM_MOUSELEAVE:
        if (under_) {
            GraphicControl* old = under_;
            under_ = nullptr;
            old->Perform(CM_MOUSELEAVE, 0, 0);
        }
        return false;
    case WM_NCHITTEST: {
        // Group boxes are transparent to the pointer; not over a control of theirs.
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(host, &p);
        if (ControlAtPoint(p, true)) {
            result = HTCLIENT;
            return true;
        }
        return false;
    }
    case CM_DIALOGCHAR: {
        auto controls = controls_;
        for (GraphicControl* c : controls)
            if (c->visible_ && c->Perform(msg, wp, lp)) {
                result = 1;
                return true;
            }
        return false;
    }
    case CM_PARENTCOLORCHANGED:
    case CM_PARENTFONTCHANGED:
    case CM_SYSCOLORCHANGE: {
        auto controls = controls_;
        for (GraphicControl* c : controls) c->Perform(msg, wp, lp);
        return false;
    }
    }
    return false;
}

}  // namespace win
