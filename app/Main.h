#pragma once
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <functional>
#include <vector>

#include "app/ListCommands.h"
#include "store/Store.h"
#include "win/BackgroundWork.h"
#include "win/Form.h"
#include "win/PopupMenu.h"
#include "win/RegWatch.h"
#include "win/ImageList.h"
#include "win/ListView.h"
#include "win/ToolBar.h"
#include "xpmenu/XPMenu.h"

// The main window: the list of entries under a tool bar, and the commands.
class TfrmMain : public win::Form {
public:
    TfrmMain();  // creates the window and runs FormCreate
    ~TfrmMain() override;

    const FolderList& Entries() const { return list_.Entries(); }
    ListCommands& List() { return list_; }
    win::ListView lvMain;
    win::ToolBar ToolBar1;
    win::ImageList ImageList1{16, 16, 20};
    win::ImageList ImageList2{32, 32, 10};

    win::Action* aAddFolder = nullptr;
    win::Action* aEdit = nullptr;
    win::Action* aDelete = nullptr;
    win::Action* aItemUp = nullptr;
    win::Action* aItemDown = nullptr;
    win::Action* aSort = nullptr;
    win::Action* aRefresh = nullptr;
    win::Action* aExit = nullptr;
    win::Action* aImport = nullptr;  // the File menu's list-file commands
    win::Action* aExport = nullptr;
    win::Action* aOptions = nullptr;  // the File menu's "&Options..."
    win::Action* aUndo = nullptr;     // Ctrl+Z and the list's context menu
    win::Action* aOpenFolder = nullptr;  // Enter and the list's context menu

    std::unique_ptr<xpmenu::TXPMenu> XPMenu1;  // the menu, tool bar and dialog look

    bool SortAscending = true;   // the next sort is ascending
    bool MaximizeOnShow = false;  // set by LoadSettings for a saved maximised state

    // The window: creation, layout, painting, start-up, showing the list
    // and following the store (Main.cpp).
    void LayoutList();
    // Shows the list after a change to the entries; `selected` is the row
    // to select (-1 for none).
    void ShowEntries(int selected);
    // Shows what a command left: the selection, a row brought into view,
    // and its message, if any.
    void ShowOutcome(const Outcome& outcome);
    // Reads the list anew from the store and shows it.
    void ReloadEntries();
    // The store changed: shows what another writer did, the selection
    // kept on its entry.
    void FollowStore();

    // Settings (MainSettings.cpp).
    void LoadSettings();
    void SaveSettings();

    // The list's commands without a dialog, and the actions' enabling
    // (MainCommands.cpp); the work itself is ListCommands'.
    void aDeleteExecute();
    void aItemUpExecute();
    void aItemDownExecute();
    void aSortExecute();
    void aRefreshExecute();
    void aExitExecute();
    void aUndoExecute();
    void lvMainDblClick();
    bool aEditUpdate();
    bool aItemUpUpdate();
    bool aItemDownUpdate();
    bool aSortUpdate();
    bool aUndoUpdate();

    // The commands with a dialog: add, edit, options (MainItems.cpp); list
    // files (MainListFiles.cpp); help and about (MainHelp.cpp).
    void aAddFolderExecute();
    void aEditExecute();
    void aOptionsExecute();
    void miImportClick();
    void miExportClick();
    void miHelpClick();
    void miHomePageClick();
    void miAboutClick();

    // Opening a favourite and the list's context menu (MainContext.cpp).
    void aOpenFolderExecute();
    bool aOpenFolderUpdate();
    void ShowListMenu(POINT at);

    // The list's keys and type-to-find (MainKeys.cpp).
    bool lvMainKeyDown(WORD key);
    int lvMainFindPrefix(const std::wstring& prefix, int start);

    // Appends each existing folder with the alias the item dialog would
    // propose; names what it skipped in one message (MainDrop.cpp). The
    // folders are checked on a worker and added when the answer comes.
    void DropFolders(const std::vector<std::wstring>& paths);
    void AddDropped(const FolderList& folders, const std::wstring& skipped);

    // Work that may wait on the file system (opening a folder, checking
    // folders), kept off the window's thread; answers come back here.
    win::BackgroundWork& Background() { return work_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormShow() override;
    void FirstShow() override;
    void FormClose() override;
    void DpiChanged(UINT from, UINT to) override;

private:
    void FormCreate();
    void CreateActions();
    void CreateMenu();
    void CreateToolBar();
    void DrawImages();
    void CreateLook();  // MainLook.cpp
    void FormDropFiles(HDROP drop);
    void SeedFirstStart();
    void ReadStoreOptions();
    // Runs one step of start-up; an error it raises ends only that step and
    // is kept for the error box once the window is on screen.
    void StartupStep(const std::function<void()>& step);
    void ShowStartupErrors();
    void Paint();
    bool ListVisible() const;

    ListCommands list_;
    win::RegWatch storeWatch_{StoreKey};
    std::vector<int> storeWaits_;
    win::PopupMenu* listMenu_ = nullptr;  // the context menu while it is open
    std::vector<std::exception_ptr> startupErrors_;
    win::BackgroundWork work_;  // last: its answers are dropped before the rest goes
};
