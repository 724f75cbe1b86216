#include "quick/QuickMenu.h"

#include <algorithm>

#include "win/PopupMenu.h"

namespace {
bool LowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Makes `item` stand for entry `i`.
void SetEntry(win::MenuItem& item, const QuickMenuSource& source, size_t i) {
    const FolderEntry& e = (*source.Entries)[i];
    item.Caption = e.IsSeparator() ? L"-" : ItemCaption(e);
    item.Tag = (int)i + 1;
    item.Enabled = e.IsSeparator() || !(source.Missing && source.Missing(e.Path));
    item.Bitmap = !e.IsSeparator() && source.Icon ? source.Icon(e.Path) : nullptr;
    item.Measured = !e.IsSeparator() && source.Size ? source.Size(i) : SIZE{0, 0};
}

void AddEntry(win::MenuItem& parent, const QuickMenuSource& source, size_t i) {
    SetEntry(parent.Add(L""), source, i);
}

void Fill(win::MenuItem& parent, const QuickMenuSource& source, const MenuLayout& layout, size_t first) {
    const FolderList& entries = *source.Entries;
    const size_t perLevel =
        layout.Rows > 0 ? (size_t)layout.Rows * (size_t)layout.ColumnsFrom(first) : entries.size() + 1;
    size_t placed = 0;
    for (size_t i = first; i < entries.size(); ++i) {
        // The last place of a full level goes to "More" when entries remain.
        if (placed + 1 == perLevel && i + 1 < entries.size()) {
            win::MenuItem& more = parent.Add(MoreCaption);
            more.NewColumn = layout.Rows > 0 && placed % layout.Rows == 0 && placed > 0;
            Fill(more, source, layout, i);
            return;
        }
        AddEntry(parent, source, i);
        parent.Items.back()->NewColumn = layout.Rows > 0 && placed > 0 && placed % layout.Rows == 0;
        ++placed;
    }
}
}  // namespace

std::wstring ShortenMiddle(const std::wstring& text, size_t cap) {
    if (text.size() <= cap || cap < 3) return text;
    size_t head = (cap - 1) / 2, tail = cap - 1 - head;
    if (LowSurrogate(text[head])) --head;  // keep a pair whole
    size_t from = text.size() - tail;
    if (LowSurrogate(text[from])) ++from;
    return text.substr(0, head) + L"\u2026" + text.substr(from);
}

std::wstring ItemCaption(const FolderEntry& entry) { return win::EscapeMenuText(ShortenMiddle(entry.Alias)); }

void BuildQuickMenu(win::MenuItem& root, const QuickMenuSource& source, const MenuLayout& layout) {
    root.Items.clear();
    if (source.Entries) Fill(root, source, layout, 0);
}

void BuildFoundMenu(win::MenuItem& root, const QuickMenuSource& source, const std::vector<size_t>& found,
                    bool more, const std::wstring& typed) {
    root.Items.clear();
    win::MenuItem& heading = root.Add(win::EscapeMenuText(FindCaption(typed, found.empty(), more)));
    heading.Heading = true;
    heading.Enabled = false;
    root.AddSeparator();
    for (size_t i : found) AddEntry(root, source, i);
}

std::wstring FindCaption(const std::wstring& typed, bool none, bool more) {
    if (none) return L"No favourite holds \u201c" + typed + L"\u201d";
    return L"Find: \u201c" + typed + L"\u201d" + (more ? L"  (more: type on)" : L"");
}

const FolderEntry* EntryOf(const win::MenuItem& item, const FolderList& entries) {
    if (item.Tag <= 0 || (size_t)item.Tag > entries.size() || !item.Items.empty()) return nullptr;
    const FolderEntry& e = entries[(size_t)item.Tag - 1];
    return e.IsSeparator() ? nullptr : &e;
}

int MenuLayout::ColumnsFrom(size_t first) const {
    if (Widths.empty() || Rows <= 0) return std::max(1, Columns);
    int used = 0, columns = 0;
    for (size_t start = first; start < Widths.size(); start += (size_t)Rows) {
        size_t end = std::min(Widths.size(), start + (size_t)Rows);
        int width = *std::max_element(Widths.begin() + (std::ptrdiff_t)start, Widths.begin() + (std::ptrdiff_t)end);
        if (columns > 0 && used + width > AreaWidth) break;
        used += width;
        ++columns;
    }
    return std::max(1, columns);
}

MenuLayout FitLayout(const RECT& area, int itemHeight, std::vector<int> widths) {
    MenuLayout layout = FitLayout(area, itemHeight, 1);
    layout.Widths = std::move(widths);
    layout.AreaWidth = (int)(area.right - area.left - 8);
    return layout;
}

MenuLayout FitLayout(const RECT& area, int itemHeight, int columnWidth) {
    MenuLayout layout;
    // A few pixels go to the menu's frame.
    layout.Rows = std::max(1, (int)(area.bottom - area.top - 8) / std::max(1, itemHeight));
    // As many columns as the screen holds: long names are shortened, so a
    // list of a few hundred fits on one screen before any "More".
    layout.Columns = std::max(1, (int)(area.right - area.left - 8) / std::max(1, columnWidth));
    return layout;
}
