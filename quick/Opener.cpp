#include "quick/Opener.h"

#include "win/FileDialogJump.h"
#include "win/FolderOpen.h"

void ReportOpenFailure(HWND owner, const std::wstring& folder, const std::wstring& why) {
    std::wstring text = L"Cannot open the folder \"" + folder + L"\".";
    if (!why.empty()) text += L"\n\n" + why;
    MessageBoxW(owner, text.c_str(), L"Pathnook", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

OpenedBy OpenListFolder(const std::wstring& folder, HWND target, bool explore, HWND owner) {
    if (win::FileDialogParts dialog = win::FindFileDialog(target)) {
        if (win::SendFileDialogTo(dialog, folder)) return OpenedBy::FileDialog;
        ReportOpenFailure(owner, folder, L"The file dialog did not go there.");
        return OpenedBy::Failed;
    }
    if (DWORD error = win::OpenFolder(owner, folder, explore)) {
        ReportOpenFailure(owner, folder, win::SystemErrorText(error));
        return OpenedBy::Failed;
    }
    return OpenedBy::Shell;
}
