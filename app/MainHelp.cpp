// The Help menu: the help file, the home page and the about box.
#include "app/About.h"
#include "app/Main.h"
#include "win/Files.h"
#include "win/Shell.h"

// The shell's answer is not reported: a missing help file or a machine
// without a browser opens nothing, and the program goes on.
void TfrmMain::miHelpClick() { win::ShellOpen(Handle(), win::ExeFolder() + L"Pathnook.chm", SW_SHOW); }

void TfrmMain::miHomePageClick() { win::ShellOpen(Handle(), kHomePage, SW_SHOW); }

void TfrmMain::miAboutClick() {
    win::Sealed<TfrmAbout> about(Handle());
    about.ShowModal();
}
