#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "store/Store.h"
#include "win/Menu.h"

// How many items fit on the screen: rows in one column, columns side by
// side. A longer list goes on in a "More" sub-menu laid out the same way.
struct MenuLayout {
    int Rows = 0;     // 0: no limit
    int Columns = 1;  // when the widths below are not known
    // Each entry's item width and the width the columns share: a column is
    // as wide as its widest item, so one long name widens one column only.
    std::vector<int> Widths;
    int AreaWidth = 0;

    // The columns a level whose first entry is `first` gets.
    int ColumnsFrom(size_t first) const;
};

struct QuickMenuSource {
    const FolderList* Entries = nullptr;
    std::function<bool(const std::wstring& folder)> Missing;  // greyed when true
    std::function<HBITMAP(const std::wstring& folder)> Icon;  // null: no icons
    std::function<SIZE(size_t entry)> Size;  // each entry's item as measured beforehand; null: measured by the menu
};

constexpr const wchar_t* MoreCaption = L"More";

// An alias longer than this many characters is shown cut in its middle,
// so that one long name cannot make every column wide.
constexpr size_t ItemTextCap = 45;
// The text an entry's item shows: the alias, cut to ItemTextCap with an
// ellipsis in its middle (never inside a surrogate pair).
std::wstring ShortenMiddle(const std::wstring& text, size_t cap = ItemTextCap);
// The caption of an entry's item, '&' escaped.
std::wstring ItemCaption(const FolderEntry& entry);

// Fills `root` with one item per entry in store order: the alias as text
// (its '&' shown as such, a long one shortened), a separator line for a
// separator entry. An entry's item carries its position + 1 in Tag.
void BuildQuickMenu(win::MenuItem& root, const QuickMenuSource& source, const MenuLayout& layout);

// The matches while the user types to find: a greyed heading with the
// typed text, a line, then the matching entries' items as BuildQuickMenu
// makes them (in one level, `found` being their positions). The heading is
// passed over by the keyboard: the first match is the first item it reaches.
void BuildFoundMenu(win::MenuItem& root, const QuickMenuSource& source, const std::vector<size_t>& found,
                    bool more, const std::wstring& typed);
// The heading's text.
std::wstring FindCaption(const std::wstring& typed, bool none, bool more);

// The entry an item stands for, or null for "More" and separators.
const FolderEntry* EntryOf(const win::MenuItem& item, const FolderList& entries);

// Rows and columns that fit a work area, for items of the given height and
// (widest) width.
MenuLayout FitLayout(const RECT& workArea, int itemHeight, int columnWidth);
// The same with each entry's own item width: as many columns as their
// widths leave room for.
MenuLayout FitLayout(const RECT& workArea, int itemHeight, std::vector<int> widths);
