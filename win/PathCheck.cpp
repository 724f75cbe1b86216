#include "win/PathCheck.h"

#include <windows.h>
#include <shlwapi.h>

#include <memory>
#include <mutex>

namespace win {

namespace {
std::mutex hookMutex;
std::shared_ptr<const PathCheckHook> hookNow;

void RunHook(const std::wstring& path) {
    std::shared_ptr<const PathCheckHook> hook;
    {
        std::lock_guard lock(hookMutex);
        hook = hookNow;
    }
    if (hook && *hook) (*hook)(path);
}
}  // namespace

void SetPathCheckHook(PathCheckHook hook) {
    auto next = hook ? std::make_shared<const PathCheckHook>(std::move(hook)) : nullptr;
    std::lock_guard lock(hookMutex);
    hookNow = std::move(next);
}

PathKind CheckPath(const std::wstring& path) {
    // A relative name would be looked up in the current folder (or, by the
    // shell, along PATH); a URL is no folder either.
    if (path.empty() || PathIsRelativeW(path.c_str()) || PathIsURLW(path.c_str())) return PathKind::NotAPath;
    // "C:name" is relative to the drive's current folder.
    if (path.size() > 2 && path[1] == L':' && path[2] != L'\\' && path[2] != L'/') return PathKind::NotAPath;
    RunHook(path);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::wstring WhyNotAFolder(PathKind kind) {
    switch (kind) {
    case PathKind::Folder: return {};
    case PathKind::File: return L"It is a file, not a folder. Nothing was started.";
    case PathKind::Missing: return L"The folder does not exist.";
    case PathKind::NotAPath: return L"It is not the full path of a folder. Nothing was started.";
    }
    return {};
}

void CheckPaths(BackgroundWork& work, std::vector<std::wstring> paths,
                std::function<void(const std::vector<PathKind>&)> done) {
    work.Run([paths = std::move(paths), done = std::move(done)]() -> BackgroundWork::Reply {
        std::vector<PathKind> kinds;
        kinds.reserve(paths.size());
        for (const std::wstring& p : paths) kinds.push_back(CheckPath(p));
        return [kinds = std::move(kinds), done] {
            if (done) done(kinds);
        };
    });
}

}  // namespace win
