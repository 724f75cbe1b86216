#include "support/FileDialogHost.h"

#include <commdlg.h>
#include <ole2.h>
#include <shobjidl.h>

#include "support/TestSupport.h"

namespace testing_support {

namespace {
UINT_PTR CALLBACK PlainHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

void ShowItemDialog(const std::wstring& title, const std::wstring& start) {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) return;
    IShellItem* folder = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
        dialog->SetFolder(folder);
        folder->Release();
    }
    dialog->SetTitle(title.c_str());
    dialog->Show(nullptr);
    dialog->Release();
}
}  // namespace

FileDialogHost::FileDialogHost(DialogKind kind, const std::wstring& title, const std::wstring& startFolder)
    : title_(title), start_(startFolder) {
    thread_ = std::thread([this, kind] {
        OleInitialize(nullptr);
        if (kind == DialogKind::ItemDialog) {
            ShowItemDialog(title_, start_);
        } else {
            wchar_t file[MAX_PATH] = {};
            OPENFILENAMEW ofn{sizeof(ofn)};
            ofn.lpstrFile = file;
            ofn.nMaxFile = MAX_PATH;
            ofn.lpstrFilter = L"All files\0*.*\0";
            ofn.lpstrTitle = title_.c_str();
            ofn.lpstrInitialDir = start_.c_str();
            ofn.Flags = OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST;
            if (kind == DialogKind::Explorer) {
                ofn.Flags |= OFN_EXPLORER;
            } else {
                ofn.Flags |= OFN_ENABLEHOOK;  // without OFN_EXPLORER a hook keeps the old look
                ofn.lpfnHook = PlainHook;
            }
            GetOpenFileNameW(&ofn);
        }
        done_ = true;
        OleUninitialize();
    });
}

FileDialogHost::~FileDialogHost() {
    if (!done_)
        if (HWND d = Dialog(0)) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    thread_.join();
}

HWND FileDialogHost::Dialog(int timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, L"#32770", title_.c_str()))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == GetCurrentProcessId() && IsWindowVisible(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

OtherProgram::OtherProgram(const std::wstring& commandLine) {
    std::wstring command = commandLine;
    STARTUPINFOW si{sizeof(si)};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_)) info_ = {};
}

OtherProgram::~OtherProgram() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

HWND OtherProgram::Window(const wchar_t* className, int timeoutMs) const {
    HWND found = nullptr;
    if (!info_.hProcess) return nullptr;
    WaitUntil([&] { return (found = WindowOfProcess(info_.dwProcessId, className)) != nullptr; }, timeoutMs);
    return found;
}

bool BringToFront(HWND w, int timeoutMs) {
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == w) return true;
            SetForegroundWindow(w);
            return false;
        },
        timeoutMs);
}

}  // namespace testing_support
