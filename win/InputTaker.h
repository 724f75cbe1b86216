#pragma once
#include <windows.h>

#include <functional>

namespace win {

// While it lives, keys typed anywhere go to one window of this thread
// (posted to it as key messages), whoever holds the foreground: the window
// system may hand the foreground back to the window below a moment after a
// menu opened, and under Wine real keys reach the window that has the X
// focus. Modifiers, and keys that went down before, go up where they went
// down, so that the system's idea of which keys are held stays true.
// Optionally a press of a mouse button outside `area` is told too (a menu
// closes then), wherever the press lands.
class InputTaker {
public:
    // `target` answers, at each key, the window that takes it; null lets
    // the key pass.
    explicit InputTaker(std::function<HWND()> target, std::function<void()> pressedOutside = nullptr,
                        std::function<RECT()> area = nullptr);
    ~InputTaker();
    InputTaker(const InputTaker&) = delete;
    InputTaker& operator=(const InputTaker&) = delete;

private:
    static LRESULT CALLBACK KeyboardFilter(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK MouseFilter(int code, WPARAM wp, LPARAM lp);
    std::function<HWND()> target_;
    std::function<void()> pressedOutside_;
    std::function<RECT()> area_;
    InputTaker* outer_ = nullptr;
    HHOOK keyboard_ = nullptr, mouse_ = nullptr;
};

}  // namespace win
