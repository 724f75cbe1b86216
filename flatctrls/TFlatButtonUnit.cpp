#include "flatctrls/TFlatButtonUnit.h"

#include "win/Dpi.h"

#include <windowsx.h>

#include <memory>
#include <set>

#include <oleacc.h>

#include "win/Form.h"
#include "win/PopupMenu.h"
#include "win/Notify.h"

namespace flat {

using win::Canvas;

namespace {
// Live buttons, so that a button-pressed notification names a real sender.
std::set<const FlatButtonCore*>& LiveButtons() {
    static std::set<const FlatButtonCore*> live;
    return live;
}
}  // namespace

FlatButtonCore::FlatButtonCore(HoverTracker& tracker, int kind) : tracker_(tracker), kind_(kind) {
    LiveButtons().insert(this);
}

FlatButtonCore::~FlatButtonCore() {
    LiveButtons().erase(this);
    tracker_.Unregister(*this);
}

void FlatButtonCore::SetTransparentMode(TTransparentMode v) {
    transparentMode_ = v;
    InvalidateButton();
}

void FlatButtonCore::SetAllowAllUp(bool v) {
    if (allowAllUp_ == v) return;
    allowAllUp_ = v;
    NotifyGroup();
}

#define FLAT_COLOR_SETTER(Name, field) \
    void FlatButtonCore::Set##Name(TColor v) { \
        field = v; \
        InvalidateButton(); \
    }
FLAT_COLOR_SETTER(ColorFocused, colorFocused_)
FLAT_COLOR_SETTER(ColorDown, colorDown_)
FLAT_COLOR_SETTER(ColorBorder, colorBorder_)
FLAT_COLOR_SETTER(ColorHighLight, colorHighLight_)
FLAT_COLOR_SETTER(ColorShadow, colorShadow_)
FLAT_COLOR_SETTER(FontColor, fontColor_)
#undef FLAT_COLOR_SETTER

static TAdvColors ClampPercent(TAdvColors v) { return v > 100 ? 100 : v; }

void FlatButtonCore::SetAdvColorFocused(TAdvColors v) {
    advFocused_ = ClampPercent(v);
    RecalcAdvColors();
    InvalidateButton();
}

void FlatButtonCore::SetAdvColorDown(TAdvColors v) {
    advDown_ = ClampPercent(v);
    RecalcAdvColors();
    InvalidateButton();
}

void FlatButtonCore::SetAdvColorBorder(TAdvColors v) {
    advBorder_ = ClampPercent(v);
    RecalcAdvColors();
    InvalidateButton();
}

void FlatButtonCore::SetUseAdvColors(bool v) {
    if (useAdvColors_ == v) return;
    useAdvColors_ = v;
    SetParentColorFlag(v);
    RecalcAdvColors();
    InvalidateButton();
}

void FlatButtonCore::RecalcAdvColors() {
    if (!useAdvColors_) return;
    colorFocused_ = DeriveAdvColor(BaseColor(), colorFocused_, advFocused_, AdvColorMode::Lighten);
    colorDown_ = DeriveAdvColor(BaseColor(), colorDown_, advDown_, AdvColorMode::Darken);
    colorBorder_ = DeriveAdvColor(BaseColor(), colorBorder_, advBorder_, AdvColorMode::Darken);
}

void FlatButtonCore::SetGroupIndex(int v) {
    if (groupIndex_ == v) return;
    groupIndex_ = v;
    NotifyGroup();
}

void FlatButtonCore::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = v;
    if (v) {
        if (state_ == ButtonState::Up) InvalidateButton();
        state_ = ButtonState::Latched;
    } else {
        state_ = ButtonState::Up;
        RepaintButtonNow();
    }
    if (v) NotifyGroup();
}

void FlatButtonCore::SetGlyph(const win::Bitmap& picture) {
    if (&picture == &glyph_) return;
    glyph_.Assign(picture);
    numGlyphs_ = NumGlyphsFor(glyph_, numGlyphs_);
    InvalidateButton();
}

void FlatButtonCore::SetGlyph(HBITMAP picture) {
    win::Bitmap copy;
    copy.AssignHandle(picture);
    SetGlyph(copy);
}

void FlatButtonCore::SetLayout(TButtonLayout v) {
    if (layout_ == v) return;
    layout_ = v;
    InvalidateButton();
}

void FlatButtonCore::SetMargin(int v) {
    if (margin_ == v || v < -1) return;
    margin_ = v;
    InvalidateButton();
}

void FlatButtonCore::SetNumGlyphs(int v) {
    if (v < 1) v = 1;
    if (v > 4) v = 4;
    if (numGlyphs_ == v) return;
    numGlyphs_ = v;
    InvalidateButton();
}

void FlatButtonCore::SetSpacing(int v) {
    if (spacing_ == v) return;
    spacing_ = v;
    InvalidateButton();
}

void FlatButtonCore::Click() {
    if (HWND parent = ButtonParent())
        if (win::Form* form = win::ParentFormOf(parent)) form->ModalResult = ModalResult;
    if (OnClick) OnClick();
}

void FlatButtonCore::NotifyGroup() {
    if (groupIndex_ != 0 && ButtonParent())
        win::NotifyChildren(ButtonParent(), win::CM_BUTTONPRESSED, (WPARAM)groupIndex_,
                            (LPARAM) static_cast<const FlatButtonCore*>(this));
}

void FlatButtonCore::ButtonPressed(WPARAM group, LPARAM lp) {
    auto* sender = reinterpret_cast<const FlatButtonCore*>(lp);
    if ((int)group != groupIndex_ || sender == this || !LiveButtons().count(sender)) return;
    if (sender->kind_ != kind_) return;  // only buttons of the same class form a group
    if (sender->down_ && down_) {
        down_ = false;
        state_ = ButtonState::Up;
        InvalidateButton();
    }
    allowAllUp_ = sender->allowAllUp_;
}

bool FlatButtonCore::Inside(int x, int y) const {
    SIZE s = ClientSize();
    return x >= 0 && x < s.cx && y >= 0 && y <= s.cy;  // the bottom edge counts
}

void FlatButtonCore::MouseDown(int button, int x, int y) {
    BeginCapture();
    if (OnMouseDown) OnMouseDown(button, x, y);
    if (button != VK_LBUTTON || !ButtonEnabled()) return;
    if (!down_) {
        state_ = ButtonState::Pressed;
        InvalidateButton();
    }
    tracking_ = true;
    TakeFocus();
}

void FlatButtonCore::MouseMove(int x, int y) {
    if (OnMouseMove) OnMouseMove(x, y);
    tracker_.PointerMoved(*this, ToScreen(x, y));
    if (!tracking_) return;
    ButtonState s = down_ ? ButtonState::Latched : ButtonState::Up;
    if (Inside(x, y)) s = down_ ? ButtonState::Latched : ButtonState::Pressed;
    if (s != state_) {
        state_ = s;
        InvalidateButton();
    }
}

void FlatButtonCore::MouseUp(int button, int x, int y) {
    EndCapture();
    if (OnMouseUp) OnMouseUp(button, x, y);
    if (!tracking_) return;
    tracking_ = false;
    const bool inside = Inside(x, y);
    if (groupIndex_ == 0) {
        state_ = ButtonState::Up;
        Hovered = false;
        if (inside) InvalidateButton();
    } else if (inside) {
        SetDown(!down_);
        if (down_) RepaintButtonNow();
    } else {
        if (down_) state_ = ButtonState::Latched;
        RepaintButtonNow();
    }
    if (inside) Click();
    else tracker_.HoverOff(*this);
    tracker_.RefreshHover(*this);
}

void FlatButtonCore::DoubleClick(int x, int y) {
    MouseDown(VK_LBUTTON, x, y);
    if (down_ && OnDblClick) OnDblClick();
}

bool FlatButtonCore::DialogChar(WPARAM ch, bool latchOnAccel) {
    if (!win::IsAccel(ch, ButtonCaption()) || !ButtonEnabled()) return false;
    if (latchOnAccel && groupIndex_ != 0) SetDown(true);
    Click();
    return true;
}

void FlatButtonCore::EnabledChanged() {
    if (!ButtonEnabled()) {
        Hovered = false;
        state_ = ButtonState::Disabled;
        tracker_.StopHoverTimer(*this);
    }
    tracker_.RefreshHover(*this);
    InvalidateButton();
}

void FlatButtonCore::ParentColorChanged() {
    if (useAdvColors_) {
        SetParentColorFlag(true);
        RecalcAdvColors();
    }
    InvalidateButton();
}

void FlatButtonCore::SysColorChanged() {
    if (useAdvColors_) {
        SetParentColorFlag(true);
        RecalcAdvColors();
    }
    InvalidateButton();
}

void FlatButtonCore::PaintButton(Canvas& canvas, bool windowed, bool isDefault) {
    const SIZE size = ClientSize();
    const RECT client{0, 0, size.cx, size.cy};
    // Frames, the press offset and the gaps are 96-DPI pixels, drawn at the
    // button's DPI.
    const UINT dpi = win::DpiOf(ButtonParent());
    auto px = [dpi](int v) { return win::Scale(v, dpi); };
    const bool sunk = state_ == ButtonState::Pressed || state_ == ButtonState::Latched;
    const POINT offset{sunk ? px(1) : 0, sunk ? px(1) : 0};
    const std::wstring caption = ButtonCaption();
    const GlyphLayout layout = LayoutGlyphAndText(canvas, client, offset, layout_, spacing_ < 0 ? spacing_ : px(spacing_),
                                                  margin_ < 0 ? margin_ : px(margin_), &glyph_, numGlyphs_, caption);
    if (!ButtonEnabled()) {
        state_ = ButtonState::Disabled;
        tracking_ = false;
    } else if (state_ == ButtonState::Disabled) {
        state_ = down_ && groupIndex_ != 0 ? ButtonState::Latched : ButtonState::Up;
    }

    // A high-contrast scheme gets the system's colours only: a hot or
    // pressed button is highlighted, as a selected item is.
    const bool hc = win::HighContrast();
    const bool lit = Hovered || state_ == ButtonState::Pressed || state_ == ButtonState::Latched;
    TColor face = BaseColor();
    switch (state_) {
    case ButtonState::Up: face = Hovered ? colorFocused_ : BaseColor(); break;
    case ButtonState::Disabled: face = BaseColor(); break;
    case ButtonState::Pressed: face = colorDown_; break;
    case ButtonState::Latched: face = Hovered ? colorFocused_ : colorDown_; break;
    }
    if (hc) face = state_ != ButtonState::Disabled && lit ? win::clHighlight : clBtnFace;
    const bool fill = hc || transparentMode_ == tmNone || (transparentMode_ == tmNotFocused && Hovered);
    if (fill) {
        canvas.SetBrush(face);
        canvas.FillRect(client);
    } else if (windowed) {
        PaintParentBackground(ButtonParent(), BoundsInParent(), canvas.Handle());
    }

    if (hc) {
        const TColor edge = state_ == ButtonState::Disabled ? win::clGrayText : win::clBtnText;
        DrawBevelFrame(canvas, client, edge, edge, px(isDefault && state_ != ButtonState::Disabled ? 2 : 1));
    } else {
        switch (state_) {
        case ButtonState::Up:
            if (Hovered) DrawBevelFrame(canvas, client, colorHighLight_, colorShadow_, px(1));
            else DrawBevelFrame(canvas, client, colorBorder_, colorBorder_, px(isDefault ? 2 : 1));
            break;
        case ButtonState::Disabled: DrawBevelFrame(canvas, client, colorBorder_, colorBorder_, px(1)); break;
        case ButtonState::Pressed:
        case ButtonState::Latched: DrawBevelFrame(canvas, client, colorShadow_, colorHighLight_, px(1)); break;
        }
    }

    if (!glyph_.Empty()) DrawGlyph(canvas.Handle(), glyph_, numGlyphs_, state_, layout.glyphOrigin);

    if (!caption.empty()) {
        canvas.SetClearBrush();
        RECT r = layout.captionRect;
        const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (hc) {
            canvas.SetFontColor(state_ == ButtonState::Disabled ? win::clGrayText
                                : lit                           ? win::clHighlightText
                                                                : win::clBtnText);
            canvas.DrawText(caption, r, flags);
        } else if (state_ == ButtonState::Disabled) {
            OffsetRect(&r, px(1), px(1));
            canvas.SetFontColor(clBtnHighlight);
            canvas.DrawText(caption, r, flags);
            OffsetRect(&r, -px(1), -px(1));
            canvas.SetFontColor(clBtnShadow);
            canvas.DrawText(caption, r, flags);
        } else {
            canvas.SetFontColor(fontColor_);
            canvas.DrawText(caption, r, flags);
        }
    }
}

bool FlatButtonCore::DescribeButton(win::AccessibleInfo& info) const {
    const std::wstring caption = ButtonCaption();
    info.Name = AccessibleName.empty() ? win::MenuCaptionText(caption) : AccessibleName;
    info.Role = ROLE_SYSTEM_PUSHBUTTON;
    if (groupIndex_ != 0 && down_) info.State |= STATE_SYSTEM_PRESSED;
    info.DefaultAction = L"Press";
    info.KeyboardShortcut = AccessibleShortcut.empty() ? win::MnemonicShortcut(caption) : AccessibleShortcut;
    return true;
}

// ---- TFlatButton ----

HoverTracker& TFlatButton::Tracker() {
    static HoverTracker tracker;
    return tracker;
}

TFlatButton::TFlatButton() : FlatButtonCore(Tracker(), 1) {}

TFlatButton::~TFlatButton() = default;

void TFlatButton::Create(HWND parent, int x, int y, int w, int h, const std::wstring& caption) {
    CreateControl(parent, x, y, w, h, WS_VISIBLE, 0, nullptr, caption.c_str());
    Invalidate(false);
}

void TFlatButton::SetDefault(bool v) {
    default_ = v;
    if (Handle())
        if (win::Form* form = win::ParentFormOf(Handle()))
            SendMessageW(form->Handle(), win::CM_FOCUSCHANGED, 0, (LPARAM)GetFocus());
    InvalidateButton();
}

bool TFlatButton::DescribeAccessible(win::AccessibleInfo& info) const {
    DescribeButton(info);
    if (default_) info.State |= STATE_SYSTEM_DEFAULT;
    return true;
}

void TFlatButton::DoAccessibleDefault() { Click(); }

SIZE TFlatButton::ClientSize() const {
    RECT r = ClientRect();
    return {r.right, r.bottom};
}

POINT TFlatButton::ToScreen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(Handle(), &p);
    return p;
}

void TFlatButton::Paint(Canvas& canvas) {
    const SIZE size = ClientSize();
    if (size.cx <= 0 || size.cy <= 0) return;
    // Composed off-screen and copied once, so a state change never flickers.
    win::Bitmap off(size.cx, size.cy);
    {
        Canvas oc(off.DC());
        oc.SetFont(Font());
        PaintButton(oc, true, default_);
    }
    BitBlt(canvas.Handle(), 0, 0, size.cx, size.cy, off.DC(), 0, 0, SRCCOPY);
}

LRESULT TFlatButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_LBUTTONDOWN: MouseDown(VK_LBUTTON, x, y); return 0;
    case WM_RBUTTONDOWN: MouseDown(VK_RBUTTON, x, y); return 0;
    case WM_MBUTTONDOWN: MouseDown(VK_MBUTTON, x, y); return 0;
    case WM_LBUTTONDBLCLK: DoubleClick(x, y); return 0;
    case WM_LBUTTONUP: MouseUp(VK_LBUTTON, x, y); return 0;
    case WM_RBUTTONUP: MouseUp(VK_RBUTTON, x, y); return 0;
    case WM_MBUTTONUP: MouseUp(VK_MBUTTON, x, y); return 0;
    case WM_MOUSEMOVE:
        Control::WndProc(msg, wp, lp);  // enter and leave
        MouseMove(x, y);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_SPACE) {
            if (GroupIndex() == 0) state_ = ButtonState::Pressed;
            else SetDown(true);
            InvalidateButton();
        }
        return 0;
    case WM_KEYUP:
        if (wp == VK_SPACE) {
            if (GroupIndex() == 0) state_ = ButtonState::Up;
            else SetDown(false);
            Click();
            InvalidateButton();
        }
        return 0;
    case WM_SETFOCUS:
        Control::WndProc(msg, wp, lp);
        if (Window::Enabled()) {
            Hovered = true;
            InvalidateButton();
        }
        return 0;
    case WM_KILLFOCUS:
        Control::WndProc(msg, wp, lp);
        tracker_.HoverOff(*this);
        return 0;
    case WM_MOVE:
    case WM_SIZE: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        if (TransparentMode() != tmNone) InvalidateButton();
        return r;
    }
    case win::CM_DIALOGCHAR: return DialogChar(wp, true) ? 1 : 0;
    case win::CM_BUTTONPRESSED: ButtonPressed(wp, lp); return 0;
    case win::CM_ENABLEDCHANGED: EnabledChanged(); return 0;
    case win::CM_FONTCHANGED:
    case win::CM_TEXTCHANGED:
    case win::CM_COLORCHANGED: InvalidateButton(); return 0;
    case win::CM_PARENTCOLORCHANGED:
        Control::WndProc(msg, wp, lp);
        ParentColorChanged();
        return 0;
    case win::CM_SYSCOLORCHANGE: SysColorChanged(); return 0;
    case win::CM_MOUSEENTER:
        if (OnMouseEnter) OnMouseEnter();
        return 0;
    case win::CM_MOUSELEAVE:
        if (OnMouseLeave) OnMouseLeave();
        return 0;
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace flat
