#pragma once
#include <windows.h>

#include <functional>

#include "store/Store.h"
#include "win/Menu.h"

// How many items fit on the screen: rows in one column, columns side by
// side. A longer list goes on in a "More" sub-menu laid out the same way.
struct MenuLayout {
    int Rows = 0;     // 0: no limit
    int Columns = 1;
};

struct QuickMenuSource {
    const FolderList* Entries = nullptr;
    std::function<bool(const std::wstring& folder)> Missing;  // greyed when true
    std::function<HBITMAP(const std::wstring& folder)> Icon;  // null: no icons
};

constexpr const wchar_t* MoreCaption = L"More";

// Fills `root` with one item per entry in store order: the alias as text
// (its '&' shown as such), a separator line for a separator entry. An
// entry's item carries its position + 1 in Tag.
void BuildQuickMenu(win::MenuItem& root, const QuickMenuSource& source, const MenuLayout& layout);

// The entry an item stands for, or null for "More" and separators.
const FolderEntry* EntryOf(const win::MenuItem& item, const FolderList& entries);

// Rows and columns that fit a work area, for items of the given height and
// (widest) width.
MenuLayout FitLayout(const RECT& workArea, int itemHeight, int columnWidth);
