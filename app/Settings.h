#pragma once
#include <windows.h>

#include <string>

// Where options.ini lives: beside the executable, or, when that folder
// cannot be written (an install under Program Files), in the user's
// application data folder ("%APPDATA%\Pathnook\options.ini").
std::wstring SettingsFilePath();

// Window bounds read from options.ini are used only when the window would
// be at least its minimum tracking size and would touch some screen.
bool SizeUsable(int width, int height);
bool PositionUsable(const RECT& bounds);
