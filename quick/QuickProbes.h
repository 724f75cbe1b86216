#pragma once
// The questions that tests and the bench ask the running quick menu from
// outside, answered apart from its real work. Read-only: an answer never
// changes what the menu does.
#include <windows.h>

#include "store/Programs.h"

constexpr UINT WM_QUICK_REGISTRY_CALLS = QuickMessages + 10;  // registry calls made so far
constexpr UINT WM_QUICK_READS = QuickMessages + 11;           // times the list was read
constexpr UINT WM_QUICK_CHECKS = QuickMessages + 12;          // folder check rounds finished
constexpr UINT WM_QUICK_HOTKEY = QuickMessages + 13;          // the registered key: MAKELONG(vk, modifiers)
// The open menu's item at position wParam as it is shown: -1 when there is
// none, else MenuItemBits; its text comes back as a global atom.
constexpr UINT WM_QUICK_MENU_ITEM = QuickMessages + 14;
constexpr UINT WM_QUICK_MENU_TEXT = QuickMessages + 15;
constexpr UINT WM_QUICK_MENU_READY = QuickMessages + 16;  // a menu is open and takes keys
constexpr UINT WM_QUICK_OPENS = QuickMessages + 17;       // folder openings answered so far
constexpr UINT WM_QUICK_MENU_IDLES = QuickMessages + 18;  // times the open menu's loop ran dry
constexpr UINT WM_QUICK_FOUND_PAINTS = QuickMessages + 19;  // times the list of a search's matches was drawn
enum MenuItemBits : LRESULT {
    mibSeparator = 1, mibGrayed = 2, mibChecked = 4, mibOwnerDrawn = 8, mibSubMenu = 16, mibIcon = 32, mibLit = 64
};

class TfrmQuick;

class QuickProbes {
public:
    explicit QuickProbes(const TfrmQuick& quick) : quick_(quick) {}
    // Answers one of the questions above; false for any other message.
    bool Answer(UINT msg, WPARAM wp, LRESULT& result) const;

private:
    LRESULT DescribeItem(int position, bool text) const;
    const TfrmQuick& quick_;
};
