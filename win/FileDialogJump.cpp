#include "win/FileDialogJump.h"

#include <dlgs.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "win/PathCheck.h"
#include "win/WindowLists.h"

namespace win {

namespace {
struct Scan {
    HWND nameBox = nullptr, folderView = nullptr, ok = nullptr, dirList = nullptr, types = nullptr;
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
        if (!s.types && id == cmb1 && cls == L"ComboBox" && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) s.types = w;
    }
    return s;
}

HWND EditIn(HWND box) {
    if (ClassOf(box) == L"Edit") return box;
    for (HWND w : ChildWindows(box))
        if (ClassOf(w) == L"Edit") return w;
    return nullptr;
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT timeoutMs, DWORD_PTR* result = nullptr) {
    DWORD_PTR r = 0;
    bool answered = SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, timeoutMs, &r) != 0;
    if (result) *result = r;
    return answered;
}

bool ReadText(HWND w, std::wstring& out, UINT timeoutMs) {
    DWORD_PTR length = 0;
    if (!Send(w, WM_GETTEXTLENGTH, 0, 0, timeoutMs, &length)) return false;
    std::vector<wchar_t> buffer(length + 2, L'\0');
    if (!Send(w, WM_GETTEXT, buffer.size(), (LPARAM)buffer.data(), timeoutMs)) return false;
    out.assign(buffer.data());
    return true;
}

// The answer to OK, sent without waiting for it: the dialog may take its
// time (a box of its own, a slow share) and this thread must be able to
// put the name back meanwhile. The flag is shared with the callback,
// which may come after the waiting has been given up.
using Flag = std::shared_ptr<std::atomic<bool>>;
void CALLBACK Answered(HWND, UINT, ULONG_PTR data, LRESULT) {
    auto* flag = reinterpret_cast<Flag*>(data);
    **flag = true;
    delete flag;
}

bool PressOk(HWND dialog, HWND ok, const Flag& answered) {
    auto* copy = new Flag(answered);
    if (SendMessageCallbackW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)ok, Answered, (ULONG_PTR)copy))
        return true;
    delete copy;
    return false;
}

// Pumps this thread (the answer arrives through its queue) until OK is
// answered, the dialog is gone or the time is up.
bool WaitForAnswer(const Flag& answered, HWND dialog, UINT ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (*answered) return true;
        DWORD elapsed = GetTickCount() - start;
        if (!IsWindow(dialog) || elapsed >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - elapsed, 50), QS_ALLINPUT);
    }
}

// Puts the typed name back with its selection and the focus in it. The
// dialog may have swapped its name box while moving; found again.
void PutBack(HWND dialog, HWND oldEdit, const std::wstring& typed, DWORD selection, UINT timeoutMs) {
    if (!IsWindow(dialog)) return;
    FileDialogParts now = FindFileDialog(dialog);
    HWND edit = now ? now.NameEdit : (IsWindow(oldEdit) ? oldEdit : nullptr);
    if (!edit) return;
    std::wstring shown;
    if (!ReadText(edit, shown, timeoutMs) || shown != typed) Send(edit, WM_SETTEXT, 0, (LPARAM)typed.c_str(), timeoutMs);
    SetForegroundWindow(dialog);
    PostMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)edit, TRUE);
    // After the focus change, which selects the whole text.
    PostMessageW(edit, EM_SETSEL, LOWORD(selection), HIWORD(selection));
}
}  // namespace

FileDialogParts FindFileDialog(HWND any) {
    FileDialogParts parts;
    HWND dialog = any ? GetAncestor(any, GA_ROOT) : nullptr;
    if (!dialog || ClassOf(dialog) != L"#32770") return parts;
    Scan s = ScanChildren(dialog);
    bool oldest = s.dirList && s.nameBox && GetDlgCtrlID(s.nameBox) == edt1;
    // Without a visible list of file types it may be a folder picker: its
    // OK would not move it but choose the folder for good.
    bool filesDialog = oldest || (s.folderView && s.types);
    if (!s.nameBox || !filesDialog || !s.ok) return parts;
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

JumpResult SendFileDialogTo(const FileDialogParts& d, const std::wstring& folder, UINT timeoutMs, UINT lateMs) {
    if (!d || !IsWindow(d.Dialog)) return JumpResult::Closed;
    if (CheckPath(folder) != PathKind::Folder) return JumpResult::NotAFolder;
    std::wstring typed;
    DWORD_PTR selection = 0;
    if (!ReadText(d.NameEdit, typed, timeoutMs) || !Send(d.NameEdit, EM_GETSEL, 0, 0, timeoutMs, &selection))
        return IsWindow(d.Dialog) ? JumpResult::NoAnswer : JumpResult::Closed;
    std::wstring target = folder;
    if (target.back() != L'\\') target += L'\\';
    // From here on the name box may hold the folder: every way out puts
    // the typed name back. OK only once the folder is surely in the box,
    // or it could open what was typed.
    Flag answered = std::make_shared<std::atomic<bool>>(false);
    bool pressed = false;
    if (Send(d.NameEdit, WM_SETTEXT, 0, (LPARAM)target.c_str(), timeoutMs)) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // a queue for the answer
        pressed = PressOk(d.Dialog, d.Ok, answered);
        if (pressed) WaitForAnswer(answered, d.Dialog, timeoutMs);
    }
    PutBack(d.Dialog, d.NameEdit, typed, (DWORD)selection, timeoutMs);
    if (pressed && !*answered && IsWindow(d.Dialog)) {
        // A late answer may still move the dialog and replace the name.
        if (WaitForAnswer(answered, d.Dialog, lateMs)) PutBack(d.Dialog, d.NameEdit, typed, (DWORD)selection, timeoutMs);
    }
    if (!IsWindow(d.Dialog)) return JumpResult::Closed;
    return *answered ? JumpResult::Moved : JumpResult::NoAnswer;
}

}  // namespace win
