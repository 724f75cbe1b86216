#include "quick/Opener.h"

#include "win/FileDialogJump.h"
#include "win/FolderOpen.h"

void ReportOpenFailure(HWND owner, const std::wstring& folder, const std::wstring& why) {
    win::SayCannotOpen(owner, folder, why, L"Pathnook");
}

OpenedBy OpenListFolder(const std::wstring& folder, HWND target, bool explore, HWND owner) {
    if (win::FileDialogParts dialog = win::FindFileDialog(target)) {
        if (win::SendFileDialogTo(dialog, folder)) return OpenedBy::FileDialog;
        ReportOpenFailure(owner, folder, L"The file dialog did not go there.");
        return OpenedBy::Failed;
    }
    return win::OpenFolderOrSay(owner, folder, explore, L"Pathnook") ? OpenedBy::Shell : OpenedBy::Failed;
}
