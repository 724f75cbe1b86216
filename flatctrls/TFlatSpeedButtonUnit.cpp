#include "flatctrls/TFlatSpeedButtonUnit.h"

#include <windowsx.h>

#include "win/Notify.h"

namespace flat {

HoverTracker& TFlatSpeedButton::Tracker() {
    static HoverTracker tracker;
    return tracker;
}

TFlatSpeedButton::TFlatSpeedButton() : FlatButtonCore(Tracker(), 2) {}

TFlatSpeedButton::~TFlatSpeedButton() = default;

void TFlatSpeedButton::Create(HWND parent, int x, int y, int w, int h, const std::wstring& caption) {
    GraphicControl::Create(parent, x, y, w, h);
    SetCaption(caption);
}

SIZE TFlatSpeedButton::ClientSize() const {
    RECT r = ClientRect();
    return {r.right, r.bottom};
}

POINT TFlatSpeedButton::ToScreen(int x, int y) const {
    POINT p{x + Bounds().left, y + Bounds().top};
    ClientToScreen(Parent(), &p);
    return p;
}

void TFlatSpeedButton::Paint(win::Canvas& canvas) { PaintButton(canvas, false, false); }

LRESULT TFlatSpeedButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_LBUTTONDOWN: MouseDown(VK_LBUTTON, x, y); return 0;
    case WM_RBUTTONDOWN: MouseDown(VK_RBUTTON, x, y); return 0;
    case WM_MBUTTONDOWN: MouseDown(VK_MBUTTON, x, y); return 0;
    case WM_LBUTTONDBLCLK: DoubleClick(x, y); return 0;
    case WM_LBUTTONUP: MouseUp(VK_LBUTTON, x, y); return 0;
    case WM_RBUTTONUP: MouseUp(VK_RBUTTON, x, y); return 0;
    case WM_MBUTTONUP: MouseUp(VK_MBUTTON, x, y); return 0;
    case WM_MOUSEMOVE: MouseMove(x, y); return 0;
    // Its accelerator clicks it, but never latches a grouped one.
    case win::CM_DIALOGCHAR: return DialogChar(wp, false) ? 1 : 0;
    case win::CM_BUTTONPRESSED: ButtonPressed(wp, lp); return 0;
    case win::CM_ENABLEDCHANGED: EnabledChanged(); return 0;
    case win::CM_FONTCHANGED:
    case win::CM_TEXTCHANGED:
    case win::CM_COLORCHANGED: InvalidateButton(); return 0;
    case win::CM_PARENTCOLORCHANGED:
        GraphicControl::WndProc(msg, wp, lp);
        ParentColorChanged();
        return 0;
    case win::CM_SYSCOLORCHANGE: SysColorChanged(); return 0;
    case win::CM_MOUSEENTER:
        GraphicControl::WndProc(msg, wp, lp);
        if (OnMouseEnter) OnMouseEnter();
        return 0;
    case win::CM_MOUSELEAVE:
        GraphicControl::WndProc(msg, wp, lp);
        if (OnMouseLeave) OnMouseLeave();
        return 0;
    }
    return GraphicControl::WndProc(msg, wp, lp);
}

}  // namespace flat
