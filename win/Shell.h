#pragma once
#include <windows.h>

#include <string>

namespace win {

// Hands a file or a link to the shell with the verb "Open", as
// ShellExecute does but without the shell's own error box. Returns the
// shell's result code (above 32 means it started something).
INT_PTR ShellOpen(HWND owner, const std::wstring& target, int showCommand = SW_SHOW);

}  // namespace win
