#pragma once
#include <windows.h>

#include <string>

#include "store/Store.h"
#include "win/Form.h"
#include "win/Gdi.h"
#include "win/PopupMenu.h"
#include "xpmenu/PopupPainter.h"
#include "xpmenu/XPMenu.h"

// The quick menu's look: the office-style painter set up as the manager
// sets up its own, so that both programs' menus look alike.
class QuickLook {
public:
    explicit QuickLook(win::Form& host);
    QuickLook(const QuickLook&) = delete;
    QuickLook& operator=(const QuickLook&) = delete;

    void Attach(win::PopupMenu& menu) { popup_.Attach(menu); }
    void Attach(win::MenuItem& root) { popup_.Attach(root); }
    SIZE Measure(win::MenuItem& item) { return popup_.Measure(item); }
    // Each entry's item width, as the menu will make it, and the height
    // all items share; measured on one DC.
    std::vector<int> ItemWidths(const FolderList& entries, HBITMAP image, int& height);
    // What Windows adds to an owner-drawn item's width (check-mark and
    // sub-menu margins); ItemWidths' widths include it.
    static int MenuMargins() {
        static const int margins = GetSystemMetrics(SM_CXMENUCHECK) + 8;  // a slow call, asked at every key
        return margins;
    }

    const xpmenu::TXPMenu& Painter() const { return painter_; }

    // The colour the items' images stand on.
    COLORREF IconBackground() const;

private:
    xpmenu::TXPMenu painter_;
    xpmenu::TXPPopupPainter popup_;
};
