#pragma once
#include <windows.h>

#include <string>

namespace win {

// The shell's classic browse-for-folder dialog of any process, found from
// one of its windows: a dialog with the folder tree and no file list.
HWND FindFolderPicker(HWND anyWindowOfIt);

// Selects a folder in that dialog's tree, as a click would, without
// choosing it: the user still presses OK. The path travels in memory of
// the dialog's own process. False when the dialog did not answer in time,
// its tree did not go there (it leaves some folders out), or the path is no
// existing folder.
bool SelectInFolderPicker(HWND picker, const std::wstring& folder, UINT timeoutMs = 5000);

}  // namespace win
