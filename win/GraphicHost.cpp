#include "win/GraphicHost.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>

#include "win/Error.h"
#include "win/Form.h"
#include "win/Gdi.h"
#include "win/Notify.h"

namespace win {

GraphicHost::~GraphicHost() {
    for (GraphicControl* c : controls_) c->parent_ = nullptr;
}

GraphicHost* GraphicHost::Of(HWND window) {
    return window ? dynamic_cast<GraphicHost*>(Window::FromHandle(window)) : nullptr;
}

void GraphicHost::Add(GraphicControl* control) { controls_.push_back(control); }

void GraphicHost::Remove(GraphicControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (captured_ == control) {
        captured_ = nullptr;
        ReleaseCapture();
    }
    if (under_ == control) under_ = nullptr;
}

GraphicControl* GraphicHost::ControlAtPoint(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        GraphicControl* c = *it;
        if (c->visible_ && (allowDisabled || c->enabled_) && PtInRect(&c->bounds_, p)) return c;
    }
    return nullptr;
}

void GraphicHost::PaintControls(HDC dc) {
    auto controls = controls_;
    for (GraphicControl* c : controls) {
        RECT clip{}, hit{};
        if (GetClipBox(dc, &clip) != NULLREGION && IntersectRect(&hit, &clip, &c->bounds_))
            c->PaintOn(dc);
    }
}

bool GraphicHost::HandleHostMessage(HWND host, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    auto toControl = [](GraphicControl* c, LPARAM lp) {
        return MAKELPARAM(GET_X_LPARAM(lp) - c->bounds_.left, GET_Y_LPARAM(lp) - c->bounds_.top);
    };
    switch (msg) {
    case WM_GETOBJECT: return AnswerHostObject(host, wp, lp, result);
    case CM_ACCESSIBLEDEFAULT: {
        // Only a control still hosted here, and usable, is pressed.
        auto* c = reinterpret_cast<GraphicControl*>(lp);
        if (!c || std::find(controls_.begin(), controls_.end(), c) == controls_.end()) return false;
        if (c->enabled_ && c->visible_) c->DoAccessibleDefault();
        result = 0;
        return true;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        GraphicControl* at = ControlAtPoint(p, false);
        if (msg == WM_MOUSEMOVE && at != under_ && !captured_) {
            GraphicControl* old = under_;
            under_ = at;
            if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
            if (at) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, host, 0};
                TrackMouseEvent(&tme);
                at->Perform(CM_MOUSEENTER, 0, 0);
            }
        }
        GraphicControl* target = captured_ ? captured_ : at;
        if (!target) return false;
        bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                    msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
        if (down && !captured_) {
            captured_ = target;
            SetCapture(host);
        }
        result = target->Perform(msg, wp, toControl(target, lp));
        bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
        if (up && captured_ && !(wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            captured_ = nullptr;
            if (GetCapture() == host) ReleaseCapture();
        }
        return true;
    }
    case WM_CAPTURECHANGED:
        captured_ = nullptr;
        return false;
    case WM_MOUSELEAVE:
        if (under_) {
            GraphicControl* old = under_;
            under_ = nullptr;
            old->Perform(CM_MOUSELEAVE, 0, 0);
        }
        return false;
    case WM_NCHITTEST: {
        // Group boxes are transparent to the pointer; not over a control of theirs.
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(host, &p);
        if (ControlAtPoint(p, true)) {
            result = HTCLIENT;
            return true;
        }
        return false;
    }
    case CM_DIALOGCHAR: {
        auto controls = controls_;
        for (GraphicControl* c : controls)
            if (c->visible_ && c->Perform(msg, wp, lp)) {
                result = 1;
                return true;
            }
        return false;
    }
    case CM_DPICHANGED: {
        auto controls = controls_;
        for (GraphicControl* c : controls) {
            c->Rescale((UINT)wp, (UINT)lp);
            c->Perform(msg, wp, lp);
        }
        InvalidateRect(host, nullptr, TRUE);
        return false;
    }
    case CM_PARENTCOLORCHANGED:
    case CM_PARENTFONTCHANGED:
    case CM_SYSCOLORCHANGE: {
        auto controls = controls_;
        for (GraphicControl* c : controls) c->Perform(msg, wp, lp);
        return false;
    }
    }
    return false;
}

}  // namespace win
