#pragma once
#include <windows.h>

namespace win {

// Where a menu called from the keyboard opens, as Windows places such
// menus: at the pointer while the pointer is over the window that holds the
// focus; otherwise at the bottom left of the focused control (a file
// dialog's name box, wherever its focus is).
POINT KeyboardMenuPoint(HWND focused, POINT pointer);

// The work area of the monitor at a screen point (or nearest to it), which
// a menu opened there stays on.
RECT WorkAreaAt(POINT at);

}  // namespace win
