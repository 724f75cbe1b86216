#pragma once
#include <windows.h>

#include "win/Messages.h"

namespace win {

// Framework notifications delivered to controls, numbered as the behaviour
// tables of the controls number them.
enum : UINT {
    CM_BASE = FrameworkMessages.First,
    CM_ACTIVATE = 0xB000,
    CM_DEACTIVATE = 0xB001,
    CM_DIALOGKEY = 0xB005,
    CM_DIALOGCHAR = 0xB006,  // wParam: character; return 1 when handled
    CM_FOCUSCHANGED = 0xB007,
    CM_PARENTFONTCHANGED = 0xB008,
    CM_PARENTCOLORCHANGED = 0xB009,
    CM_ENABLEDCHANGED = 0xB00C,
    CM_COLORCHANGED = 0xB00D,
    CM_FONTCHANGED = 0xB00E,
    CM_CTL3DCHANGED = 0xB010,
    CM_PARENTCTL3DCHANGED = 0xB011,
    CM_TEXTCHANGED = 0xB012,
    CM_MOUSEENTER = 0xB013,
    CM_MOUSELEAVE = 0xB014,
    CM_BUTTONPRESSED = 0xB018,
    CM_EXIT = 0xB01B,
    CM_SYSCOLORCHANGE = 0xB024,
    CM_RECREATEWND = 0xB034,
    // Posted by a control's accessible object: a screen reader asked for
    // the control's default action.
    CM_ACCESSIBLEDEFAULT = 0xB0A0,
    // The window's DPI changed: wParam the old DPI, lParam the new one. Sent
    // to every window inside a form after the children were moved.
    CM_DPICHANGED = 0xB040,
    // Messages a parent reflects back to a child: the child's message
    // number above CN_BASE.
    CN_BASE = ReflectedMessages.First,
    CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
};

static_assert(FrameworkMessages.Holds(CM_RECREATEWND) && ReflectedMessages.Holds(CN_PARENTNOTIFY));

}  // namespace win
