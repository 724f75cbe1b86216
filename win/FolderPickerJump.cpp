#include "win/FolderPickerJump.h"

#include <shlobj.h>

#include "win/Files.h"
#include "win/WindowLists.h"

namespace win {

HWND FindFolderPicker(HWND any) {
    HWND dialog = any ? GetAncestor(any, GA_ROOT) : nullptr;
    if (!dialog || ClassOf(dialog) != L"#32770") return nullptr;
    bool tree = false;
    for (HWND w : ChildWindows(dialog)) {
        std::wstring cls = ClassOf(w);
        if (cls == L"SHELLDLL_DefView") return nullptr;  // a file dialog's list: not this kind
        tree = tree || cls == L"SysTreeView32";
    }
    return tree ? dialog : nullptr;
}

bool SelectInFolderPicker(HWND picker, const std::wstring& folder, UINT timeoutMs) {
    if (!picker || !IsWindow(picker) || !DirectoryExists(folder)) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(picker, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    // The folder's item ID list, copied whole into the dialog's process.
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(folder.c_str());
    const size_t bytes = item ? ILGetSize(item) : 0;
    void* remote = bytes ? VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    bool done = false;
    if (remote && WriteProcessMemory(process, remote, item, bytes, nullptr)) {
        DWORD_PTR r = 0;
        done = SendMessageTimeoutW(picker, BFFM_SETSELECTIONW, FALSE, (LPARAM)remote, SMTO_ABORTIFHUNG, timeoutMs, &r) != 0;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (item) ILFree(item);
    CloseHandle(process);
    if (done) SetForegroundWindow(picker);
    return done;
}

}  // namespace win
