#include "win/TipWindow.h"

#include <commctrl.h>

namespace win {

TipWindow::~TipWindow() {
    if (tip_) DestroyWindow(tip_);
}

void TipWindow::Show(HWND owner, const std::wstring& text, POINT screen) {
    if (!tip_) {
        tip_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               0, 0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!tip_) return;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = owner;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(tip_, TTM_ADDTOOLW, 0, (LPARAM)&tool);
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 800);
    }
    text_ = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = owner;
    tool.lpszText = text_.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, (LPARAM)&tool);
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, (LPARAM)&tool);
    SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TipWindow::Hide() {
    if (!tip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetWindow(tip_, GW_OWNER);
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, (LPARAM)&tool);
}

}  // namespace win
