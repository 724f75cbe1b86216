#include "quick/Opener.h"

#include "win/FileDialogJump.h"
#include "win/FolderOpen.h"
#include "win/FolderPickerJump.h"
#include "win/PathCheck.h"

void ReportOpenFailure(HWND owner, const std::wstring& folder, const std::wstring& why) {
    win::SayCannotOpen(owner, folder, why, L"Pathnook");
}

namespace {
OpenedBy Open(const std::wstring& folder, HWND target, bool explore, std::wstring& why) {
    if (win::FileDialogParts dialog = win::FindFileDialog(target)) {
        switch (win::SendFileDialogTo(dialog, folder)) {
        case win::JumpResult::Moved: return OpenedBy::FileDialog;
        case win::JumpResult::NotAFolder: why = win::WhyNotAFolder(win::CheckPath(folder)); break;
        case win::JumpResult::NoAnswer: why = L"The file dialog did not go there."; break;
        case win::JumpResult::Closed: why = L"The file dialog was closed before it went there."; break;
        }
        return OpenedBy::Failed;
    }
    // A browse-for-folder dialog follows: the folder is selected in it, and
    // the user still chooses it with OK.
    if (HWND picker = win::FindFolderPicker(target))
        if (win::SelectInFolderPicker(picker, folder)) return OpenedBy::FolderPicker;
    return win::OpenFolder(folder, explore, why) ? OpenedBy::Shell : OpenedBy::Failed;
}
}  // namespace

void OpenListFolder(win::BackgroundWork& work, const std::wstring& folder, HWND target, bool explore, HWND owner,
                    std::function<void(OpenedBy)> done) {
    work.Run([=]() -> win::BackgroundWork::Reply {
        std::wstring why;
        OpenedBy by = Open(folder, target, explore, why);
        return [=] {
            if (by == OpenedBy::Failed) ReportOpenFailure(owner, folder, why);
            if (done) done(by);
        };
    });
}
