#pragma once
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <functional>
#include <vector>

#include "app/Undo.h"
#include "store/Store.h"
#include "win/BackgroundWork.h"
#include "win/Form.h"
#include "win/PopupMenu.h"
#include "win/ImageList.h"
#include "win/ListView.h"
#include "win/ToolBar.h"
#include "xpmenu/XPMenu.h"

// The main window: the list of entries under a tool bar, and the commands.
class TfrmMain : public win::Form {
public:
    TfrmMain();  // creates the window and runs FormCreate
    ~TfrmMain() override;

    FolderList& Entries() { return entries_; }
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

    void LayoutList();
    void LoadSettings();
    void SaveSettings();

    void aAddFolderExecute();  // MainItems.cpp
    void aEditExecute();
    void aOptionsExecute();
    void aDeleteExecute();
    void aItemUpExecute();
    void aItemDownExecute();
    void aSortExecute();
    void aRefreshExecute();
    void aExitExecute();
    void lvMainDblClick();
    void miHelpClick();
    void miHomePageClick();
    void miAboutClick();
    void miImportClick();
    void miExportClick();
    bool aEditUpdate();
    bool aItemUpUpdate();
    bool aItemDownUpdate();
    bool aSortUpdate();
    void aOpenFolderExecute();  // MainContext.cpp
    bool aOpenFolderUpdate();
    void ShowListMenu(POINT at);
    void aUndoExecute();  // MainUndo.cpp
    bool aUndoUpdate();
    // Made before a command changes the list; when it ends with the list
    // changed, Undo can take the change back. `appends` for commands that
    // append, whose first append may bring in entries hidden beyond a gap.
    class Change {
    public:
        explicit Change(TfrmMain& form, bool appends = false);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        TfrmMain& form_;
        UndoStep step_;
    };
    bool lvMainKeyDown(WORD key);  // MainKeys.cpp
    int lvMainFindPrefix(const std::wstring& prefix, int start);
    // Appends each existing folder with the alias the item dialog would
    // propose; names what it skipped in one message. MainDrop.cpp
    void DropFolders(const std::vector<std::wstring>& paths);

    // Work that may wait on the file system (opening a folder, checking
    // folders), kept off the window's thread; answers come back here.
    win::BackgroundWork& Background() { return work_; }

    // Shows the list after a change to the entries; `selected` is the row
    // to select (-1 for none).
    void ShowEntries(int selected);
    // Appends the stored entries to the list and shows them.
    void ReloadEntries();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormShow() override;
    void FirstShow() override;
    void FormClose() override;

private:
    void FormCreate();
    void CreateActions();
    void CreateMenu();
    void CreateToolBar();
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

    FolderList entries_;
    UndoHistory undo_;
    win::PopupMenu* listMenu_ = nullptr;  // the context menu while it is open
    std::vector<std::exception_ptr> startupErrors_;
    win::BackgroundWork work_;  // last: its answers are dropped before the rest goes
};
