#pragma once
// Standard file dialogs shown by a thread of the test, as any program
// shows them, with a few ways of answering OK that real programs have.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace testing_support {

enum class DialogKind {
    Open,         // GetOpenFileName, Explorer style
    Save,         // GetSaveFileName
    ItemOpen,     // the new-style dialog (IFileOpenDialog) with file types
    ItemFolders,  // the new-style dialog picking folders (FOS_PICKFOLDERS)
};

// How an Open dialog answers a folder once armed (classic dialogs only).
enum class OkBehaviour {
    Normal,
    OwnBox,   // shows a box of its own ("Other program") while moving
    Slow,     // moves only after 1.5 s (a slow share), not pumping meanwhile
    Refuse,   // swallows OK
    Close,    // closes itself instead
};

class FileDialogThread {
public:
    FileDialogThread(DialogKind kind, const std::wstring& title, const std::wstring& startFolder,
                     OkBehaviour ok = OkBehaviour::Normal);
    ~FileDialogThread();
    HWND Dialog();  // waits for it to show
    DWORD ThreadId() const { return threadId_; }
    bool Done() const { return done_; }
    bool Result() const { return result_; }  // a file (or folder) was chosen
    std::wstring Chosen() const { return file_; }
    // The behaviour takes effect from here on.
    void Arm() { armed_ = true; }
    void Release() { SetEvent(release_); }  // ends a slow move early
    bool Moving() const { return moving_; }  // inside its slow or boxed move

private:
    static UINT_PTR CALLBACK Hook(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void ShowClassic(bool save);
    void ShowItem(bool folders);

    DialogKind kind_;
    OkBehaviour ok_;
    std::wstring title_, start_;
    wchar_t file_[MAX_PATH] = {};
    std::atomic<bool> done_{false}, armed_{false}, moving_{false};
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> result_{false};
    HANDLE release_;
    std::thread thread_;
};

// A window of this process with the class and title, shown; null after the deadline.
HWND FindOwnWindow(const wchar_t* cls, const std::wstring& title, int timeoutMs = 10000);
// The folder an Explorer-style dialog of this process shows.
std::wstring DialogFolder(HWND dialog);
std::wstring WindowTextOf(HWND w);  // by WM_GETTEXT
HWND FocusOf(DWORD thread);

}  // namespace testing_support
