#include "win/WindowLists.h"

#include "win/Error.h"

namespace win {

namespace {
BOOL CALLBACK Collect(HWND w, LPARAM list) {
    return Guarded([&]() -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
    }, FALSE);
}
}  // namespace

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> list;
    // Windows reads a null parent as the desktop: every top-level window.
    if (parent) EnumChildWindows(parent, Collect, (LPARAM)&list);
    return list;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> list;
    EnumThreadWindows(GetCurrentThreadId(), Collect, (LPARAM)&list);
    return list;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace win
