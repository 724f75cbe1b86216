// Folders dropped on the window from a file manager join the list.
#include <windows.h>
#include <shellapi.h>

#include "app/AddItem.h"
#include "app/Main.h"
#include "win/PathCheck.h"

namespace {
std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        if (!path.empty()) paths.push_back(path);
    }
    return paths;
}
}  // namespace

void TfrmMain::FormDropFiles(HDROP drop) {
    std::vector<std::wstring> paths = DroppedPaths(drop);
    DragFinish(drop);
    DropFolders(paths);
}

void TfrmMain::DropFolders(const std::vector<std::wstring>& paths) {
    // Checked on a worker: a folder dropped from a slow share must not
    // freeze the window. The answer adds them.
    win::CheckPaths(work_, paths, [this, paths](const std::vector<win::PathKind>& kinds) {
        std::wstring skipped;
        FolderList folders;
        for (size_t i = 0; i < paths.size(); ++i) {
            if (kinds[i] == win::PathKind::Folder) folders.push_back({AliasFromPath(paths[i]), paths[i]});
            else skipped += L"\n" + paths[i];
        }
        AddDropped(folders, skipped);
    });
}

void TfrmMain::AddDropped(const FolderList& folders, const std::wstring& skipped) {
    // The last one added is selected.
    ShowOutcome(list_.Append(folders, lvMain.Selected(), true));
    if (!skipped.empty())
        MessageBoxW(Handle(), (L"Only folders can be added to the list. Not added:" + skipped).c_str(), L"Pathnook",
                    MB_OK | MB_ICONINFORMATION);
}
