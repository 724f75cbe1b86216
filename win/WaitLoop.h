#pragma once
#include <windows.h>

#include <functional>

namespace win {

class Form;

// The application's message loop that also waits on one kernel object
// (a registry change event, say) and runs `signalled` when it fires. Runs
// until `main` is destroyed or WM_QUIT arrives; returns the quit code.
int RunWaitingOn(Form& main, HANDLE handle, const std::function<void()>& signalled);

}  // namespace win
