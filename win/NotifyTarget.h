#pragma once
#include <windows.h>

namespace win {

// Implemented by wrappers of child controls that want their parent's
// notifications (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*...).
class NotifyTarget {
public:
    virtual ~NotifyTarget() = default;
    virtual bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
};

// The one path of child notifications: a message that a child sends its
// parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*,
// scroll messages) goes to the wrapper of that child. Forms and every
// container control (group boxes...) answer their messages through it first.
bool ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

}  // namespace win
