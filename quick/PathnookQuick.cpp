// The quick menu's entry point: one instance per user, then the hidden
// window with its icon and hot key, and a message loop that also waits for
// changes of the list.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "quick/QuickWindow.h"
#include "win/Application.h"
#include "win/Error.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A second start has nothing to add: it leaves at once.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Local\\PathnookQuick.SingleInstance");
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        return 0;
    }
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // The shell's icons and the "explore" verb want COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    auto& app = win::Application::Instance();
    app.SetTitle(L"Pathnook");
    int exitCode = 0;
    try {
        win::Sealed<TfrmQuick> quick;
        quick.RegisterStoredHotKey();
        for (HANDLE change : quick.List().ChangeEvents()) app.AddWait(change, [&] { quick.List().Reload(); });
        app.Run(quick);
    } catch (...) {
        win::ShowCurrentException();
        exitCode = 1;
    }
    CoUninitialize();
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return exitCode;
}
