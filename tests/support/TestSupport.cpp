#include "store/Programs.h"
#include "support/TestSupport.h"
#include "win/Error.h"

#include <cstdio>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "win/Files.h"

namespace testing_support {

namespace {
// Tests rewrite HKCU\Software\Pathnook and other keys of the user. They
// run only in a prefix the test scripts made and marked as throw-away
// (scripts/common.sh, pn_mark_throwaway); anywhere else they refuse.
class ThrowAwayPrefixOnly : public ::testing::Environment {
public:
    void SetUp() override {
        if (GetFileAttributesW(L"C:\\pathnook-throwaway-prefix") == INVALID_FILE_ATTRIBUTES)
            FAIL() << "Refusing to run: this Wine prefix is not a throw-away one made by the test "
                      "scripts (C:\\pathnook-throwaway-prefix is missing), and the tests would "
                      "overwrite the list in HKCU\\Software\\Pathnook. Run scripts/test.sh, or "
                      "mark a fresh prefix with pn_mark_throwaway from scripts/common.sh.";
    }
};
const auto* const kPrefixCheck = ::testing::AddGlobalTestEnvironment(new ThrowAwayPrefixOnly);
}  // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"pntest" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter) + L"_" + std::to_wstring(GetTickCount()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
    std::wstring from = path_.substr(0, path_.size() - 1);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

std::map<std::wstring, std::wstring> ReadKeyValues(const std::wstring& key) {
    std::map<std::wstring, std::wstring> values;
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256, type = 0, size = 0;
        if (RegEnumValueW(h, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(size + 2, 0);
        nameLen = 256;
        RegEnumValueW(h, i, name, &nameLen, nullptr, &type, data.data(), &size);
        values[name] = (type == REG_SZ || type == REG_EXPAND_SZ)
                           ? std::wstring(reinterpret_cast<wchar_t*>(data.data()))
                           : L"<type " + std::to_wstring(type) + L">";
    }
    RegCloseKey(h);
    return values;
}

void DeleteKeyTree(const std::wstring& key) { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }

void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    HKEY h;
    RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    RegSetValueExW(h, name.c_str(), 0, REG_SZ, (const BYTE*)value.c_str(),
                   (DWORD)((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

void SetDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    HKEY h;
    RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    RegSetValueExW(h, name.c_str(), 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(h);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if ((int)(GetTickCount() - start) > timeoutMs) return false;
        Pump();
        Sleep(20);
    }
    return true;
}

std::wstring ReadFileText(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string bytes = ss.str();
    if (bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), out.data(), n);
    return out;
}

void WriteFileText(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

namespace {
struct FindDialog {
    DWORD pid;
    const std::wstring* caption;
    HWND found;
};
BOOL CALLBACK FindDialogProc(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<FindDialog*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = {}, text[256] = {};
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, text, 256);
    if (pid == f->pid && IsWindowVisible(w) && std::wstring(cls) == L"#32770" &&
        (f->caption->empty() || *f->caption == text)) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindDialogOf(DWORD processId, const std::wstring& caption, int timeoutMs) {
    FindDialog f{processId, &caption, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindDialogProc, (LPARAM)&f);
            return f.found != nullptr;
        },
        timeoutMs);
    return f.found;
}

std::wstring DialogText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

std::wstring BuiltExe(const std::wstring& name) { return win::ExeFolder() + name; }

PathnookProcess::PathnookProcess(const std::wstring& folder, bool copyBuiltExe) : exe_(folder + L"Pathnook.exe") {
    if (copyBuiltExe) CopyFileW(BuiltExe(L"Pathnook.exe").c_str(), exe_.c_str(), FALSE);
}

PathnookProcess::~PathnookProcess() {
    if (info_.hProcess) {
        if (Running()) {
            Close();
            if (!WaitExit(5000)) TerminateProcess(info_.hProcess, 1);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

HWND WindowOfProcess(DWORD processId, const wchar_t* className, bool hiddenToo) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, className, nullptr))) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == processId && (hiddenToo || IsWindowVisible(w))) return w;
    }
    return nullptr;
}

bool PathnookProcess::Start(bool waitForWindow) {
    STARTUPINFOW si{sizeof(si)};
    std::wstring cmd = L"\"" + exe_ + L"\"";
    std::wstring dir = exe_.substr(0, exe_.find_last_of(L'\\'));
    // A start that fails is said with its reason, and tried again for a
    // while: a loaded host has refused one once.
    auto launch = [&] {
        if (CreateProcessW(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                           &info_))
            return true;
        DWORD error = GetLastError();
        fwprintf(stderr, L"cannot start %ls: error %lu (file attributes %lx)\n", exe_.c_str(), error,
                 GetFileAttributesW(exe_.c_str()));
        return false;
    };
    if (!WaitUntil(launch, 5000)) return false;
    return !waitForWindow || WaitForWindow();
}

bool PathnookProcess::WaitForWindow() {
    WaitForInputIdle(info_.hProcess, 10000);
    WaitUntil([&] { return (window_ = WindowOfProcess(info_.dwProcessId, MainWindowClass, true)) != nullptr && IsWindowVisible(window_); },
              15000);
    return window_ != nullptr && Sync();
}

void PathnookProcess::Command(unsigned id) { PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 1), 0); }

void PathnookProcess::Close() { PostMessageW(window_, WM_CLOSE, 0, 0); }

bool PathnookProcess::WaitExit(int timeoutMs, DWORD* exitCode) {
    if (!info_.hProcess) return false;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

bool PathnookProcess::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND PathnookProcess::List() const { return FindWindowExW(window_, nullptr, WC_LISTVIEWW, nullptr); }

int PathnookProcess::RowCount() const { return (int)SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0); }

int PathnookProcess::SelectedRow() const {
    return (int)SendMessageW(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

void PathnookProcess::SelectRow(int row) {
    HWND list = List();
    PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    PostMessageW(list, WM_KEYUP, VK_HOME, 0xC0000001);
    for (int i = 0; i < row; ++i) {
        PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
    }
    WaitUntil([&] { return SelectedRow() == row; }, 3000);
    Sync();
}

// Posted messages are handled in the order they were posted, whatever loop
// (menu, dialog, message box) runs at the time. The marker is the list
// view's icon spacing: a value it keeps and that report view never uses.
bool PathnookProcess::Sync(int timeoutMs) const {
    static int counter = 0;
    const int mark = 100 + (++counter % 1000);
    HWND list = List();
    if (!list || !PostMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(mark, mark))) return false;
    return WaitUntil(
        [&] {
            DWORD_PTR spacing = 0;
            return SendMessageTimeoutW(list, LVM_GETITEMSPACING, FALSE, 0, SMTO_ABORTIFHUNG, 1000, &spacing) &&
                   LOWORD(spacing) == mark;
        },
        timeoutMs);
}

bool XInput(const std::string& arguments) { return XCommand(arguments, nullptr); }

std::string XOutput(const std::string& arguments) {
    std::string out;
    XCommand(arguments, &out);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool XCommand(const std::string& arguments, std::string* output) {
    // Wine starts a Unix program but gives no handle to wait on: the shell
    // around it leaves xdotool's exit code in a file of its own.
    static int calls = 0;
    std::string marker = "/tmp/pathnook-xinput-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++calls);
    std::string command = "/bin/sh -c \"/usr/bin/xdotool " + arguments + " > " + marker + ".out 2>/dev/null; echo $? > " +
                          marker + ".tmp; mv " + marker + ".tmp " + marker + "\"";
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA("/bin/sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("xdotool did not start: error %lu\n", GetLastError());
        return false;
    }
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    std::wstring file = L"Z:" + win::Widen(marker);
    for (wchar_t& c : file)
        if (c == L'/') c = L'\\';
    if (!WaitUntil([&] { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000)) {
        std::printf("xdotool %s did not finish\n", arguments.c_str());
        return false;
    }
    std::wstring outFile = file + L".out";
    if (output) *output = win::Narrow(ReadFileText(outFile));
    DeleteFileW(outFile.c_str());
    std::string code = win::Narrow(ReadFileText(file));
    while (!code.empty() && (code.back() == '\n' || code.back() == '\r')) code.pop_back();
    DeleteFileW(file.c_str());
    if (code != "0") std::printf("xdotool %s: exit code %s\n", arguments.c_str(), code.c_str());
    return code == "0";
}

}  // namespace testing_support
