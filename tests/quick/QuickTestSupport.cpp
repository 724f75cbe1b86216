#include "QuickTestSupport.h"

#include <shellapi.h>

#include "quick/QuickWindow.h"
#include "store/Store.h"

using namespace testing_support;

namespace quicktest {

namespace {
constexpr const wchar_t* kRecordSwitch = L"--record-folder-open";
constexpr const wchar_t* kDde = L"Folder\\shell\\open\\ddeexec";
constexpr const wchar_t* kDdeBackup = L"PathnookTest.ddeexec";

// Runs before GoogleTest: in recording mode this process is the handler.
const bool kRecorder = [] {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc >= 5 && std::wstring(argv[1]) == kRecordSwitch) {
        std::wstring line = std::wstring(argv[3]) + L"\n" + argv[4] + L"\n" + std::to_wstring(GetCurrentProcessId()) + L"\n";
        HANDLE f = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WORD bom = 0xFEFF;
        WriteFile(f, &bom, 2, &written, nullptr);
        WriteFile(f, line.data(), (DWORD)(line.size() * sizeof(wchar_t)), &written, nullptr);
        CloseHandle(f);
        ExitProcess(0);
    }
    return false;
}();

std::wstring ReadDefault(const std::wstring& key, bool* exists) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf);
    *exists = RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) == ERROR_SUCCESS;
    return buf;
}

void WriteDefault(const std::wstring& key, const std::wstring& value) {
    HKEY h;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(h, nullptr, 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}
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

HWND FindMenuWindow(DWORD pid, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, L"#32768", nullptr))) {
                DWORD p = 0;
                GetWindowThreadProcessId(w, &p);
                if (p == pid && IsWindowVisible(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
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

RecordingShell::RecordingShell(const std::wstring& record) : record_(record) {
    // A DDE conversation would go first and stand in for the command: set
    // it aside for the test's length.
    HKEY dde;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kDde, 0, KEY_READ, &dde) == ERROR_SUCCESS) {
        HKEY backup;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kDdeBackup, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr) ==
            ERROR_SUCCESS) {
            if (RegCopyTreeW(dde, nullptr, backup) == ERROR_SUCCESS) {
                RegCloseKey(dde);
                dde = nullptr;
                ddeMoved_ = RegDeleteTreeW(HKEY_CLASSES_ROOT, kDde) == ERROR_SUCCESS;
            }
            RegCloseKey(backup);
        }
        if (dde) RegCloseKey(dde);
    }
    std::wstring exe = BuiltExe(L"quick_tests.exe");
    for (const wchar_t* cls : {L"Folder", L"Directory"}) {
        for (const wchar_t* verb : {L"open", L"explore"}) {
            std::wstring key = std::wstring(cls) + L"\\shell\\" + verb + L"\\command";
            Saved s{key, L"", false};
            s.value = ReadDefault(key, &s.existed);
            saved_.push_back(s);
            WriteDefault(key, L"\"" + exe + L"\" " + kRecordSwitch + L" \"" + record + L"\" " + verb + L" \"%1\"");
        }
    }
    DeleteFileW(record_.c_str());
}

RecordingShell::~RecordingShell() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->existed) WriteDefault(it->key, it->value);
        else RegDeleteTreeW(HKEY_CLASSES_ROOT, it->key.c_str());
    }
    if (ddeMoved_) {
        HKEY backup, dde;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kDdeBackup, 0, KEY_READ, &backup) == ERROR_SUCCESS) {
            if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kDde, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &dde, nullptr) ==
                ERROR_SUCCESS) {
                RegCopyTreeW(backup, nullptr, dde);
                RegCloseKey(dde);
            }
            RegCloseKey(backup);
        }
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kDdeBackup);
}

bool RecordingShell::Wait(std::wstring& verb, std::wstring& folder, int timeoutMs) {
    auto complete = [&] {
        std::wstring t = ReadFileText(record_);
        return std::count(t.begin(), t.end(), L'\n') >= 3;
    };
    if (!WaitUntil(complete, timeoutMs)) return false;
    std::wstring text = ReadFileText(record_);
    size_t nl = text.find(L'\n'), nl2 = text.find(L'\n', nl + 1);
    verb = text.substr(0, nl);
    folder = text.substr(nl + 1, nl2 - nl - 1);
    DeleteFileW(record_.c_str());
    // The handler's end changes the foreground: let it be over first.
    if (HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, (DWORD)_wtoi(text.c_str() + nl2 + 1))) {
        WaitForSingleObject(p, 10000);
        CloseHandle(p);
    }
    return true;
}

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
