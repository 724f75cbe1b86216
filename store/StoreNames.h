#pragma once
#include <string>

#include "store/Store.h"

// The values beside the entries under the store key, and the quick menu's
// own subkey, which the list's readers and writers never touch.
inline constexpr const wchar_t* SettingValue = L"Setting";          // the manager's full path
inline constexpr const wchar_t* PicViewValue = L"PicView";          // "1": folder icons in the menu
inline constexpr const wchar_t* ExploreFolderValue = L"ExploerFolder";  // "1": open in explore mode
inline const std::wstring QuickMenuKey = StoreKey + L"\\QuickMenu";

// How both programs read PicView and ExploerFolder: anything but "0" is on,
// so that a missing or empty value is on.
inline bool OptionOn(const std::wstring& value) { return value != L"0"; }
inline const wchar_t* OptionText(bool on) { return on ? L"1" : L"0"; }
