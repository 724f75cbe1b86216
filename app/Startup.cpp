// The entry point: hand over to a running instance, or become it.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/CommandIds.h"
#include "app/Main.h"
#include "win/Application.h"
#include "win/Error.h"

namespace {

// Posts the activation message to the running instance's window and makes
// it the foreground window. Returns false when there is no such window.
bool HandOver() {
    HWND running = FindWindowW(MainWindowClass, nullptr);
    if (!running) return false;
    PostMessageW(running, WM_ACTIVATEINSTANCE, 0, 0);
    SetForegroundWindow(running);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The window look-up alone would let two starts at the same moment both
    // run; the mutex makes the look-up and the window's creation one step.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Local\\Pathnook.SingleInstance");
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another instance exists or is starting: wait until its window
        // appears, or until it has gone and this process may take over.
        bool owned = false;
        for (int tries = 0; tries < 200 && !owned; ++tries) {
            if (HandOver()) return 0;
            DWORD wait = WaitForSingleObject(mutex, 50);
            owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
        if (!owned || HandOver()) return 0;
    }

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    auto& app = win::Application::Instance();
    app.SetTitle(L"Pathnook");
    int exitCode = 0;
    try {
        win::Sealed<TfrmMain> main;
        // The window exists now: later starts find it and hand over.
        main.Show(SW_SHOW);
        app.Run(main);
    } catch (...) {
        win::ShowCurrentException();
        exitCode = 1;
    }
    OleUninitialize();
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    return exitCode;
}
