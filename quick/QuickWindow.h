#pragma once
#include <windows.h>

#include <memory>

#include "quick/FolderStates.h"
#include "quick/QuickLook.h"
#include "quick/QuickList.h"
#include "quick/QuickMenu.h"
#include "win/BackgroundWork.h"
#include "win/Form.h"
#include "win/HotKey.h"
#include "win/PopupMenu.h"
#include "win/TrayIcon.h"

// The quick menu's hidden window: owner of the notification-area icon, the
// hot key and both menus. Its class name lets a test or a script find it.
constexpr const wchar_t* QuickWindowClass = PATHNOOK_QUICK_WINDOW_CLASS;  // set by the build

// Messages the window answers (commands of its own menu, and questions
// that tests and the bench ask from outside).
enum QuickCommand : UINT { cmEditList = 101, cmStartWithWindows, cmHotKey, cmExit };
constexpr UINT WM_QUICK_TRAY = WM_APP + 1;
constexpr UINT WM_QUICK_FOLDERS = WM_APP + 2;
constexpr UINT WM_QUICK_REGISTRY_CALLS = WM_APP + 10;  // registry calls made so far
constexpr UINT WM_QUICK_READS = WM_APP + 11;           // times the list was read
constexpr UINT WM_QUICK_CHECKS = WM_APP + 12;          // folder check rounds finished
constexpr UINT WM_QUICK_HOTKEY = WM_APP + 13;          // the registered key: MAKELONG(vk, modifiers)
// The open menu's item at position wParam as it is shown: -1 when there is
// none, else MenuItemBits; its text comes back as a global atom.
constexpr UINT WM_QUICK_MENU_ITEM = WM_APP + 14;
constexpr UINT WM_QUICK_MENU_TEXT = WM_APP + 15;
constexpr UINT WM_QUICK_MENU_READY = WM_APP + 16;  // a menu is open and takes keys
constexpr UINT WM_QUICK_OPENS = WM_APP + 17;       // folder openings answered so far
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
    // Folder openings whose outcome has come back (opened or told).
    unsigned OpensDone() const { return opensDone_; }

    // Registers the stored hot key; tells the user when another program
    // holds it.
    void RegisterStoredHotKey();
    // Tries a new key; on refusal the old one stays and the user is told.
    bool ChangeHotKey(const win::HotKeySpec& key);

    // Shows the quick menu at a screen point; `target` is the window that
    // had the focus when it was called (a file dialog goes to the folder).
    void ShowQuickMenu(POINT at, HWND target, bool selectFirst = false);
    void ShowOwnMenu(POINT at);
    // The entries as the next menu would show them.
    void BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Command(UINT id);
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
    unsigned opensDone_ = 0;
    win::BackgroundWork opens_;  // last: its replies are dropped first
};
