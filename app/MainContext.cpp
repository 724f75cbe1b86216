// The list's context menu, painted like the main menu, and opening a
// favourite through the shell.
#include "app/Global.h"
#include "app/Main.h"
#include "win/FolderOpen.h"
#include "win/PopupMenu.h"
#include "xpmenu/PopupPainter.h"

void TfrmMain::aOpenFolderExecute() {
    int k = lvMain.Selected();
    if (k < 0 || (size_t)k >= Entries().size() || Entries()[k].IsSeparator()) return;
    // On a worker: a folder on a slow share must not freeze the window.
    win::OpenFolderInBackground(work_, Handle(), Entries()[k].Path, AppOptions.ExploreFolder, L"Pathnook");
}

bool TfrmMain::aOpenFolderUpdate() {
    int k = lvMain.Selected();
    return k >= 0 && (size_t)k < Entries().size() && !Entries()[k].IsSeparator();
}

// `at` in screen co-ordinates; (-1, -1) when the keyboard asked for it.
void TfrmMain::ShowListMenu(POINT at) {
    bool fromKeyboard = at.x == -1 && at.y == -1;
    if (fromKeyboard) {
        RECT r{LVIR_BOUNDS};
        int k = lvMain.Selected();
        if (k < 0 || !SendMessageW(lvMain.Handle(), LVM_GETITEMRECT, k, (LPARAM)&r)) r = RECT{0, 0, 0, 0};
        at = {r.left + 8, r.bottom};
        ClientToScreen(lvMain.Handle(), &at);
    }
    Actions().Update();  // the items follow the same rules as their actions
    win::PopupMenu menu;
    auto& root = menu.Root;
    root.Add(L"&Open Folder", aOpenFolder);
    root.AddSeparator();
    root.Add(L"&Edit Item...", aEdit);
    root.Add(L"&Delete Item", aDelete);
    root.AddSeparator();
    root.Add(L"&Up Item", aItemUp);
    root.Add(L"&Down Item", aItemDown);
    root.AddSeparator();
    root.Add(L"&Undo", aUndo);
    if (XPMenu1) xpmenu::TXPPopupPainter(*XPMenu1).Attach(menu);
    menu.SelectFirst = fromKeyboard;
    menu.Build();
    listMenu_ = &menu;
    struct Clear {
        win::PopupMenu*& menu;
        ~Clear() { menu = nullptr; }
    } clear{listMenu_};
    if (win::MenuItem* chosen = menu.Track(Handle(), at)) chosen->Click();
}
