#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>

namespace testing_support {

// A folder under %TEMP% removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& Path() const { return path_; }  // with a trailing backslash
    std::wstring File(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// The store key's values as the quick-access component would read them.
std::map<std::wstring, std::wstring> ReadKeyValues(const std::wstring& key);
void DeleteKeyTree(const std::wstring& key);
void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value);
void SetDword(const std::wstring& key, const std::wstring& name, DWORD value);

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Real X input on the test display, as a user's keyboard and pointer give
// it (xdotool, run as a Unix program): "key Down Return", "mousemove 5 5".
bool XInput(const std::string& arguments);
// What xdotool prints ("getwindowfocus getwindowname"), or empty.
std::string XOutput(const std::string& arguments);
bool XCommand(const std::string& arguments, std::string* output);
std::wstring ReadFileText(const std::wstring& path);  // UTF-8/ANSI or UTF-16 with BOM
void WriteFileText(const std::wstring& path, const std::string& bytes);
void Pump();  // dispatches this thread's queued messages

// A top-level window of another process whose class is "#32770" (a
// message box or dialog).
HWND FindDialogOf(DWORD processId, const std::wstring& caption, int timeoutMs = 5000);
// A top-level window of the process with this class (only a visible one
// unless `hiddenToo`), or null.
HWND WindowOfProcess(DWORD processId, const wchar_t* className, bool hiddenToo = false);
std::wstring DialogText(HWND box);  // the static with id 0xFFFF
void PressButton(HWND dialog, int id);

// A running copy of Pathnook.exe placed in a folder of the test's own.
class PathnookProcess {
public:
    // Copies the built exe into the folder, or runs the one already there.
    explicit PathnookProcess(const std::wstring& folder, bool copyBuiltExe = true);
    ~PathnookProcess();

    std::wstring ExePath() const { return exe_; }
    bool Start(bool waitForWindow = true);
    bool WaitForWindow();  // the process's main window, shown
    HWND Window() const { return window_; }
    DWORD Id() const { return info_.dwProcessId; }
    // Sends a command as a menu item or short-cut would.
    void Command(unsigned id);
    void Close();                       // WM_CLOSE, as the title bar's close box
    bool WaitExit(int timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    // Rows of the list view, and its selected row.
    HWND List() const;
    int RowCount() const;
    int SelectedRow() const;
    // Selects a row as the keyboard does: focus the list, Home, Down k times.
    void SelectRow(int row);
    // Waits until the program has handled everything sent or posted to it
    // so far (a value posted behind them shows up); false on the deadline.
    bool Sync(int timeoutMs = 10000) const;

private:
    std::wstring exe_;
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

std::wstring BuiltExe(const std::wstring& name);  // beside the test executable

}  // namespace testing_support
