// The commands that open a dialog on the list: add, edit, and the options.
#include "app/AddItem.h"
#include "app/Global.h"
#include "app/Main.h"
#include "app/Options.h"

void TfrmMain::aAddFolderExecute() {
    win::Sealed<TfrmProperty> dialog(Handle(), L"", L"");
    if (dialog.ShowModal() != win::mrOk) return;
    // The selection stays; the new row is brought into view.
    ShowOutcome(list_.Append({dialog.Entry()}, lvMain.Selected(), false));
}

void TfrmMain::aEditExecute() {
    int k = lvMain.Selected();
    if (k < 0 || (size_t)k >= Entries().size()) return;
    FolderEntry was = Entries()[k];
    win::Sealed<TfrmProperty> dialog(Handle(), was.Alias, was.Path);
    dialog.SetText(L"Edit Item");
    if (dialog.ShowModal() != win::mrOk) return;
    ShowOutcome(list_.Edit(k, was, dialog.Entry()));
}

void TfrmMain::aOptionsExecute() {
    win::Sealed<TfrmOptions> dialog(Handle(), [this] { SaveSettings(); });
    dialog.ShowModal();
}
