#include "win/ToolBar.h"

#include "win/Dpi.h"
#include "win/Gdi.h"
#include "win/Notify.h"
#include "win/ImageList.h"

namespace win {

void ToolBar::Create(HWND parent, int height, int indent, int buttonWidth, int buttonHeight) {
    RECT pr{};
    GetClientRect(parent, &pr);
    CreateStandard(TOOLBARCLASSNAMEW, L"",
                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                       CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                   0, 0, 0, Unscale(pr.right, DpiOf(parent)), height, parent, 0);
    designIndent_ = indent;
    designButton_ = {buttonWidth, buttonHeight};
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(Handle(), TB_SETMAXTEXTROWS, 0, 0);  // images only
    ApplyMetrics();
    tooltip_ = (HWND)SendMessageW(Handle(), TB_GETTOOLTIPS, 0, 0);
}

void ToolBar::ApplyMetrics() {
    const UINT dpi = DpiOf(Handle());
    indent_ = Scale(designIndent_, dpi);
    SendMessageW(Handle(), TB_SETINDENT, indent_, 0);
    SetImages(images_, hot_, disabled_);
    for (auto& b : buttons_) {
        if (!b.Separator) continue;
        TBBUTTONINFOW info{sizeof(info)};
        info.dwMask = TBIF_SIZE;
        info.cx = (WORD)Scale(b.Width, dpi);
        SendMessageW(Handle(), TB_SETBUTTONINFOW, b.Command, (LPARAM)&info);
    }
    SendMessageW(Handle(), TB_AUTOSIZE, 0, 0);
}

SIZE ToolBar::ButtonSize() const {
    DWORD size = (DWORD)SendMessageW(Handle(), TB_GETBUTTONSIZE, 0, 0);
    return {LOWORD(size), HIWORD(size)};
}

LRESULT ToolBar::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == CM_DPICHANGED) {
        ApplyMetrics();
        Invalidate(true);
        return 0;
    }
    return Window::WndProc(msg, wp, lp);
}

void ToolBar::SetImages(ImageList* images, ImageList* hot, ImageList* disabled) {
    images_ = images;
    hot_ = hot;
    disabled_ = disabled;
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, (LPARAM)(images ? images->Handle() : nullptr));
    SendMessageW(Handle(), TB_SETHOTIMAGELIST, 0, (LPARAM)(hot ? hot->Handle() : nullptr));
    SendMessageW(Handle(), TB_SETDISABLEDIMAGELIST, 0,
                 (LPARAM)(disabled ? disabled->Handle() : nullptr));
    // After the images: the bar keeps a button no smaller than they need.
    const UINT dpi = DpiOf(Handle());
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(Scale(designButton_.cx, dpi), Scale(designButton_.cy, dpi)));
}

void ToolBar::AddButton(Action& action, std::wstring caption, std::wstring hint, int image) {
    Button b;
    b.Bound = &action;
    b.Caption = std::move(caption);
    b.Hint = std::move(hint);
    b.ImageIndex = image;
    b.Command = nextCommand_++;
    TBBUTTON tb{};
    tb.iBitmap = image;
    tb.idCommand = (int)b.Command;
    tb.fsState = action.Enabled() ? TBSTATE_ENABLED : 0;
    tb.fsStyle = BTNS_BUTTON;
    tb.dwData = buttons_.size();
    tb.iString = -1;
    buttons_.push_back(std::move(b));
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, (LPARAM)&tb);
}

void ToolBar::AddSeparator(int width) {
    Button b;
    b.Separator = true;
    b.Width = width;
    b.Command = nextCommand_++;
    TBBUTTON tb{};
    tb.iBitmap = Scale(width, DpiOf(Handle()));
    tb.idCommand = (int)b.Command;
    tb.fsStyle = BTNS_SEP;
    tb.dwData = buttons_.size();
    tb.iString = -1;
    buttons_.push_back(std::move(b));
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, (LPARAM)&tb);
}

void ToolBar::SyncAction(const Action& action) {
    for (auto& b : buttons_)
        if (b.Bound == &action)
            SendMessageW(Handle(), TB_ENABLEBUTTON, b.Command, MAKELPARAM(action.Enabled(), 0));
}

int ToolBar::Height() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r.bottom - r.top;
}

void ToolBar::SetColor(COLORREF color) {
    if (color == Color) return;
    Color = color;
    Invalidate(true);
}

bool ToolBar::OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND) {
        UINT id = LOWORD(wp);
        for (auto& b : buttons_)
            if (b.Command == id && b.Bound) {
                b.Bound->Execute();
                result = 0;
                return true;
            }
        return false;
    }
    if (msg != WM_NOTIFY) return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->code == NM_CUSTOMDRAW) {
        auto& cd = *reinterpret_cast<NMTBCUSTOMDRAW*>(lp);
        if (OnCustomDraw) {
            LRESULT r = OnCustomDraw(cd);
            if (r >= 0) {
                result = r;
                return true;
            }
        }
        if (cd.nmcd.dwDrawStage == CDDS_PREPAINT && Color != CLR_NONE)
            FillRect(cd.nmcd.hdc, &cd.nmcd.rc, SolidBrush(Color));
        result = CDRF_DODEFAULT;
        return true;
    }
    if (hdr->code == TBN_GETINFOTIPW) {
        auto& tip = *reinterpret_cast<NMTBGETINFOTIPW*>(lp);
        for (auto& b : buttons_)
            if ((int)b.Command == tip.iItem && tip.pszText && tip.cchTextMax > 0)
                lstrcpynW(tip.pszText, b.EffectiveHint().c_str(), tip.cchTextMax);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace win
