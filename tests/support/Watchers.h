#pragma once
// What the tests of slow folders and of opening need: a path made slow,
// message boxes answered from another thread, a window's answer time,
// and a program that must not be started.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Makes checks of one path wait (as on an unreachable share) until
// released, 2 s at most, through the folder check's test hook.
class SlowPath {
public:
    explicit SlowPath(const std::wstring& path, DWORD maxMs = 2000);
    ~SlowPath();  // releases and removes the hook
    void Release() { SetEvent(release_); }
    int Calls() const { return calls_; }     // checks of the path begun
    bool Waiting() const { return waiting_ > 0; }  // one is being held now

private:
    std::wstring path_;
    HANDLE release_;
    std::atomic<int> calls_{0}, waiting_{0};
};

// Answers every visible box of this process with the caption, from a
// thread of its own, keeping the texts.
class BoxAnswerer {
public:
    explicit BoxAnswerer(const std::wstring& caption = L"Pathnook");
    ~BoxAnswerer();
    std::vector<std::wstring> Texts() const;

private:
    std::wstring caption_;
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Sends WM_NULL to a window again and again from another thread and keeps
// the longest answer time (a send that timed out counts as 10 s).
class AnswerTimer {
public:
    explicit AnswerTimer(HWND window);
    ~AnswerTimer();
    DWORD Stop();  // the longest answer, in ms
    int Sends() const { return sends_; }

private:
    HWND window_;
    std::atomic<bool> stop_{false}, ended_{false};
    std::atomic<DWORD> worst_{0};
    std::atomic<int> sends_{0};
    std::thread thread_;
};

// A program copied into a folder of the test, whose running copies can be
// counted: a favourite pointing at it must never start it.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::wstring& path);  // copies bare_window.exe there
    ~ProgramCopy();                                   // ends the copies this object started
    const std::wstring& Path() const { return path_; }
    int Running() const;
    // Starts it through the shell, as a mistaken open would.
    bool StartThroughShell();

private:
    std::wstring path_;
    std::vector<HANDLE> started_;
};

}  // namespace testing_support
