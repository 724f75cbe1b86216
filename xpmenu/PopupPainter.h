#pragma once
#include <windows.h>

#include "win/PopupMenu.h"
#include "xpmenu/XPMenu.h"

namespace xpmenu {

// Paints a shortcut menu of its own (not a form's menu) with a painter's
// office style: the same measuring and painting as the painter's form
// menus, so both look alike. Item images come from MenuItem::Bitmap.
class TXPPopupPainter {
public:
    explicit TXPPopupPainter(TXPMenu& painter) : painter_(painter) {}

    // Makes every item of the menu owner-drawn through the painter; call
    // before PopupMenu::Build.
    void Attach(win::PopupMenu& menu);
    // The same for the items under `root` (a ListMenu's, say).
    void Attach(win::MenuItem& root);
    // An item's size as the painter will ask for it.
    SIZE Measure(win::MenuItem& item) const;

private:
    TXPMenu& painter_;
};

// A menu image from an icon: the icon drawn on `background` (its soft edges
// blend into that colour) inside a one-pixel border of the painter's key
// colour, which the painter takes as the transparent colour. The caller
// deletes the bitmap.
HBITMAP MenuBitmapFromIcon(HICON icon, int iconSize, COLORREF background);

}  // namespace xpmenu
