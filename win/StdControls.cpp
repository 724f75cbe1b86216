#include "win/StdControls.h"

#include "win/Dpi.h"
#include "win/Form.h"

#include "win/Gdi.h"
#include "win/Notify.h"

namespace win {

namespace {
HFONT ParentFont(HWND parent) { return (HFONT)SendMessageW(parent, WM_GETFONT, 0, 0); }

}  // namespace

SIZE TextExtent(HWND window, const std::wstring& text) {
    WindowDC dc(window);
    Selection font(dc, (HFONT)SendMessageW(window, WM_GETFONT, 0, 0));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
    return size;
}

void Label::Create(HWND parent, const std::wstring& text, int x, int y, int w, int h,
                   DWORD extraStyle) {
    CreateStandard(L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | (OnClick ? SS_NOTIFY : 0) | extraStyle,
                   0, x, y, w, h, parent, 0);
    SetFont(ParentFont(parent));
    fitWidth_ = w == 0;
    fitHeight_ = h == 0;
    FitToText();
}

void Label::FitToText() {
    if (!fitWidth_ && !fitHeight_) return;
    // Sized to the text in the font at the window's DPI.
    SIZE s = TextExtent(Handle(), Text());
    RECT r = Bounds();
    SetBounds(r.left, r.top, fitWidth_ ? s.cx : r.right - r.left, fitHeight_ ? s.cy : r.bottom - r.top);
    r = Bounds();
    RECT design{};
    DesignBounds(design);
    const UINT dpi = DpiOf(Handle());
    SetDesignBounds({design.left, design.top, design.left + Unscale(r.right - r.left, dpi),
                     design.top + Unscale(r.bottom - r.top, dpi)});
}

LRESULT Label::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == CM_DPICHANGED) {
        FitToText();
        return 0;
    }
    return Window::WndProc(msg, wp, lp);
}

bool Label::OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC) {
        HDC dc = (HDC)wp;
        SetBkMode(dc, TRANSPARENT);
        // Said outright: a device's own default is black, which a dark
        // (high-contrast) scheme would hide.
        SetTextColor(dc, TextColor != CLR_INVALID ? TextColor
                         : GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        result = (LRESULT)GetStockObject(NULL_BRUSH);
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == STN_CLICKED && OnClick) {
        OnClick();
        result = 0;
        return true;
    }
    return false;
}

void PushButton::Create(HWND parent, const std::wstring& text, int x, int y, int w, int h,
                        DWORD extraStyle) {
    CreateStandard(L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | extraStyle,
                   0, x, y, w, h, parent, 0);
    SetFont(ParentFont(parent));
}

bool PushButton::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
    if (OnClick) OnClick();
    if (ModalResult)
        if (auto* form = dynamic_cast<Form*>(Window::FromHandle(GetAncestor(Handle(), GA_ROOT))))
            form->ModalResult = ModalResult;
    result = 0;
    return true;
}

void GroupBox::Create(HWND parent, const std::wstring& text, int x, int y, int w, int h) {
    // A control parent: Tab moves through the controls inside the box.
    CreateStandard(L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT,
                   x, y, w, h, parent, 0);
    SetFont(ParentFont(parent));
}

LRESULT GroupBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (ReflectToChild(Handle(), msg, wp, lp, result)) return result;
    if (HandleHostMessage(Handle(), msg, wp, lp, result)) return result;
    if (msg == WM_PAINT && (wp || !Controls().empty())) {
        // The box draws itself into our DC, then its windowless controls go on top.
        auto paint = [this](HDC dc) {
            DefaultProc(WM_PAINT, (WPARAM)dc, 0);
            PaintControls(dc);
        };
        if (wp) {
            paint((HDC)wp);
        } else {
            PaintDC dc(Handle());
            paint(dc);
        }
        return 0;
    }
    if (msg == WM_ERASEBKGND) {
        // The inside of the box shows its parent's face.
        RECT r = ClientRect();
        FillRect((HDC)wp, &r, SolidBrush(ColorToRGB(ParentColorOf(GetParent(Handle())))));
        return 1;
    }
    return DefaultProc(msg, wp, lp);
}

}  // namespace win
