#include "win/Files.h"

#include <windows.h>
#include <shlobj.h>

namespace win {

std::wstring ExePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ExeFolder() {
    std::wstring path = ExePath();
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring WindowsDirectory() {
    wchar_t buffer[128] = {};
    GetWindowsDirectoryW(buffer, 128);
    return buffer;  // up to the first NUL
}

std::wstring AppDataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return {};
    return buffer;
}

bool DirectoryExists(const std::wstring& path) {
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool CanCreateFileIn(const std::wstring& folder) {
    wchar_t name[MAX_PATH] = {};
    if (!GetTempFileNameW(folder.c_str(), L"pn", 0, name)) return false;
    DeleteFileW(name);
    return true;
}

bool EnsureDirectory(const std::wstring& path) {
    if (DirectoryExists(path)) return true;
    return SHCreateDirectoryExW(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS;
}

}  // namespace win
