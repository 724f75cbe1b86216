#include "win/LinkLabel.h"

#include "win/Notify.h"

namespace win {

LinkLabel::~LinkLabel() {
    // The window goes first so that it never holds a deleted font.
    if (Handle() && IsWindow(Handle())) SendMessageW(Handle(), WM_SETFONT, 0, FALSE);
}

void LinkLabel::Create(HWND parent, const std::wstring& text, int x, int y) {
    Label::Create(parent, text, x, y, 0, 0, SS_NOTIFY);
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

LRESULT LinkLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == CM_DPICHANGED) {
        UnderlineParentFont();
        return 0;
    }
    if (msg == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return Label::WndProc(msg, wp, lp);
}

}  // namespace win
