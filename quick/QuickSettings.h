#pragma once
#include <string>

#include "win/HotKey.h"

// The quick menu's own settings: its hot key, under a subkey of the store
// key that the list never touches, and its start with Windows.
win::HotKeySpec DefaultHotKey();  // Win+Alt+F
win::HotKeySpec LoadHotKey();     // the default when none or a bad one is stored
void SaveHotKey(const win::HotKeySpec& key);

extern const wchar_t* const RunKey;    // HKCU\...\CurrentVersion\Run
extern const wchar_t* const RunValue;  // this program's value in it
bool StartsWithWindows();
// Adds (quoted path of `exe`) or removes the value; false when refused.
bool SetStartWithWindows(bool on, const std::wstring& exe);

std::wstring OwnExePath();
