#include "flatctrls/TFlatEditUnit.h"

#include <oleacc.h>

#include <algorithm>

#include "win/Dpi.h"
#include "win/FontFallback.h"
#include "win/Gdi.h"
#include "win/Notify.h"

namespace flat {

using win::ColorToRGB;

void TCustomFlatEdit::Create(HWND parent, int x, int y, int w, int h, const std::wstring& text) {
    CreateControl(parent, x, y, w, h, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, 0, L"EDIT",
                  text.c_str());
    if (parentColor_) colorFlat_ = ParentsColor();
    RecalcAdvColors();
    // The frame is our own: make the edit ask for its client area again.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitHeightToFont();
    FollowTextFont();
    PaintFlatBorder();
}

void TCustomFlatEdit::FollowTextFont() {
    if (!Handle()) return;
    win::FontHandle font = win::FontForText(Font(), Text());
    LOGFONTW lf{};
    if (font) GetObjectW(font, sizeof(lf), &lf);
    std::wstring face = font ? lf.lfFaceName : L"";
    if (face == textFace_ && (font || !textFont_)) return;
    textFace_ = face;
    // The edit takes the new font before the old one goes.
    DefaultProc(WM_SETFONT, (WPARAM)(font ? font.Get() : Font()), TRUE);
    textFont_ = std::move(font);
}

TColor TCustomFlatEdit::ParentsColor() const { return win::ParentColorOf(Parent()); }

void TCustomFlatEdit::SetColorFocused(TColor v) {
    colorFocused_ = v;
    PaintFlatBorder();
}

void TCustomFlatEdit::SetColorBorder(TColor v) {
    colorBorder_ = v;
    PaintFlatBorder();
}

void TCustomFlatEdit::SetColorFlat(TColor v) {
    colorFlat_ = v;
    parentColor_ = false;
    PaintFlatBorder();
}

void TCustomFlatEdit::SetParentColor(bool v) {
    if (parentColor_ == v) return;
    parentColor_ = v;
    if (!v) return;
    if (Parent()) colorFlat_ = ParentsColor();
    PaintFlatBorder();
}

void TCustomFlatEdit::SetAdvColorFocused(TAdvColors v) {
    advFocused_ = v > 100 ? 100 : v;
    if (useAdvColors_) {
        RecalcAdvColors();
        PaintFlatBorder();
    }
}

void TCustomFlatEdit::SetAdvColorBorder(TAdvColors v) {
    advBorder_ = v > 100 ? 100 : v;
    if (useAdvColors_) {
        RecalcAdvColors();
        PaintFlatBorder();
    }
}

void TCustomFlatEdit::SetUseAdvColors(bool v) {
    if (useAdvColors_ == v) return;
    useAdvColors_ = v;
    SetParentColor(v);
    RecalcAdvColors();
    PaintFlatBorder();
}

void TCustomFlatEdit::RecalcAdvColors() {
    if (!useAdvColors_) return;
    colorFocused_ = DeriveAdvColor(colorFlat_, colorFocused_, advFocused_, AdvColorMode::Lighten);
    colorBorder_ = DeriveAdvColor(colorFlat_, colorBorder_, advBorder_, AdvColorMode::Darken);
}

void TCustomFlatEdit::SetMaxLength(int n) { SendMessageW(Handle(), EM_SETLIMITTEXT, n, 0); }
void TCustomFlatEdit::SetReadOnly(bool v) { SendMessageW(Handle(), EM_SETREADONLY, v, 0); }
void TCustomFlatEdit::SetPasswordChar(wchar_t ch) {
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, ch, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}
void TCustomFlatEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

void TCustomFlatEdit::SetBackColor(TColor c) {
    // A system colour can change under the same name.
    if (c == backColor_ && backBrush_ && backRgb_ == ColorToRGB(c)) return;
    backColor_ = c;
    backRgb_ = ColorToRGB(c);
    backBrush_ = win::SolidBrush(backRgb_);
    InvalidateRect(Handle(), nullptr, TRUE);  // only the text area
}

void TCustomFlatEdit::PaintFlatBorder() {
    if (!Handle()) return;  // without a window the first frame paint draws it
    win::WindowDC dc(Handle(), win::WindowDC::Whole);
    if (!dc) return;
    RECT r{};
    GetWindowRect(Handle(), &r);
    OffsetRect(&r, -r.left, -r.top);
    HWND focus = GetFocus();
    const bool hot = focus == Handle() ||
                     (hovered_ && !dynamic_cast<TCustomFlatEdit*>(Window::FromHandle(focus)));
    const bool hc = win::HighContrast();
    const TColor back = hc ? win::clWindow : hot ? colorFocused_ : colorFlat_;
    SetBackColor(back);
    win::Brush border = win::SolidBrush(ColorToRGB(hc ? (hot ? win::clHighlight : win::clWindowText) : colorBorder_));
    win::Brush inner = win::SolidBrush(ColorToRGB(back));
    // One border line and two inner ones, each as wide as a scaled pixel.
    const int unit = std::max(1, Px(1));
    for (int i = 0; i < 3 * unit; ++i) {
        FrameRect(dc, &r, i < unit ? border : inner);
        InflateRect(&r, -1, -1);
    }
}

bool TCustomFlatEdit::DescribeAccessible(win::AccessibleInfo& info) const {
    const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    info.Name = win::LabelBefore(Handle());
    info.Role = ROLE_SYSTEM_TEXT;
    if (style & ES_READONLY) info.State |= STATE_SYSTEM_READONLY;
    const bool secret = SendMessageW(Handle(), EM_GETPASSWORDCHAR, 0, 0) != 0;
    if (secret) info.State |= STATE_SYSTEM_PROTECTED;
    info.HasValue = !secret;
    if (!secret) info.Value = Text();
    return true;
}

int TCustomFlatEdit::Px(int value) const { return win::Scale(value, win::DpiOf(Handle())); }

void TCustomFlatEdit::FitHeightToFont() {
    if (!Handle()) return;
    win::WindowDC dc(nullptr);
    win::Selection font(dc, Font() ? (HGDIOBJ)Font() : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT r = Bounds();
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, tm.tmHeight + 2 * FrameWidth(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TCustomFlatEdit::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
        HDC dc = (HDC)wp;
        if (!backBrush_) SetBackColor(backColor_);
        SetBkColor(dc, ColorToRGB(backColor_));
        SetTextColor(dc, GetSysColor(Window::Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        result = (LRESULT)backBrush_.Get();
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        FollowTextFont();
        if (OnChange) OnChange();
        result = 0;
        return true;
    }
    return false;
}

LRESULT TCustomFlatEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCALCSIZE: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        RECT* client = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
        InflateRect(client, -FrameWidth(), -FrameWidth());
        return r;
    }
    case WM_NCPAINT: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        PaintFlatBorder();
        return r;
    }
    case win::CM_MOUSEENTER:
        if (win::ApplicationActive()) {
            hovered_ = true;
            PaintFlatBorder();
        }
        return 0;
    case win::CM_MOUSELEAVE:
        hovered_ = false;
        PaintFlatBorder();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        PaintFlatBorder();
        return r;
    }
    case win::CM_ENABLEDCHANGED: PaintFlatBorder(); return 0;
    case win::CM_FONTCHANGED:
        textFace_.clear();
        textFont_.Reset();
        FitHeightToFont();
        FollowTextFont();
        return 0;
    case win::CM_DPICHANGED:
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        FitHeightToFont();
        return 0;
    case WM_SETTEXT: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        FollowTextFont();
        return r;
    }
    case win::CM_PARENTCOLORCHANGED:
    case win::CM_SYSCOLORCHANGE:
        if (useAdvColors_) {
            if (Parent()) colorFlat_ = ParentsColor();
            RecalcAdvColors();
        } else if (parentColor_) {
            if (Parent()) colorFlat_ = ParentsColor();
        }
        PaintFlatBorder();
        return 0;
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace flat
