// The list commands of the main window that need no dialog.
#include <utility>

#include "app/Global.h"
#include "app/Main.h"
#include "app/SortByAlias.h"

void TfrmMain::aDeleteExecute() {
    int k = lvMain.Selected();
    size_t n = entries_.size();
    if (k < 0 || (size_t)k >= n) return;
    if (AppOptions.AskDelete &&
        MessageBoxW(Handle(), L"Are you sure you want to remove the selected item?", L"Pathnook",
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) != IDYES)
        return;
    Change change(*this);
    entries_.erase(entries_.begin() + k);
    int select = (size_t)k < n - 1 ? k : (entries_.empty() ? -1 : 0);
    ShowEntries(select);
    RewriteSafely(StoreKey, entries_, k, n - 2, n);  // then the old last position goes
}

void TfrmMain::aItemUpExecute() {
    int k = lvMain.Selected();
    if (k <= 0 || (size_t)k >= entries_.size()) return;
    Change change(*this);
    std::swap(entries_[k], entries_[k - 1]);
    lvMain.RedrawRows(k - 1, k);
    RewriteSafely(StoreKey, entries_, k - 1, k, entries_.size());
    lvMain.Select(k - 1);
}

void TfrmMain::aItemDownExecute() {
    int k = lvMain.Selected();
    if (k < 0 || (size_t)k + 1 >= entries_.size()) return;
    Change change(*this);
    std::swap(entries_[k], entries_[k + 1]);
    lvMain.RedrawRows(k, k + 1);
    RewriteSafely(StoreKey, entries_, k, k + 1, entries_.size());
    lvMain.Select(k + 1);
}

void TfrmMain::aSortExecute() {
    Change change(*this);
    SortByAlias(entries_, SortAscending);
    SortAscending = !SortAscending;
    aSort->SetHint(SortAscending ? L"Sort by Alias(Ascending)" : L"Sort by Alias(Descending)");
    lvMain.Invalidate();  // the same row number stays selected
    if (!entries_.empty()) RewriteSafely(StoreKey, entries_, 0, entries_.size() - 1, entries_.size());
}

void TfrmMain::aRefreshExecute() {
    entries_.clear();
    ReloadEntries();
}

void TfrmMain::aExitExecute() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TfrmMain::lvMainDblClick() {
    if (lvMain.Selected() >= 0) aEdit->Execute();
}

bool TfrmMain::aEditUpdate() { return lvMain.Selected() >= 0; }

bool TfrmMain::aItemUpUpdate() { return ListVisible() && lvMain.Selected() > 0; }

bool TfrmMain::aItemDownUpdate() {
    int k = lvMain.Selected();
    return ListVisible() && k >= 0 && (size_t)k + 1 < entries_.size();
}

bool TfrmMain::aSortUpdate() { return ListVisible() && entries_.size() > 1; }
