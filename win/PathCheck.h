#pragma once
#include <functional>
#include <string>
#include <vector>

#include "win/BackgroundWork.h"

namespace win {

// What a stored path turns out to be when asked for. Only a Folder may be
// opened: anything else handed to the shell could start a program.
enum class PathKind { Folder, File, Missing, NotAPath };

// Asks the file system; may wait a long time on a network path, so call
// it on a worker (BackgroundWork), never on a window's thread. A relative
// path or a URL is NotAPath without asking.
PathKind CheckPath(const std::wstring& path);

// Why a path of this kind cannot be opened as a folder (empty for Folder).
std::wstring WhyNotAFolder(PathKind kind);

// Checks several paths on a worker; `done` gets their kinds, in the same
// order, on the thread that owns `work`.
void CheckPaths(BackgroundWork& work, std::vector<std::wstring> paths,
                std::function<void(const std::vector<PathKind>&)> done);

// For tests: runs before every check, on the checking thread, so that a
// path can be made to answer as slowly as one on an unreachable share.
// Empty to remove.
using PathCheckHook = std::function<void(const std::wstring& path)>;
void SetPathCheckHook(PathCheckHook hook);

}  // namespace win
