#pragma once
#include <windows.h>

namespace win {

// Where a menu called from the keyboard opens, as Windows places such
// menus: at the pointer while the pointer is over the window that holds the
// focus; otherwise under the focused control (a file dialog's name box,
// wherever its focus is), whose screen rectangle `anchor` then receives so
// that the menu keeps clear of it. `anchor` is emptied for the pointer.
POINT KeyboardMenuPoint(HWND focused, POINT pointer, RECT& anchor);

}  // namespace win
