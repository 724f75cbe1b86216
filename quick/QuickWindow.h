#pragma once
#include <windows.h>

#include <memory>

#include "quick/FolderFinder.h"
#include "quick/FolderStates.h"
#include "quick/QuickLook.h"
#include "quick/QuickList.h"
#include "quick/QuickMenu.h"
#include "store/Programs.h"
#include "win/BackgroundWork.h"
#include "win/Form.h"
#include "win/HotKey.h"
#include "win/PopupMenu.h"
#include "win/TipWindow.h"
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
constexpr UINT WM_QUICK_OPENS = QuickMessages + 17;       // folder openings answered so far
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
    // The entries as the next menu would show them; while something is
    // typed, only those that hold it.
    void BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at, const std::wstring& typed = L"");

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Command(UINT id);
    // Shows the window as a point under the menu's corner (see Track) and
    // hides it when the menu is done.
    win::MenuItem* Track(win::PopupMenu& menu, POINT at);
    struct PointShown {
        HWND owner;
        ~PointShown();
    };
    LRESULT TypedInMenu(wchar_t ch);
    void ShowTipFor(HMENU menu, UINT id, UINT flags);
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
    win::TipWindow tip_;  // a cut name, whole
    FolderFinder finder_;
    int indexedReads_ = -1;
    std::wstring typed_;     // what was typed in the open menu
    bool findable_ = false;  // the open menu is the list's, which typing searches
    bool retyped_ = false;   // the typed text changed: the menu shows again
    unsigned opensDone_ = 0;
    win::BackgroundWork opens_;  // last: its replies are dropped first
};
