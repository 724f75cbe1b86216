#pragma once
#include <exception>
#include <string>

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

// Catches whatever is in flight and shows it; used at every boundary where
// control returns to Windows.
void ShowCurrentException() noexcept;

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

}  // namespace win
