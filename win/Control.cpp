#include "win/Control.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>

#include "win/Error.h"
#include "win/Form.h"
#include "win/Gdi.h"

namespace win {

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
    case WM_GETOBJECT: {
        LRESULT result = 0;
        if (AnswerGetObject(*this, wp, lp, result)) return result;
        break;
    }
    case CM_ACCESSIBLEDEFAULT:
        if (IsWindowEnabled(Handle())) DoAccessibleDefault();
        return 0;
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

}  // namespace win
