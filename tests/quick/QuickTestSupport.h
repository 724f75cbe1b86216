#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/ShellRecorder.h"
#include "support/TestSupport.h"

namespace quicktest {

// A running PathnookQuick.exe from the build folder.
class QuickProcess {
public:
    QuickProcess() = default;
    ~QuickProcess();
    bool Start(bool waitForWindow = true);
    bool WaitForWindow();
    HWND Window() const { return window_; }
    DWORD Id() const { return info_.dwProcessId; }
    bool WaitExit(int timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    LRESULT Ask(UINT message, WPARAM wp = 0) const;  // one of the WM_QUICK_* questions
    void Command(UINT id) const;
    void Kill();

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// The visible menu window of a process (a system menu's, or the list of a
// search's matches), and a system menu's items.
HWND ShownMenuWindow(DWORD processId);
HWND FindMenuWindow(DWORD processId, int timeoutMs = 5000);
struct MenuItemState {
    std::wstring Text;
    bool Separator = false, Grayed = false, OwnerDrawn = false, Checked = false, SubMenu = false, Icon = false;
};
std::vector<MenuItemState> MenuItems(HMENU menu);
// The items of the menu a running quick menu has open, as it tells them
// (menus are not readable from another process here).
std::vector<MenuItemState> OpenMenuItems(const QuickProcess& app);

// Real keyboard input, as a user types it (SendInput).
void SendKeys(std::initializer_list<WORD> down, std::initializer_list<WORD> tap = {});
void TapKey(WORD vk);

using testing_support::RecordingShell;

// Writes a list into the store as the manager does.
void WriteList(const std::vector<std::pair<std::wstring, std::wstring>>& entries);
std::wstring Trimmed(std::wstring path);  // without a trailing backslash
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace quicktest
