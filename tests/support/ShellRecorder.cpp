// A shell handler for folders that records what it was asked to open.
#include "support/ShellRecorder.h"

#include <shellapi.h>

#include <algorithm>

#include "support/TestSupport.h"

namespace testing_support {

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
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe = self;
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

}  // namespace testing_support
