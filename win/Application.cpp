#include "win/Application.h"

#include <algorithm>

#include "win/Error.h"
#include "win/Form.h"

namespace win {

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::Run(Form& main) {
    // A message sent from another thread (a notification icon's click, say)
    // runs inside PeekMessage, and may close the window there: asked again
    // before every wait, or the loop would wait for ever on no window.
    while (IsWindow(main.Handle()) && HandleMessage([&] { return IsWindow(main.Handle()) != FALSE; })) {
    }
}

bool Application::HandleMessage(const std::function<bool()>& mayWait) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);  // leave it for an outer loop
            return false;
        }
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return true;
    }
    if (mayWait && !mayWait()) return true;
    Idle();
    std::vector<HANDLE> handles;
    for (const Wait& w : waits_) handles.push_back(w.handle);
    DWORD r = MsgWaitForMultipleObjectsEx((DWORD)handles.size(), handles.data(), INFINITE, QS_ALLINPUT,
                                          MWMO_INPUTAVAILABLE);
    if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + handles.size()) RunWait(r - WAIT_OBJECT_0);
    return true;
}

void Application::RunWait(size_t index) {
    if (index >= waits_.size()) return;
    auto signalled = waits_[index].signalled;  // it may remove itself
    Guarded(signalled);
}

void Application::PollWaits() {
    for (size_t i = 0; i < waits_.size(); ++i)
        if (WaitForSingleObject(waits_[i].handle, 0) == WAIT_OBJECT_0) RunWait(i);
}

int Application::AddWait(HANDLE handle, std::function<void()> signalled) {
    waits_.push_back({nextHook_, handle, std::move(signalled)});
    return nextHook_++;
}

void Application::RemoveWait(int id) {
    waits_.erase(std::remove_if(waits_.begin(), waits_.end(), [id](const Wait& w) { return w.id == id; }),
                 waits_.end());
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    PollWaits();
}

bool Application::PreTranslate(MSG& msg) {
    // A hook that fails has consumed its message.
    return Guarded(
        [&] {
            auto hooks = hooks_;
            for (auto& [id, hook] : hooks)
                if (hook(msg)) return true;
            // The form that holds the message's window gets short-cuts and dialog keys.
            HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            for (Form* form : forms_)
                if (form->Handle() == top) return form->PreTranslate(msg);
            return false;
        },
        true);
}

void Application::Idle() {
    Guarded([this] {
        auto forms = forms_;
        for (Form* form : forms)
            if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) form->UpdateActions();
    });
}

HWND Application::ActiveWindow() const { return GetActiveWindow(); }

void Application::AddForm(Form* form) {
    forms_.push_back(form);
    auto listeners = formListeners_;
    for (auto& [id, fn] : listeners) fn(form, true);
}

void Application::RemoveForm(Form* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    auto listeners = formListeners_;
    for (auto& [id, fn] : listeners) fn(form, false);
}

int Application::AddFormListener(FormListener listener) {
    formListeners_.emplace_back(nextHook_, std::move(listener));
    return nextHook_++;
}

void Application::RemoveFormListener(int id) {
    formListeners_.erase(std::remove_if(formListeners_.begin(), formListeners_.end(),
                                        [id](const auto& l) { return l.first == id; }),
                         formListeners_.end());
}

int Application::AddMessageHook(MessageHook hook) {
    hooks_.emplace_back(nextHook_, std::move(hook));
    return nextHook_++;
}

void Application::RemoveMessageHook(int id) {
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(),
                                [id](const auto& h) { return h.first == id; }),
                 hooks_.end());
}

}  // namespace win
