#pragma once
#include <windows.h>

#include <memory>

#include "quick/FolderFinder.h"
#include "quick/FolderImages.h"
#include "quick/FolderStates.h"
#include "quick/QuickLook.h"
#include "quick/QuickList.h"
#include "quick/QuickMenu.h"
#include "quick/QuickProbes.h"
#include "store/Programs.h"
#include "win/BackgroundWork.h"
#include "win/Form.h"
#include "win/HotKey.h"
#include "win/ListMenu.h"
#include "win/PopupMenu.h"
#include "win/TipWindow.h"
#include "win/TrayIcon.h"

// The quick menu's hidden window: owner of the notification-area icon, the
// hot key and both menus. Its class name lets a test or a script find it.

// Commands of its own menu, and the messages of its icon and folder checks
// (the questions tests ask are in QuickProbes.h).
enum QuickCommand : UINT { cmEditList = 101, cmStartWithWindows, cmHotKey, cmExit };
constexpr UINT WM_QUICK_TRAY = QuickMessages + 1;
constexpr UINT WM_QUICK_FOLDERS = QuickMessages + 2;
constexpr const wchar_t* AddFolderCaption = L"Add This Folder...";
constexpr int kHotKeyId = 1;

class TfrmQuick : public win::Form {
public:
    TfrmQuick();
    ~TfrmQuick() override;

    QuickList& List() { return list_; }
    const QuickList& List() const { return list_; }
    FolderStates& States() { return *states_; }
    const FolderStates& States() const { return *states_; }
    win::HotKey& Key() { return hotKey_; }
    const win::HotKey& Key() const { return hotKey_; }
    bool TrayShown() const { return tray_.Shown(); }
    // Folder openings whose outcome has come back (opened or told).
    unsigned OpensDone() const { return opensDone_; }
    // The menu open now, or null; while a search shows, its matches.
    const win::PopupMenu* OpenMenu() const { return openMenu_; }
    const win::ListMenu& Found() const { return found_; }
    bool MenuOpen() const { return openMenu_ || found_.IsTracking(); }

    // Registers the stored hot key; tells the user when another program
    // holds it.
    void RegisterStoredHotKey();
    // Tries a new key; on refusal the old one stays and the user is told.
    bool ChangeHotKey(const win::HotKeySpec& key);

    // Shows the quick menu at a screen point; `target` is the window that
    // had the focus when it was called (a file dialog goes to the folder).
    void ShowQuickMenu(POINT at, HWND target, bool selectFirst = false);
    void ShowOwnMenu(POINT at);
    // The icon's own menu: each item with a mnemonic of its own letter.
    static void FillOwnMenu(win::MenuItem& root, bool startsWithWindows);
    // The quick menu's own part after the favourites: "Add This Folder..."
    // when `target` shows a folder. Returns the added item, or null.
    const win::MenuItem* AddOwnItems(win::PopupMenu& menu, HWND target);
    // Asks for the alias of the folder the menu was opened over and
    // appends it to the list.
    void AddShownFolder(HWND target);
    // The entries as the next menu would show them.
    void BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at);
    // The entries that hold what was typed, under a heading that shows it,
    // as the list of matches shows them.
    void BuildFound(win::MenuItem& root, const FolderList& entries, POINT at, const std::wstring& typed);
    QuickMenuSource SourceFor(const FolderList& entries);
    // Each entry's item width and the items' height, as the menu makes them.
    const std::vector<int>& EntryWidths(const FolderList& entries, HBITMAP image, int& height);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Command(UINT id);
    win::MenuItem* Track(win::PopupMenu& menu, POINT at);
    win::MenuItem* TrackFound(const FolderList& entries, POINT at);
    win::MenuItem* Track(const std::function<win::MenuItem*()>& show);
    LRESULT TypedInMenu(wchar_t ch);
    void ShowMatches();
    void ShowTipFor(HMENU menu, UINT id, UINT flags);
    void ShowTipFor(const win::MenuItem* item, const RECT& shown);
    void ShowFoundTip(int position);
    // The menus are measured and drawn for the monitor they open on; the
    // DPI is kept here, where every key can read it without asking.
    void SetMenuDpi(UINT dpi);
    UINT MenuDpi() const;
    void EditHotKey();
    void FoldersChecked();
    void CheckFolders(const FolderList& entries);

    QuickList list_;
    std::unique_ptr<FolderStates> states_;
    std::unique_ptr<QuickLook> look_;
    std::unique_ptr<FolderImages> images_;
    win::TrayIcon tray_;
    win::HotKey hotKey_;
    win::PopupMenu* openMenu_ = nullptr;
    win::ListMenu found_;  // the matches of a search; kept between searches
    UINT menuDpi_ = 0;  // 0: not set, the window's own
    POINT menuAt_{};  // where the open menu was called, and its work area
    RECT menuArea_{};
    const FolderList* openEntries_ = nullptr;
    HICON icon_ = nullptr;
    bool checkPending_ = false;
    QuickProbes probes_{*this};
    win::TipWindow tip_;  // a cut name, whole
    FolderFinder finder_;
    int indexedReads_ = -1;
    std::vector<int> widths_;  // EntryWidths' answer for the read below
    int widthsReads_ = -1, widthsHeight_ = 1;
    bool widthsImage_ = false;
    UINT widthsDpi_ = 0;
    std::wstring typed_;     // what was typed in the open menu
    bool findable_ = false;  // the open menu is the list's, which typing searches
    bool retyped_ = false;   // the menu closed to show again (the matches, or the whole list)
    unsigned opensDone_ = 0;
    win::BackgroundWork opens_;  // last: its replies are dropped first
    std::wstring shownFolder_;  // the folder of the window the menu was opened over
};
