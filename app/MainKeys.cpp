// Keys in the list: the usual ones of a Windows list, bound to the same
// actions as the menus, and type-ahead on the aliases.
#include "app/Main.h"

bool TfrmMain::lvMainKeyDown(WORD key) {
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
    if (shift || ctrl || alt) return false;
    switch (key) {
    case VK_DELETE: return aDelete->Execute();
    case VK_F2: return aEdit->Execute();
    case VK_F5: return aRefresh->Execute();
    case VK_F1: miHelpClick(); return true;
    }
    return false;
}

int TfrmMain::lvMainFindPrefix(const std::wstring& prefix, int start) {
    int n = (int)Entries().size();
    if (n == 0 || prefix.empty()) return -1;
    if (start < 0 || start >= n) start = 0;
    for (int step = 0; step < n; ++step) {
        int row = (start + step) % n;
        const FolderEntry& e = Entries()[row];
        if (e.IsSeparator() || e.Alias.size() < prefix.size()) continue;
        if (CompareStringOrdinal(e.Alias.c_str(), (int)prefix.size(), prefix.c_str(), (int)prefix.size(), TRUE) ==
            CSTR_EQUAL)
            return row;
    }
    return -1;
}
