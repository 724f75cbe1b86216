#include "win/FolderOpen.h"

#include <shellapi.h>
#include <shlobj.h>

#include "win/PathCheck.h"

namespace win {

namespace {
DWORD ShellError(const SHELLEXECUTEINFOW& info) {
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
}  // namespace

bool OpenFolder(const std::wstring& folder, bool explore, std::wstring& why) {
    PathKind kind = CheckPath(folder);
    if (kind != PathKind::Folder) {
        why = WhyNotAFolder(kind);
        return false;
    }
    PIDLIST_ABSOLUTE item = nullptr;
    SFGAOF attributes = 0;
    HRESULT hr = SHParseDisplayName(folder.c_str(), nullptr, &item, SFGAO_FOLDER, &attributes);
    if (FAILED(hr) || !item) {
        why = SystemErrorText((DWORD)hr);
        return false;
    }
    // The shell's own view of the item must agree: it could have been
    // replaced by a file since the check.
    if (!(attributes & SFGAO_FOLDER)) {
        CoTaskMemFree(item);
        why = WhyNotAFolder(PathKind::File);
        return false;
    }
    // The folder class's verb on the item's ID list: whatever the path
    // might be taken for, only a folder handler gets it. The path itself
    // only fills in "%1" of a registered folder command (Wine builds the
    // command from it).
    SHELLEXECUTEINFOW info{sizeof(info)};
    info.fMask = SEE_MASK_IDLIST | SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = explore ? L"explore" : L"open";
    info.lpIDList = item;
    info.lpClass = L"Folder";
    info.lpFile = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    SetLastError(0);
    bool opened = ShellExecuteExW(&info) && (INT_PTR)info.hInstApp > 32;
    if (!opened) why = SystemErrorText(ShellError(info));
    CoTaskMemFree(item);
    return opened;
}

void OpenFolderInBackground(BackgroundWork& work, HWND owner, const std::wstring& folder, bool explore,
                            const std::wstring& caption, std::function<void(bool)> done) {
    work.Run([=]() -> BackgroundWork::Reply {
        std::wstring why;
        bool opened = OpenFolder(folder, explore, why);
        return [=] {
            if (!opened) SayCannotOpen(owner, folder, why, caption);
            if (done) done(opened);
        };
    });
}

void SayCannotOpen(HWND owner, const std::wstring& folder, const std::wstring& why, const std::wstring& caption) {
    std::wstring text = L"Cannot open the folder \"" + folder + L"\".";
    if (!why.empty()) text += L"\n\n" + why;
    if (owner && !IsWindow(owner)) owner = nullptr;
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
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
