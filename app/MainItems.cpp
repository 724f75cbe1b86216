// The commands that open a dialog on the list: add, edit, and the options.
#include "app/AddItem.h"
#include "app/Global.h"
#include "app/Main.h"
#include "app/Options.h"

void TfrmMain::aAddFolderExecute() {
    win::Sealed<TfrmProperty> dialog(Handle(), L"", L"");
    if (dialog.ShowModal() != win::mrOk) return;
    int selected = lvMain.Selected();
    // The row shows even when the store refuses the write.
    struct ShowAfter {
        TfrmMain* form;
        int selected;
        ~ShowAfter() {
            form->ShowEntries(selected);
            // The selection stays; the new row is brought into view.
            form->lvMain.EnsureVisible((int)form->entries_.size() - 1);
        }
    } show{this, selected};
    AppendEntry(StoreKey, entries_, dialog.Entry());
}

void TfrmMain::aEditExecute() {
    int k = lvMain.Selected();
    if (k < 0 || (size_t)k >= entries_.size()) return;
    win::Sealed<TfrmProperty> dialog(Handle(), entries_[k].Alias, entries_[k].Path);
    dialog.SetText(L"Edit Item");
    if (dialog.ShowModal() != win::mrOk || (size_t)k >= entries_.size()) return;
    FolderEntry entry = dialog.Entry();
    entries_[k] = entry;
    lvMain.RedrawRows(k, k);
    WriteValue(StoreKey, AliasName(k), entry.Alias);
    WriteValue(StoreKey, PathName(k), entry.Path);
}

void TfrmMain::aOptionsExecute() {
    win::Sealed<TfrmOptions> dialog(Handle(), [this] { SaveSettings(); });
    dialog.ShowModal();
}
