#pragma once
// Steps run from inside whatever modal loop is running (a dialog's, a
// message box's), by a thread timer.
#include <windows.h>

#include <functional>

namespace modal_steps {
inline std::function<void()> g_step;
inline void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(g_step);
    g_step = nullptr;
    if (step) step();
}
// Runs `step` once, `ms` from now.
inline void Later(std::function<void()> step, UINT ms = 100) {
    g_step = std::move(step);
    SetTimer(nullptr, 0, ms, StepTimer);
}
}  // namespace modal_steps
