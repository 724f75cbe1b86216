// The commands that open a dialog on the list: add, edit, and the options.
#include "app/AddItem.h"
#include "app/Global.h"
#include "app/Main.h"
#include "app/Options.h"

void TfrmMain::aAddFolderExecute() {
    win::Sealed<TfrmProperty> dialog(Handle(), L"", L"");
    if (dialog.ShowModal() != win::mrOk) return;
    int selected = lvMain.Selected();
    // Shows the new row, and the stored ones it joined, also when a bad
    // value or a refused write ends the append.
    struct ShowAfter {
        TfrmMain* form;
        int selected;
        int row;  // where the new entry goes; joined ones may follow it
        ~ShowAfter() {
            form->ShowEntries(selected);
            // The selection stays; the new row is brought into view.
            if (row < (int)form->entries_.size()) form->lvMain.EnsureVisible(row);
        }
    } show{this, selected, (int)entries_.size()};
    Change change(*this, true);
    AppendEntry(StoreKey, entries_, dialog.Entry());
}

void TfrmMain::aEditExecute() {
    int k = lvMain.Selected();
    if (k < 0 || (size_t)k >= entries_.size()) return;
    win::Sealed<TfrmProperty> dialog(Handle(), entries_[k].Alias, entries_[k].Path);
    dialog.SetText(L"Edit Item");
    if (dialog.ShowModal() != win::mrOk || (size_t)k >= entries_.size()) return;
    FolderEntry entry = dialog.Entry();
    Change change(*this);
    entries_[k] = entry;
    lvMain.RedrawRows(k, k);
    WriteEntry(StoreKey, k, entry);
}

void TfrmMain::aOptionsExecute() {
    win::Sealed<TfrmOptions> dialog(Handle(), [this] { SaveSettings(); });
    dialog.ShowModal();
}
