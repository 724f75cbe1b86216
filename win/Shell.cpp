#include "win/Shell.h"

#include <shellapi.h>

namespace win {

INT_PTR ShellOpen(HWND owner, const std::wstring& target, int showCommand) {
    SHELLEXECUTEINFOW info{sizeof(info)};
    // Failures are the caller's to report: the shell shows no box of its own.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"Open";
    info.lpFile = target.c_str();
    info.nShow = showCommand;
    ShellExecuteExW(&info);
    return (INT_PTR)info.hInstApp;
}

}  // namespace win
