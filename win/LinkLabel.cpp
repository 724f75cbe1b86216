#include "win/LinkLabel.h"

#include "win/Notify.h"

namespace win {

LinkLabel::~LinkLabel() {
    // The window goes first so that it never holds a deleted font.
    if (Handle() && IsWindow(Handle())) SendMessageW(Handle(), WM_SETFONT, 0, FALSE);
}

void LinkLabel::Create(HWND parent, const std::wstring& text, int x, int y) {
    // A tab stop, so that the keyboard reaches what a click reaches.
    Label::Create(parent, text, x, y, 0, 0, SS_NOTIFY | WS_TABSTOP);
    UnderlineParentFont();
}

void LinkLabel::UnderlineParentFont() {
    LOGFONTW lf{};
    HFONT base = (HFONT)SendMessageW(GetParent(Handle()), WM_GETFONT, 0, 0);
    if (!base || !GetObjectW(base, sizeof(lf), &lf)) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    FontHandle old = std::move(font_);
    font_.Reset(CreateFontIndirectW(&lf));
    SetFont(font_);
    FitToText();
}

void LinkLabel::RedrawUnder() {
    // The label is transparent: its parent paints what lies under it.
    RECT r = Bounds();
    RedrawWindow(GetParent(Handle()), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT LinkLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case CM_DPICHANGED: UnderlineParentFont(); return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT r = Label::WndProc(msg, wp, lp);
        RedrawUnder();
        return r;
    }
    case WM_PAINT: {
        LRESULT r = Label::WndProc(msg, wp, lp);
        if (GetFocus() == Handle()) {
            HDC dc = GetDC(Handle());
            RECT c{};
            GetClientRect(Handle(), &c);
            DrawFocusRect(dc, &c);
            ReleaseDC(Handle(), dc);
        }
        return r;
    }
    case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_WANTCHARS;
    case WM_CHAR:
        if (wp == L' ' && OnClick) OnClick();
        return 0;
    case CM_DIALOGKEY:
        // Enter on the focused link opens it, as a click does.
        if (wp == VK_RETURN && GetFocus() == Handle() && OnClick) {
            OnClick();
            return 1;
        }
        return 0;
    }
    return Label::WndProc(msg, wp, lp);
}

}  // namespace win
