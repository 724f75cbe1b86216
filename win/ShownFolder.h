#pragma once
#include <windows.h>

#include <string>

namespace win {

// The folder another program's window shows, read from any of its windows:
// the current folder of a standard open or save dialog (the oldest kind
// too), or of a shell folder window. Empty when the window shows none, the
// folder cannot be told for sure, or it is not an existing folder: a
// caller that offers the folder to the user offers nothing rather than
// something wrong. Asks the other program with bounded waits.
std::wstring FolderShownIn(HWND anyWindow, UINT timeoutMs = 2000);

// The path as the file system spells it ("c:\windows" gives "C:\Windows"),
// or empty when some part of it does not exist.
std::wstring ExactCasePath(const std::wstring& path);

}  // namespace win
