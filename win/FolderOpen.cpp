#include "win/FolderOpen.h"

#include <shellapi.h>

namespace win {

DWORD OpenFolder(HWND owner, const std::wstring& folder, bool explore) {
    SHELLEXECUTEINFOW info{sizeof(info)};
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = explore ? L"explore" : L"open";
    info.lpFile = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info) && (INT_PTR)info.hInstApp > 32) return 0;
    DWORD error = GetLastError();
    if (error) return error;
    switch ((INT_PTR)info.hInstApp) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    default: return ERROR_GEN_FAILURE;
    }
}

void SayCannotOpen(HWND owner, const std::wstring& folder, const std::wstring& why, const std::wstring& caption) {
    std::wstring text = L"Cannot open the folder \"" + folder + L"\".";
    if (!why.empty()) text += L"\n\n" + why;
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

bool OpenFolderOrSay(HWND owner, const std::wstring& folder, bool explore, const std::wstring& caption) {
    DWORD error = OpenFolder(owner, folder, explore);
    if (error) SayCannotOpen(owner, folder, SystemErrorText(error), caption);
    return error == 0;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, (LPWSTR)&buffer, 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : L"Error " + std::to_wstring(error) + L".";
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

}  // namespace win
