#pragma once
#include <windows.h>

#include <string>

namespace win {

// A tool tip shown at a point on request, for what has no window of its
// own to hover over (a menu item, say), and hidden on request.
class TipWindow {
public:
    TipWindow() = default;
    ~TipWindow();
    TipWindow(const TipWindow&) = delete;
    TipWindow& operator=(const TipWindow&) = delete;

    void Show(HWND owner, const std::wstring& text, POINT screen);
    void Hide();
    HWND Handle() const { return tip_; }

private:
    HWND tip_ = nullptr;
    std::wstring text_;
};

}  // namespace win
