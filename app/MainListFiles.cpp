// Saving the list to a list file and merging one into it.
#include "app/ListFile.h"
#include "app/Main.h"
#include "win/FileDialog.h"
#include "win/Files.h"

void TfrmMain::miExportClick() {
    win::FileDialog dialog(win::FileDialog::Save);
    dialog.Title = L"Export Alias and Path";
    dialog.Filter = ListFileFilter;
    if (!dialog.Execute(Handle())) return;
    std::wstring file = ListFileName(dialog.FileName);
    if (win::FileExists(file) &&
        MessageBoxW(Handle(), (file + L" has existed, overite it?").c_str(), L"Pathnook",
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONINFORMATION) != IDYES)
        return;
    ExportListFile(file, Entries());  // a failed write raises "Unable to write to ..."
}

void TfrmMain::miImportClick() {
    win::FileDialog dialog(win::FileDialog::Open);
    dialog.Title = L"Import Alias and Path";
    dialog.Filter = ListFileFilter;
    if (!dialog.Execute(Handle())) return;
    ShowOutcome(list_.Import(dialog.FileName, lvMain.Selected()));
}
