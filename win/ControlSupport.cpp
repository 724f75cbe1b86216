#include "win/ControlSupport.h"

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

}  // namespace win
