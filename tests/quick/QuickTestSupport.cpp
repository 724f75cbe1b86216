#include "QuickTestSupport.h"

#include "win/ListMenu.h"

#include <shellapi.h>

#include "quick/QuickWindow.h"
#include "store/Store.h"

using namespace testing_support;

namespace quicktest {

namespace {
}  // namespace

QuickProcess::~QuickProcess() { Kill(); }

bool QuickProcess::Start(bool waitForWindow) {
    std::wstring exe = BuiltExe(L"PathnookQuick.exe");
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof(si)};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
        return false;
    return !waitForWindow || WaitForWindow();
}

bool QuickProcess::WaitForWindow() {
    return WaitUntil(
        [&] {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, QuickWindowClass, nullptr))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == info_.dwProcessId) {
                    window_ = w;
                    // Up once its hot key is registered.
                    return SendMessageW(w, WM_QUICK_HOTKEY, 0, 0) != 0;
                }
            }
            return false;
        },
        15000);
}

bool QuickProcess::WaitExit(int timeoutMs, DWORD* exitCode) {
    if (!info_.hProcess) return true;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

bool QuickProcess::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

LRESULT QuickProcess::Ask(UINT message, WPARAM wp) const {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(window_, message, wp, 0, SMTO_ABORTIFHUNG, 5000, &r);
    return (LRESULT)r;
}

void QuickProcess::Command(UINT id) const { PostMessageW(window_, WM_COMMAND, id, 0); }

void QuickProcess::Kill() {
    if (!info_.hProcess) return;
    if (Running()) {
        // The way a user ends it, so that its icon and hot key go too.
        if (window_) PostMessageW(window_, WM_COMMAND, cmExit, 0);
        if (WaitForSingleObject(info_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
    info_ = {};
    window_ = nullptr;
}

HWND ShownMenuWindow(DWORD pid) {
    HWND w = WindowOfProcess(pid, L"#32768");
    return w ? w : WindowOfProcess(pid, win::ListMenu::ClassName);
}

HWND FindMenuWindow(DWORD pid, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = ShownMenuWindow(pid)) != nullptr; }, timeoutMs);
    return found;
}

std::vector<MenuItemState> MenuItems(HMENU menu) {
    std::vector<MenuItemState> items;
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        mii.dwTypeData = text;
        mii.cch = 511;
        GetMenuItemInfoW(menu, i, TRUE, &mii);
        MenuItemState s;
        s.Text = text;
        s.Separator = (mii.fType & MFT_SEPARATOR) != 0;
        s.OwnerDrawn = (mii.fType & MFT_OWNERDRAW) != 0;
        s.Grayed = (mii.fState & MFS_GRAYED) != 0;
        s.Checked = (mii.fState & MFS_CHECKED) != 0;
        s.SubMenu = mii.hSubMenu != nullptr;
        items.push_back(s);
    }
    return items;
}

std::vector<MenuItemState> OpenMenuItems(const QuickProcess& app) {
    std::vector<MenuItemState> items;
    for (int i = 0;; ++i) {
        LRESULT bits = app.Ask(WM_QUICK_MENU_ITEM, i);
        if (bits < 0) break;
        MenuItemState s;
        s.Separator = bits & mibSeparator;
        s.Grayed = bits & mibGrayed;
        s.Checked = bits & mibChecked;
        s.OwnerDrawn = bits & mibOwnerDrawn;
        s.SubMenu = bits & mibSubMenu;
        s.Icon = bits & mibIcon;
        ATOM atom = (ATOM)app.Ask(WM_QUICK_MENU_TEXT, i);
        wchar_t text[256] = {};
        GlobalGetAtomNameW(atom, text, 256);
        GlobalDeleteAtom(atom);
        s.Text = text;
        items.push_back(s);
    }
    return items;
}

void SendKeys(std::initializer_list<WORD> down, std::initializer_list<WORD> tap) {
    std::vector<INPUT> in;
    auto key = [&](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        if (vk == VK_LWIN || vk == VK_RWIN || (vk >= VK_PRIOR && vk <= VK_DOWN)) i.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        in.push_back(i);
    };
    for (WORD vk : down) key(vk, false);
    for (WORD vk : tap) {
        key(vk, false);
        key(vk, true);
    }
    for (auto it = std::rbegin(down); it != std::rend(down); ++it) key(*it, true);
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
}

void TapKey(WORD vk) { SendKeys({}, {vk}); }


void WriteList(const std::vector<std::pair<std::wstring, std::wstring>>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
        SetString(StoreKey, AliasName(i), entries[i].first);
        SetString(StoreKey, PathName(i), entries[i].second);
    }
}

std::wstring Trimmed(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    std::wstring x = Trimmed(a), y = Trimmed(b);
    return CompareStringOrdinal(x.c_str(), -1, y.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace quicktest
