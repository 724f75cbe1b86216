#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "win/BackgroundWork.h"

namespace win {

// Opens a folder through the shell, in a window of its own: in explore
// mode (verb "explore") or with "open". Only an existing folder is opened,
// and it goes to the shell as an item ID list, not as a path: a stored
// path that names a program, a document or a URL would otherwise be run.
// Asks the file system, so it may wait long on a network path: call it on
// a worker. Shows nothing; on failure `why` says why, for the caller's box.
bool OpenFolder(const std::wstring& folder, bool explore, std::wstring& why);

// OpenFolder on a worker of `work`. A failure is told in one message box
// with the given caption, on the work's thread, when the answer comes;
// `done`, if any, then gets whether the folder opened.
void OpenFolderInBackground(BackgroundWork& work, HWND owner, const std::wstring& folder, bool explore,
                            const std::wstring& caption, std::function<void(bool)> done = {});

// That message box, naming the folder and why, for callers that find the
// failure themselves.
void SayCannotOpen(HWND owner, const std::wstring& folder, const std::wstring& why, const std::wstring& caption);

// A system error's text ("The system cannot find the path specified.").
std::wstring SystemErrorText(DWORD error);

}  // namespace win
