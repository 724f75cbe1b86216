#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "win/BackgroundWork.h"

enum class OpenedBy { FileDialog, FolderPicker, Shell, Failed };

// Opens a folder of the list for the user, on a worker of `work`: the
// folder may sit on a share that takes long to answer, and the quick menu
// must keep answering its hot key meanwhile. When `target` (the window
// that had the focus when the menu was called) belongs to a standard file
// dialog, that dialog goes to the folder and nothing else opens; otherwise
// the shell opens it, in explore mode or with "open". Only an existing
// folder is ever opened. A failure is told in one message box captioned
// "Pathnook", owned by `owner`, when the answer comes; `done` then gets
// the outcome.
void OpenListFolder(win::BackgroundWork& work, const std::wstring& folder, HWND target, bool explore, HWND owner,
                    std::function<void(OpenedBy)> done = {});

// The one message box for a folder that could not be opened.
void ReportOpenFailure(HWND owner, const std::wstring& folder, const std::wstring& why);
