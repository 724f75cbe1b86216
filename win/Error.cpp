#include "win/Error.h"

#include <windows.h>

#include "win/Application.h"

namespace win {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), out.data(), n, nullptr, nullptr);
    return out;
}

Error::Error(std::wstring message) : message_(std::move(message)), narrow_(Narrow(message_)) {}

std::wstring Format(const std::wstring& pattern, const std::wstring& arg) {
    std::wstring out = pattern;
    auto pos = out.find(L"%s");
    if (pos != std::wstring::npos) out.replace(pos, 2, arg);
    return out;
}

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() > L'.') return message + L".";
    return message;
}

void ShowError(const std::wstring& message) {
    MessageBoxW(Application::Instance().ActiveWindow(), ErrorBoxText(message).c_str(),
                Application::Instance().Title().c_str(), MB_OK | MB_ICONERROR);
}

namespace {
bool g_boxUp = false;
}

void ShowCurrentException() noexcept {
    if (g_boxUp) return;
    struct Up {
        Up() { g_boxUp = true; }
        ~Up() { g_boxUp = false; }
    } up;
    try {
        throw;
    } catch (const Error& e) {
        ShowError(e.Message());
    } catch (const std::exception& e) {
        ShowError(Widen(e.what()));
    } catch (...) {
        ShowError(L"Unexpected error");
    }
}

}  // namespace win
