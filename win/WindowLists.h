#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace win {

// Snapshots of windows, taken whole before the caller acts on any of them
// (acting inside an enumeration callback would run code in a Win32 frame,
// and windows made or destroyed meanwhile would upset the walk).

// Every descendant of `parent` (none for null), in the order EnumChildWindows gives.
std::vector<HWND> ChildWindows(HWND parent);
// The top-level windows of this thread.
std::vector<HWND> ThreadWindows();
// A window's class name ("#32770", "Edit", ...).
std::wstring ClassOf(HWND window);

}  // namespace win
