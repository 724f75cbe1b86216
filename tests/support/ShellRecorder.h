#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// The recording shell handler: the test executable that uses it, registered as the
// prefix's handler of the "open" and "explore" verbs of folders, writes the
// verb and the folder it was given into a file.
class RecordingShell {
public:
    explicit RecordingShell(const std::wstring& recordFile);
    ~RecordingShell();
    // Waits for the next record: the verb and the folder.
    bool Wait(std::wstring& verb, std::wstring& folder, int timeoutMs = 10000);

private:
    std::wstring record_;
    struct Saved {
        std::wstring key, value;
        bool existed;
    };
    std::vector<Saved> saved_;
    bool ddeMoved_ = false;
};

}  // namespace testing_support
