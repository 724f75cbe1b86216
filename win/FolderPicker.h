#pragma once
#include <string>

namespace win {

// The shell's folder picker, centred on the screen, file-system folders
// only; `root` (when not empty) limits it to that folder's tree. Returns
// true with `directory` set to the chosen folder's path; a `directory` that
// names no existing folder is cleared first.
bool BrowseForDirectory(const std::wstring& title, const std::wstring& root, std::wstring& directory);

}  // namespace win
