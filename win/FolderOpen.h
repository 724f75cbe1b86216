#pragma once
#include <windows.h>

#include <string>

namespace win {

// Opens a folder through the shell: in a window of its own in explore mode
// (verb "explore") or with the verb "open". The shell shows no error box of
// its own; returns 0 on success, else a Windows error code for the caller's
// message.
DWORD OpenFolder(HWND owner, const std::wstring& folder, bool explore);

// Opens a folder as OpenFolder does; a failure is told in one message box
// with the given caption, naming the folder and why. False on failure.
bool OpenFolderOrSay(HWND owner, const std::wstring& folder, bool explore, const std::wstring& caption);
// That message box, for callers that find the failure themselves.
void SayCannotOpen(HWND owner, const std::wstring& folder, const std::wstring& why, const std::wstring& caption);

// A system error's text ("The system cannot find the path specified.").
std::wstring SystemErrorText(DWORD error);

}  // namespace win
