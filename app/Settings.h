#pragma once
#include <windows.h>

#include <string>

// Where options.ini lives: beside the executable, or, when that folder
// cannot be written (an install under Program Files), in the user's
// application data folder ("%APPDATA%\Pathnook\options.ini").
// Until the user's copy exists, a file shipped beside the program is read.
enum class SettingsUse { Read, Write };
std::wstring SettingsFilePath(SettingsUse use);
// The same choice for a given program folder (with a trailing backslash)
// and application data folder.
std::wstring SettingsFilePath(SettingsUse use, const std::wstring& exeFolder,
                              const std::wstring& appData);

// Window bounds read from options.ini are used only when the window would
// be at least its minimum tracking size and would touch some screen.
bool SizeUsable(int width, int height);
bool PositionUsable(const RECT& bounds);
