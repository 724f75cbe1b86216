#include "win/FileDialogJump.h"

#include <dlgs.h>

#include <vector>

#include "win/WindowLists.h"

namespace win {

namespace {
std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

struct Scan {
    HWND nameBox = nullptr, folderView = nullptr, ok = nullptr, dirList = nullptr;
};

Scan ScanChildren(HWND dialog) {
    Scan s;
    for (HWND w : ChildWindows(dialog)) {
        std::wstring cls = ClassOf(w);
        int id = GetDlgCtrlID(w);
        if (!s.nameBox && id == cmb13 && (cls == L"ComboBoxEx32" || cls == L"ComboBox")) s.nameBox = w;
        if (!s.nameBox && id == edt1 && cls == L"Edit") s.nameBox = w;
        if (!s.folderView && cls == L"SHELLDLL_DefView") s.folderView = w;
        // The oldest dialogs show folders in a list box of their own.
        if (!s.dirList && id == lst2 && cls == L"ListBox") s.dirList = w;
        if (!s.ok && id == IDOK && cls == L"Button") s.ok = w;
    }
    return s;
}

HWND EditIn(HWND box) {
    if (ClassOf(box) == L"Edit") return box;
    for (HWND w : ChildWindows(box))
        if (ClassOf(w) == L"Edit") return w;
    return nullptr;
}

bool SendText(HWND w, const std::wstring& text, UINT timeoutMs) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, timeoutMs, &r) != 0;
}

bool ReadText(HWND w, std::wstring& out, UINT timeoutMs) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)) return false;
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, buffer.size(), (LPARAM)buffer.data(), SMTO_ABORTIFHUNG, timeoutMs, &got))
        return false;
    out.assign(buffer.data());
    return true;
}
}  // namespace

FileDialogParts FindFileDialog(HWND any) {
    FileDialogParts parts;
    HWND dialog = any ? GetAncestor(any, GA_ROOT) : nullptr;
    if (!dialog || ClassOf(dialog) != L"#32770") return parts;
    Scan s = ScanChildren(dialog);
    bool folderView = s.folderView || (s.dirList && s.nameBox && GetDlgCtrlID(s.nameBox) == edt1);
    if (!s.nameBox || !folderView || !s.ok) return parts;
    HWND edit = EditIn(s.nameBox);
    if (!edit) return parts;
    parts.Dialog = dialog;
    parts.NameBox = s.nameBox;
    parts.NameEdit = edit;
    parts.Ok = s.ok;
    return parts;
}

HWND FocusedWindowAnywhere() {
    HWND fg = GetForegroundWindow();
    if (!fg) return nullptr;
    GUITHREADINFO info{sizeof(info)};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &info)) {
        if (info.hwndFocus) return info.hwndFocus;
        if (info.hwndActive) return info.hwndActive;
    }
    return fg;
}

bool SendFileDialogTo(const FileDialogParts& d, const std::wstring& folder, UINT timeoutMs) {
    if (!d || !IsWindow(d.Dialog)) return false;
    std::wstring typed;
    if (!ReadText(d.NameEdit, typed, timeoutMs)) return false;
    std::wstring target = folder;
    if (target.empty() || target.back() != L'\\') target += L'\\';
    if (!SendText(d.NameEdit, target, timeoutMs)) return false;
    // Sent, not posted: the dialog has moved (or refused) when it returns.
    DWORD_PTR r = 0;
    bool answered = SendMessageTimeoutW(d.Dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)d.Ok,
                                        SMTO_ABORTIFHUNG, timeoutMs, &r) != 0;
    if (!answered || !IsWindow(d.Dialog)) return false;
    // The dialog may have swapped its name box while moving; find it again.
    FileDialogParts now = FindFileDialog(d.Dialog);
    HWND edit = now ? now.NameEdit : d.NameEdit;
    SendText(edit, typed, timeoutMs);
    SetForegroundWindow(d.Dialog);
    PostMessageW(d.Dialog, WM_NEXTDLGCTL, (WPARAM)edit, TRUE);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    return true;
}

}  // namespace win
