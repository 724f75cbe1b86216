#include "flatctrls/TFlatCheckBoxUnit.h"

#include <algorithm>

#include "win/Dpi.h"

#include <windowsx.h>

#include <oleacc.h>

#include "win/Notify.h"
#include "win/PopupMenu.h"

namespace flat {

using win::Canvas;

HoverTracker& TFlatCheckBox::Tracker() {
    static HoverTracker tracker;
    return tracker;
}

TFlatCheckBox::TFlatCheckBox() = default;

TFlatCheckBox::~TFlatCheckBox() { Tracker().Unregister(*this); }

void TFlatCheckBox::Create(HWND parent, int x, int y, int w, int h, const std::wstring& caption) {
    CreateControl(parent, x, y, w, h, WS_VISIBLE | WS_TABSTOP, 0, nullptr, caption.c_str());
}

// The square, its tick and the caption's place are laid out in 96-DPI
// pixels and drawn at the box's DPI.
int TFlatCheckBox::Px(int value) const { return win::Scale(value, win::DpiOf(Handle())); }

RECT TFlatCheckBox::SquareRect() const {
    RECT c = ClientRect();
    if (layout_ == checkboxLeft) return {c.left + Px(1), c.top + Px(3), c.left + Px(12), c.top + Px(14)};
    return {c.right - Px(12), c.top + Px(3), c.right - Px(1), c.top + Px(14)};
}

RECT TFlatCheckBox::CaptionRect() const {
    RECT c = ClientRect();
    if (layout_ == checkboxLeft) return {c.left + Px(16), c.top + Px(1), c.right - Px(1), c.bottom - Px(1)};
    return {c.left + Px(1), c.top + Px(1), c.right - Px(16), c.bottom - Px(1)};
}

bool TFlatCheckBox::DescribeAccessible(win::AccessibleInfo& info) const {
    const std::wstring caption = Text();
    info.Name = win::MenuCaptionText(caption);
    info.Role = ROLE_SYSTEM_CHECKBUTTON;
    if (checked_) info.State |= STATE_SYSTEM_CHECKED;
    if (pressing_) info.State |= STATE_SYSTEM_PRESSED;
    info.DefaultAction = checked_ ? L"Uncheck" : L"Check";
    info.KeyboardShortcut = win::MnemonicShortcut(caption);
    return true;
}

void TFlatCheckBox::Repaint() {
    if (Handle()) Invalidate(!transparent_);
}

void TFlatCheckBox::SetChecked(bool v) {
    if (checked_ == v) return;
    checked_ = v;
    if (OnClick) OnClick();
    PaintCheckSquare();
}

void TFlatCheckBox::SetTransparent(bool v) {
    transparent_ = v;
    Repaint();
}

void TFlatCheckBox::SetLayout(TCheckBoxLayout v) {
    layout_ = v;
    Repaint();
}

#define CHECK_COLOR_SETTER(Name, field) \
    void TFlatCheckBox::Set##Name(TColor v) { \
        field = v; \
        Repaint(); \
    }
CHECK_COLOR_SETTER(ColorFocused, colorFocused_)
CHECK_COLOR_SETTER(ColorDown, colorDown_)
CHECK_COLOR_SETTER(ColorCheck, colorCheck_)
CHECK_COLOR_SETTER(ColorBorder, colorBorder_)
CHECK_COLOR_SETTER(FontColor, fontColor_)
#undef CHECK_COLOR_SETTER

void TFlatCheckBox::SetAdvColorFocused(TAdvColors v) {
    advFocused_ = v > 100 ? 100 : v;
    RecalcAdvColors();
    Repaint();
}

void TFlatCheckBox::SetAdvColorDown(TAdvColors v) {
    advDown_ = v > 100 ? 100 : v;
    RecalcAdvColors();
    Repaint();
}

void TFlatCheckBox::SetAdvColorBorder(TAdvColors v) {
    advBorder_ = v > 100 ? 100 : v;
    RecalcAdvColors();
    Repaint();
}

void TFlatCheckBox::SetUseAdvColors(bool v) {
    if (useAdvColors_ == v) return;
    useAdvColors_ = v;
    SetParentColor(v);
    RecalcAdvColors();
    Repaint();
}

void TFlatCheckBox::RecalcAdvColors() {
    if (!useAdvColors_) return;
    colorFocused_ = DeriveAdvColor(Color(), colorFocused_, advFocused_, AdvColorMode::Lighten);
    colorDown_ = DeriveAdvColor(Color(), colorDown_, advDown_, AdvColorMode::Darken);
    colorBorder_ = DeriveAdvColor(Color(), colorBorder_, advBorder_, AdvColorMode::Darken);
}

void TFlatCheckBox::PaintCheckSquare() {
    if (!Handle() || !IsWindowVisible(Handle())) return;
    win::WindowDC dc(Handle());
    Canvas canvas(dc);
    PaintCheckSquare(canvas);
}

void TFlatCheckBox::PaintCheckSquare(Canvas& canvas) {
    const RECT sq = SquareRect();
    const bool hc = win::HighContrast(), enabled = Window::Enabled();
    // The keyboard focus has a look of its own, far from the resting one:
    // a box toggled with Space must be seen before it is toggled.
    TColor fill = hc ? win::clWindow : Color();
    TColor mark = hc ? win::clWindowText : colorCheck_;
    if (pressing_) {
        fill = hc ? win::clHighlight : colorDown_;
        if (hc) mark = win::clHighlightText;
    } else if (hasFocus_) {
        fill = hc ? win::clHighlight : FocusFill(Color());
        mark = hc ? win::clHighlightText : MarkOn(win::ColorToRGB(fill));
    } else if (Hovered && !hc) {
        fill = colorFocused_;
    }
    if (!enabled) mark = hc ? win::clGrayText : clBtnShadow;
    canvas.SetBrush(fill);
    canvas.FillRect(sq);
    if (checked_) {
        // The 96-DPI tick is three one-pixel strokes per arm; larger, each
        // stroke is as thick as a scaled pixel.
        const int unit = std::max(1, Px(1));
        canvas.SetPen(mark, 1);
        const int x = sq.left, y = sq.top;
        static const int strokes[6][4] = {
            {2, 4, 6, 8}, {2, 5, 5, 8}, {2, 6, 5, 9},  // left arm
            {8, 2, 4, 6}, {8, 3, 4, 7}, {8, 4, 5, 7},  // right arm
        };
        for (auto& s : strokes)
            for (int d = 0; d < unit; ++d) {
                canvas.MoveTo(x + Px(s[0]) + d, y + Px(s[1]));
                canvas.LineTo(x + Px(s[2]) + d, y + Px(s[3]));
            }
    }
    // The border as wide as a scaled pixel.
    canvas.SetBrush(hc ? (enabled ? win::clWindowText : win::clGrayText) : colorBorder_);
    RECT frame = sq;
    for (int i = 0; i < std::max(1, Px(1)); ++i) {
        canvas.FrameRect(frame);
        InflateRect(&frame, -1, -1);
    }
}

void TFlatCheckBox::PaintCheckCaption(Canvas& canvas) {
    const std::wstring caption = Text();
    if (caption.empty()) return;
    canvas.SetClearBrush();
    RECT r = CaptionRect();
    const UINT flags = DT_WORDBREAK | DT_TOP | (layout_ == checkboxLeft ? DT_LEFT : DT_RIGHT);
    if (win::HighContrast()) {
        canvas.SetFontColor(Window::Enabled() ? win::clBtnText : win::clGrayText);
        canvas.DrawText(caption, r, flags);
    } else if (Window::Enabled()) {
        canvas.SetFontColor(fontColor_);
        canvas.DrawText(caption, r, flags);
    } else {
        OffsetRect(&r, Px(1), Px(1));
        canvas.SetFontColor(clBtnHighlight);
        canvas.DrawText(caption, r, flags);
        OffsetRect(&r, -Px(1), -Px(1));
        canvas.SetFontColor(clBtnShadow);
        canvas.DrawText(caption, r, flags);
    }
}

void TFlatCheckBox::Paint(Canvas& canvas) {
    if (transparent_) PaintParentBackground(*this, canvas.Handle());
    PaintCheckSquare(canvas);
    PaintCheckCaption(canvas);
}

LRESULT TFlatCheckBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Window::Enabled()) return 0;
        SetFocus();
        pressing_ = true;
        // A click that activated the window came without a pointer move
        // while active; the box under the pointer is hot all the same.
        {
            POINT p{x, y};
            ClientToScreen(Handle(), &p);
            Tracker().PointerMoved(*this, p);
        }
        PaintCheckSquare();
        SetCapture(Handle());
        if (OnMouseDown) OnMouseDown(VK_LBUTTON, x, y);
        return 0;
    case WM_LBUTTONUP:
        if (!Window::Enabled()) return 0;
        if (GetCapture() == Handle()) ReleaseCapture();
        pressing_ = false;
        if (Hovered) SetChecked(!checked_);
        PaintCheckSquare();
        if (OnMouseUp) OnMouseUp(VK_LBUTTON, x, y);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return 0;
    case WM_MOUSEMOVE:
        Control::WndProc(msg, wp, lp);
        if (OnMouseMove) OnMouseMove(x, y);
        {
            POINT p{x, y};
            ClientToScreen(Handle(), &p);
            Tracker().PointerMoved(*this, p);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press (a message box, a menu): no press is held.
        if ((HWND)lp != Handle() && pressing_) {
            pressing_ = false;
            PaintCheckSquare();
        }
        break;
    case win::CM_DIALOGCHAR:
        if (win::IsAccel(wp, Text()) && CanFocus()) {
            SetFocus();
            SetChecked(!checked_);
            return 1;
        }
        if (wp == L' ' && hasFocus_) SetChecked(!checked_);
        return 0;
    case WM_SETFOCUS:
        Control::WndProc(msg, wp, lp);
        if (Window::Enabled()) hasFocus_ = true;
        if (OnEnter) OnEnter();
        PaintCheckSquare();
        return 0;
    case WM_KILLFOCUS:
        Control::WndProc(msg, wp, lp);
        if (Window::Enabled()) {
            hasFocus_ = false;
            Tracker().HoverOff(*this);
        }
        hasFocus_ = false;
        if (OnExit) OnExit();
        PaintCheckSquare();
        return 0;
    case win::CM_ENABLEDCHANGED:
        if (!Window::Enabled()) {
            Hovered = false;
            pressing_ = false;
            Tracker().StopHoverTimer(*this);
        }
        Repaint();
        return 0;
    case win::CM_TEXTCHANGED:
    case win::CM_FONTCHANGED:
    case win::CM_COLORCHANGED:
        Repaint();
        return 0;
    case win::CM_PARENTCOLORCHANGED:
        Control::WndProc(msg, wp, lp);
        if (useAdvColors_) {
            SetParentColor(true);
            RecalcAdvColors();
        }
        Repaint();
        return 0;
    case win::CM_SYSCOLORCHANGE:
        if (useAdvColors_) {
            SetParentColor(true);
            RecalcAdvColors();
        }
        Repaint();
        return 0;
    case WM_MOVE:
    case WM_SIZE: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        if (transparent_) Repaint();
        return r;
    }
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace flat
