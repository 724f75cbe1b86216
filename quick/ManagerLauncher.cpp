#include "quick/ManagerLauncher.h"

#include "store/Programs.h"

#include <windows.h>

#include "quick/QuickSettings.h"
#include "store/StoreNames.h"
#include "win/Error.h"
#include "win/Registry.h"

namespace {
bool IsFile(const std::wstring& path) {
    DWORD a = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Start(const std::wstring& exe) {
    std::wstring command = L"\"" + exe + L"\"";
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return false;
    AllowSetForegroundWindow(pi.dwProcessId);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}
}  // namespace

bool ShowManager(std::wstring& error) {
    if (HWND running = FindWindowW(MainWindowClass, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(running, &pid);
        AllowSetForegroundWindow(pid);
        PostMessageW(running, WM_ACTIVATEINSTANCE, 0, 0);
        SetForegroundWindow(running);
        return true;
    }
    std::wstring setting;
    try {
        win::RegKey key(StoreKey, false);
        setting = key.ReadString(SettingValue);
    } catch (const win::Error&) {
        // A wrong-typed "Setting" is no path: fall back to the neighbour.
    }
    if (IsFile(setting) && Start(setting)) return true;
    std::wstring own = OwnExePath();
    std::wstring beside = own.substr(0, own.find_last_of(L"\\/") + 1) + L"Pathnook.exe";
    if (IsFile(beside) && Start(beside)) return true;
    error = L"Pathnook.exe was not found, neither at \"" + (setting.empty() ? L"(no path stored)" : setting) +
            L"\" nor beside the quick menu.";
    return false;
}
