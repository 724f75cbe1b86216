#include "win/WaitLoop.h"

#include "win/Application.h"
#include "win/Error.h"
#include "win/Form.h"

namespace win {

int RunWaitingOn(Form& main, HANDLE handle, const std::function<void()>& signalled) {
    auto& app = Application::Instance();
    const DWORD count = handle ? 1 : 0;
    while (IsWindow(main.Handle())) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT) {
                PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
                return (int)msg.wParam;
            }
            app.HandleMessage();
            if (!IsWindow(main.Handle())) return 0;
        }
        app.Idle();
        DWORD r = MsgWaitForMultipleObjectsEx(count, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (count && r == WAIT_OBJECT_0) Guarded(signalled);
    }
    return 0;
}

}  // namespace win
