#pragma once
#include <windows.h>

#include <vector>

#include "win/Menu.h"

namespace win {

// A shortcut menu built from a tree of MenuItems and shown with
// TrackPopupMenu. The owner window passes WM_MEASUREITEM, WM_DRAWITEM and
// WM_MENUCHAR on to HandleMessage while the menu is open.
class PopupMenu {
public:
    MenuItem Root;
    // Items with their own draw handlers are owner-drawn.
    bool OwnerDrawn = false;
    // Lights the first item when the menu opens, as a menu called from the
    // keyboard does; the owner must pass WM_ENTERIDLE on.
    bool SelectFirst = false;
    // Keys typed while the menu is open go to it, whoever holds the
    // foreground (the window system may hand it back to the window below a
    // moment after the menu opened, or keep the keyboard for a window of
    // its own), never to another window.
    bool KeepKeyboard = false;

    PopupMenu() = default;
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Build();  // (re)creates the Windows menu from Root
    HMENU Handle() const { return handle_; }

    // Shows the menu at a screen point and returns the chosen item, or null
    // when the menu was dismissed. The owner is made the foreground window
    // first, as a menu of a window in the background closes at once.
    MenuItem* Track(HWND owner, POINT at, UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN);
    bool IsTracking() const { return tracking_; }
    // The open menu's loop has run dry once: it takes keys from now on.
    bool Ready() const { return tracking_ && ready_; }
    // Times the open menu's loop ran dry: everything asked of it before,
    // repaints included, was done by then.
    unsigned Idles() const { return idles_; }
    static PopupMenu* Tracking();  // the menu this thread shows, or null

    MenuItem* FindCommand(UINT command);
    void ForEach(const std::function<void(MenuItem&)>& fn);
    // Pushes an item's caption, kind and state into the built menu.
    void Sync(MenuItem& item);
    // While the menu is open: draws it again, sub-menus included.
    void RedrawOpen();

    // Owner-draw requests and first-letter keys; true when handled.
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The answer to WM_MENUCHAR (MenuCharAnswer).
    LRESULT MenuChar(wchar_t ch, HMENU menu) const;

private:
    void BuildInto(HMENU menu, MenuItem& parent);
    UINT TypeOf(const MenuItem& item) const;
    HMENU handle_ = nullptr;
    UINT nextCommand_ = 1;
    bool tracking_ = false;
    bool selectPending_ = false;
    bool ready_ = false;
    unsigned idles_ = 0;
};

// The answer to WM_MENUCHAR in a menu built from MenuItems, whose items
// Windows cannot search when they are owner-drawn: the item whose '&'
// marker is the key, else the next after the highlighted one whose caption
// starts with it; executed when it is the only one.
LRESULT MenuCharAnswer(wchar_t ch, HMENU menu);

// The text a caption shows with its '&' escapes and mnemonic markers taken
// out: "Docs && Notes" -> "Docs & Notes", "&Open" -> "Open".
std::wstring MenuCaptionText(const std::wstring& caption);
// Doubles every '&' so that Windows shows it instead of underlining.
std::wstring EscapeMenuText(const std::wstring& text);

}  // namespace win
