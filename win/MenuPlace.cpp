#include "win/MenuPlace.h"

#include "win/FileDialogJump.h"

namespace win {

POINT KeyboardMenuPoint(HWND focused, POINT pointer) {
    if (!focused || !IsWindow(focused)) return pointer;
    HWND root = GetAncestor(focused, GA_ROOT);
    HWND under = WindowFromPoint(pointer);
    if (under && GetAncestor(under, GA_ROOT) == root) return pointer;
    HWND control = focused;
    if (FileDialogParts dialog = FindFileDialog(focused); dialog && IsWindowVisible(dialog.NameBox))
        control = dialog.NameBox;
    RECT r{};
    if (!GetWindowRect(control, &r) || IsRectEmpty(&r)) return pointer;
    return POINT{r.left, r.bottom};
}

RECT WorkAreaAt(POINT at) {
    MONITORINFO mi{sizeof(mi)};
    if (GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcWork;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace win
