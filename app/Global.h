#pragma once
#include <string>

// The three option flags, process-wide; all false until loaded.
struct TAppOptions {
    bool ExploreFolder = false;  // registry "ExploerFolder"
    bool AskDelete = false;      // options.ini [Options] AskDelete
    bool EnableImage = false;    // registry "PicView"
};

extern TAppOptions AppOptions;

// The shell's folder picker, centred on the screen, file-system folders
// only; `root` (when not empty) limits it to that folder's tree. Returns
// true with `directory` set to the chosen folder's path; a `directory` that
// names no existing folder is cleared first.
bool BrowseForDirectory(const std::wstring& title, const std::wstring& root, std::wstring& directory);
