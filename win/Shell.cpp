#include "win/Shell.h"

#include <shellapi.h>

namespace win {

INT_PTR ShellOpen(HWND owner, const std::wstring& target, int showCommand) {
    return (INT_PTR)ShellExecuteW(owner, L"Open", target.c_str(), nullptr, nullptr, showCommand);
}

}  // namespace win
