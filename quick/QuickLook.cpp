#include "quick/QuickLook.h"

#include <algorithm>

#include "look/MenuLook.h"
#include "quick/QuickMenu.h"

QuickLook::QuickLook(win::Form& host) : painter_(host), popup_(painter_) {
    ApplyMenuLook(painter_);
    painter_.RefreshPalette(win::WindowDC(nullptr));
}

COLORREF QuickLook::IconBackground() const { return painter_.PaintColors().IconColumn; }

std::vector<int> QuickLook::ItemWidths(const FolderList& entries, HBITMAP image, int& height) {
    win::MenuItem probe;
    probe.Bitmap = image;
    std::vector<int> widths;
    widths.reserve(entries.size());
    height = 1;
    // Windows adds the check-mark and sub-menu margins to owner-drawn widths.
    const int margins = MenuMargins();
    win::WindowDC dc(nullptr);
    xpmenu::TXPMenu::DpiPin pin(painter_);
    for (const FolderEntry& e : entries) {
        int w = 0, h = 0;
        if (!e.IsSeparator()) {
            probe.Caption = ItemCaption(e);
            painter_.MeasureMenuItem(probe, dc, w, h);
            height = std::max(height, h);
        }
        widths.push_back(w + margins);
    }
    return widths;
}
