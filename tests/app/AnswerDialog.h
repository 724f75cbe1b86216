#pragma once
// Answers the next modal dialog from inside its own modal loop: a thread
// timer keeps firing there.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "win/Application.h"
#include "win/Form.h"

namespace answer_detail {
inline std::function<void()> pending;
inline void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto answer = std::move(pending);
    pending = nullptr;
    if (answer) answer();
}
}  // namespace answer_detail

// Runs `answer` on the form of type Dialog that the next modal loop shows.
template <class Dialog>
void AnswerDialog(std::function<void(Dialog&)> answer) {
    answer_detail::pending = [answer] {
        for (win::Form* form : win::Application::Instance().Forms())
            if (auto* d = dynamic_cast<Dialog*>(form)) return answer(*d);
        ADD_FAILURE() << "no dialog";
    };
    SetTimer(nullptr, 0, 100, answer_detail::Fire);
}
