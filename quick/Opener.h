#pragma once
#include <windows.h>

#include <string>

enum class OpenedBy { FileDialog, Shell, Failed };

// Opens a folder of the list for the user. When `target` (the window that
// had the focus when the menu was called) belongs to a standard file
// dialog, that dialog goes to the folder and nothing else opens; otherwise
// the shell opens it, in explore mode or with "open". A failure is told
// in one message box captioned "Pathnook".
OpenedBy OpenListFolder(const std::wstring& folder, HWND target, bool explore, HWND owner);

// The one message box for a folder that could not be opened.
void ReportOpenFailure(HWND owner, const std::wstring& folder, const std::wstring& why);
