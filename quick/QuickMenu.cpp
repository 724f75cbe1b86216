#include "quick/QuickMenu.h"

#include <algorithm>

#include "win/PopupMenu.h"

namespace {
constexpr int kMaxColumns = 3;

void Fill(win::MenuItem& parent, const QuickMenuSource& source, const MenuLayout& layout, size_t first) {
    const FolderList& entries = *source.Entries;
    const size_t perLevel =
        layout.Rows > 0 ? (size_t)layout.Rows * (size_t)std::max(1, layout.Columns) : entries.size() + 1;
    size_t placed = 0;
    for (size_t i = first; i < entries.size(); ++i) {
        // The last place of a full level goes to "More" when entries remain.
        if (placed + 1 == perLevel && i + 1 < entries.size()) {
            win::MenuItem& more = parent.Add(MoreCaption);
            more.NewColumn = layout.Rows > 0 && placed % layout.Rows == 0 && placed > 0;
            Fill(more, source, layout, i);
            return;
        }
        const FolderEntry& e = entries[i];
        win::MenuItem& item = e.IsSeparator() ? parent.AddSeparator() : parent.Add(win::EscapeMenuText(e.Alias));
        item.Tag = (int)i + 1;
        item.NewColumn = layout.Rows > 0 && placed > 0 && placed % layout.Rows == 0;
        if (!e.IsSeparator()) {
            item.Enabled = !(source.Missing && source.Missing(e.Path));
            if (source.Icon) item.Bitmap = source.Icon(e.Path);
        }
        ++placed;
    }
}
}  // namespace

void BuildQuickMenu(win::MenuItem& root, const QuickMenuSource& source, const MenuLayout& layout) {
    root.Items.clear();
    if (source.Entries) Fill(root, source, layout, 0);
}

const FolderEntry* EntryOf(const win::MenuItem& item, const FolderList& entries) {
    if (item.Tag <= 0 || (size_t)item.Tag > entries.size() || !item.Items.empty()) return nullptr;
    const FolderEntry& e = entries[(size_t)item.Tag - 1];
    return e.IsSeparator() ? nullptr : &e;
}

MenuLayout FitLayout(const RECT& area, int itemHeight, int columnWidth) {
    MenuLayout layout;
    // A few pixels go to the menu's frame.
    layout.Rows = std::max(1, (int)(area.bottom - area.top - 8) / std::max(1, itemHeight));
    // A few columns at most: beyond that a menu is no quicker to read than
    // a sub-menu, and each further column is a screenful more to paint.
    layout.Columns = std::clamp((int)(area.right - area.left - 8) / std::max(1, columnWidth), 1, kMaxColumns);
    return layout;
}
