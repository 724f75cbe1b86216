// The list commands of the main window: each asks the list's commands
// (ListCommands.h) and shows what they left.
#include "app/Global.h"
#include "app/Main.h"

void TfrmMain::aDeleteExecute() {
    int k = lvMain.Selected();
    if (k < 0 || (size_t)k >= Entries().size()) return;
    if (AppOptions.AskDelete &&
        MessageBoxW(Handle(), L"Are you sure you want to remove the selected item?", L"Pathnook",
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) != IDYES)
        return;
    ShowOutcome(list_.Delete(k));
}

void TfrmMain::aItemUpExecute() { ShowOutcome(list_.MoveUp(lvMain.Selected())); }

void TfrmMain::aItemDownExecute() { ShowOutcome(list_.MoveDown(lvMain.Selected())); }

void TfrmMain::aSortExecute() {
    Outcome outcome = list_.Sort(SortAscending, lvMain.Selected());
    SortAscending = !SortAscending;
    aSort->SetHint(SortAscending ? L"Sort by Alias(Ascending)" : L"Sort by Alias(Descending)");
    ShowOutcome(outcome);
}

void TfrmMain::aRefreshExecute() { ReloadEntries(); }

void TfrmMain::aExitExecute() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TfrmMain::aUndoExecute() { ShowOutcome(list_.Undo(lvMain.Selected())); }

bool TfrmMain::aUndoUpdate() { return list_.CanUndo(); }

void TfrmMain::lvMainDblClick() {
    if (lvMain.Selected() >= 0) aEdit->Execute();
}

bool TfrmMain::aEditUpdate() { return lvMain.Selected() >= 0; }

bool TfrmMain::aItemUpUpdate() { return ListVisible() && lvMain.Selected() > 0; }

bool TfrmMain::aItemDownUpdate() {
    int k = lvMain.Selected();
    return ListVisible() && k >= 0 && (size_t)k + 1 < Entries().size();
}

bool TfrmMain::aSortUpdate() { return ListVisible() && Entries().size() > 1; }
