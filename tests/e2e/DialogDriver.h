#pragma once
// Finding the program's own dialogs and their controls from outside, and
// using them as a user does: typing into fields, clicking with the mouse.
#include <windows.h>

#include <string>
#include <vector>

namespace dialog_driver {

// A visible top-level window of the process with this caption (any class).
HWND FindWindowOf(DWORD processId, const std::wstring& caption, int timeoutMs = 5000);
// Waits until the window is gone or hidden.
bool WaitGone(HWND window, int timeoutMs = 5000);
// Child windows of `parent` (any depth) of a class, in z-order (creation order).
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className);
// The child whose text is `text`.
HWND ChildWithText(HWND parent, const std::wstring& text);
std::wstring TextOf(HWND window);
void SetText(HWND edit, const std::wstring& text);
// A real left click at a point of the window's client area (the centre by default).
void Click(HWND window, int x = -1, int y = -1);
void DoubleClick(HWND window, int x, int y);
// The window that has the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

}  // namespace dialog_driver
