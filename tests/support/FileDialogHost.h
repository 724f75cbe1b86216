#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace testing_support {

// A standard open dialog shown by a thread of the test, as any program
// shows one, in a folder of the test's choosing.
enum class DialogKind {
    Explorer,   // GetOpenFileName with OFN_EXPLORER: the common one
    Oldest,     // GetOpenFileName with a hook and no OFN_EXPLORER: the 3.1 look
    ItemDialog  // IFileOpenDialog
};

class FileDialogHost {
public:
    FileDialogHost(DialogKind kind, const std::wstring& title, const std::wstring& startFolder);
    ~FileDialogHost();  // cancels the dialog if it is still open
    FileDialogHost(const FileDialogHost&) = delete;
    FileDialogHost& operator=(const FileDialogHost&) = delete;

    HWND Dialog(int timeoutMs = 10000) const;  // the shown dialog, or null
    bool Done() const { return done_; }

private:
    std::wstring title_, start_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// A program started for a test and ended with it.
class OtherProgram {
public:
    explicit OtherProgram(const std::wstring& commandLine);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    // A visible top-level window of it with this class, or null on the deadline.
    HWND Window(const wchar_t* className, int timeoutMs = 15000) const;

private:
    PROCESS_INFORMATION info_{};
};

// Brings a window to the front and waits until the window system says so.
bool BringToFront(HWND w, int timeoutMs = 5000);

}  // namespace testing_support
