#pragma once
#include <windows.h>

#include <memory>

#include "quick/FolderStates.h"
#include "quick/QuickLook.h"
#include "quick/QuickList.h"
#include "quick/QuickMenu.h"
#include "store/Programs.h"
#include "win/Form.h"
#include "win/HotKey.h"
#include "win/PopupMenu.h"
#include "win/TrayIcon.h"

// The quick menu's hidden window: owner of the notification-area icon, the
// hot key and both menus. Its class name lets a test or a script find it.

// Messages the window answers (commands of its own menu, and questions
// that tests and the bench ask from outside).
enum QuickCommand : UINT { cmEditList = 101, cmStartWithWindows, cmHotKey, cmExit };
constexpr UINT WM_QUICK_TRAY = QuickMessages + 1;
constexpr UINT WM_QUICK_FOLDERS = QuickMessages + 2;
constexpr UINT WM_QUICK_REGISTRY_CALLS = QuickMessages + 10;  // registry calls made so far
constexpr UINT WM_QUICK_READS = QuickMessages + 11;           // times the list was read
constexpr UINT WM_QUICK_CHECKS = QuickMessages + 12;          // folder check rounds finished
constexpr UINT WM_QUICK_HOTKEY = QuickMessages + 13;          // the registered key: MAKELONG(vk, modifiers)
// The open menu's item at position wParam as it is shown: -1 when there is
// none, else MenuItemBits; its text comes back as a global atom.
constexpr UINT WM_QUICK_MENU_ITEM = QuickMessages + 14;
constexpr UINT WM_QUICK_MENU_TEXT = QuickMessages + 15;
constexpr UINT WM_QUICK_MENU_READY = QuickMessages + 16;  // a menu is open and takes keys
constexpr const wchar_t* AddFolderCaption = L"Add This Folder...";
enum MenuItemBits : LRESULT {
    mibSeparator = 1, mibGrayed = 2, mibChecked = 4, mibOwnerDrawn = 8, mibSubMenu = 16, mibIcon = 32, mibLit = 64
};
constexpr int kHotKeyId = 1;

class TfrmQuick : public win::Form {
public:
    TfrmQuick();
    ~TfrmQuick() override;

    QuickList& List() { return list_; }
    FolderStates& States() { return *states_; }
    win::HotKey& Key() { return hotKey_; }
    bool TrayShown() const { return tray_.Shown(); }

    // Registers the stored hot key; tells the user when another program
    // holds it.
    void RegisterStoredHotKey();
    // Tries a new key; on refusal the old one stays and the user is told.
    bool ChangeHotKey(const win::HotKeySpec& key);

    // Shows the quick menu at a screen point; `target` is the window that
    // had the focus when it was called (a file dialog goes to the folder).
    void ShowQuickMenu(POINT at, HWND target, bool selectFirst = false);
    void ShowOwnMenu(POINT at);
    // The quick menu's own part after the favourites: "Add This Folder..."
    // when `target` shows a folder. Returns the added item, or null.
    const win::MenuItem* AddOwnItems(win::PopupMenu& menu, HWND target);
    // Asks for the alias of the folder the menu was opened over and
    // appends it to the list.
    void AddShownFolder(HWND target);
    // The entries as the next menu would show them.
    void BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Command(UINT id);
    win::MenuItem* Track(win::PopupMenu& menu, POINT at);
    void EditHotKey();
    void FoldersChecked();
    void CheckFolders(const FolderList& entries);
    LRESULT DescribeItem(int position, bool text) const;

    QuickList list_;
    std::unique_ptr<FolderStates> states_;
    std::unique_ptr<QuickLook> look_;
    win::TrayIcon tray_;
    win::HotKey hotKey_;
    win::PopupMenu* openMenu_ = nullptr;
    const FolderList* openEntries_ = nullptr;
    HICON icon_ = nullptr;
    bool checkPending_ = false;
    std::wstring shownFolder_;  // the folder of the window the menu was opened over
};
