#pragma once
#include <string>

namespace win {

std::wstring ExePath();
std::wstring ExeFolder();  // with a trailing backslash
std::wstring WindowsDirectory();
std::wstring AppDataFolder();  // the user's roaming application data, no trailing backslash
bool DirectoryExists(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Whether a new file can be created in the folder right now.
bool CanCreateFileIn(const std::wstring& folder);
bool EnsureDirectory(const std::wstring& path);

}  // namespace win
