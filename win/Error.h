#pragma once
#include <exception>
#include <string>
#include <type_traits>

namespace win {

// The one error type the program raises for failures it reports to the user.
// It travels up to the message-dispatch boundary, where ShowError displays it.
class Error : public std::exception {
public:
    explicit Error(std::wstring message);
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};

// printf-style "%s" substitution for the error texts ("Unable to write to %s").
std::wstring Format(const std::wstring& pattern, const std::wstring& arg);

// The error box text: the message, plus "." unless its last character
// already sorts at or before ".".
std::wstring ErrorBoxText(const std::wstring& message);

// Shows the default error box: application title, error icon, OK (0x10),
// owned by the active window.
void ShowError(const std::wstring& message);

// Catches whatever is in flight and shows it. While one error box is up,
// errors raised meanwhile (a repaint under the box that fails again) are
// dropped rather than stacked box on box.
void ShowCurrentException() noexcept;

// The exception boundary. Every window procedure, subclass procedure, hook
// and timer callback runs its body through it: nothing thrown crosses back
// into Windows; `fallback` is returned. What is caught goes to `onError`,
// called while the exception is still current; by default the error box.
template <typename F, typename R = std::invoke_result_t<F&>, typename H = void (*)() noexcept>
    requires(!std::is_void_v<R>)
R Guarded(F&& body, R fallback = R{}, H&& onError = ShowCurrentException) noexcept {
    try {
        return body();
    } catch (...) {
        try {
            onError();
        } catch (...) {
        }
    }
    return fallback;
}
template <typename F>
    requires std::is_void_v<std::invoke_result_t<F&>>
void Guarded(F&& body) noexcept {
    try {
        body();
    } catch (...) {
        ShowCurrentException();
    }
}

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

}  // namespace win
