#include "win/FolderPickerJump.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "win/Files.h"
#include "win/RemoteBuffer.h"
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

namespace {
// The text of the tree's selected item, read in the tree's own process.
std::wstring SelectedText(HWND tree, UINT timeoutMs) {
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, timeoutMs, &item) || !item)
        return {};
    constexpr size_t kChars = MAX_PATH;
    RemoteBuffer buffer(tree, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
    if (!buffer) return {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = (HTREEITEM)item;
    tv.pszText = (LPWSTR)buffer.At(sizeof(TVITEMW));
    tv.cchTextMax = (int)kChars;
    DWORD_PTR r = 0;
    if (!buffer.Write(0, &tv, sizeof(tv)) ||
        !SendMessageTimeoutW(tree, TVM_GETITEMW, 0, (LPARAM)buffer.At(0), SMTO_ABORTIFHUNG, timeoutMs, &r) || !r)
        return {};
    return buffer.Text(sizeof(TVITEMW), kChars);
}
}  // namespace

bool SelectInFolderPicker(HWND picker, const std::wstring& folder, UINT timeoutMs) {
    if (!picker || !IsWindow(picker) || !DirectoryExists(folder)) return false;
    HWND tree = nullptr;
    for (HWND w : ChildWindows(picker))
        if (ClassOf(w) == WC_TREEVIEWW) tree = w;
    // The folder's item ID list, copied whole into the dialog's process.
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(folder.c_str());
    const size_t bytes = item ? ILGetSize(item) : 0;
    bool sent = false;
    if (tree && bytes) {
        RemoteBuffer remote(picker, bytes);
        DWORD_PTR r = 0;
        sent = remote && remote.Write(0, item, bytes) &&
               SendMessageTimeoutW(picker, BFFM_SETSELECTIONW, FALSE, (LPARAM)remote.At(0), SMTO_ABORTIFHUNG,
                                   timeoutMs, &r) != 0;
    }
    // The tree leaves some folders out (those under a hidden one, say): it
    // then stays where it was, and the folder must open some other way.
    SHFILEINFOW info{};
    const bool there = sent && item &&
                       SHGetFileInfoW((LPCWSTR)item, 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME) &&
                       SelectedText(tree, timeoutMs) == info.szDisplayName;
    if (item) ILFree(item);
    if (there) SetForegroundWindow(picker);
    return there;
}

}  // namespace win
