#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Error.h"
#include "win/Form.h"

TEST(ErrorBoxText, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    struct Case {
        const wchar_t* message;
        const wchar_t* shown;
    } cases[] = {
        {L"Unable to write to C:\\x\\options.ini", L"Unable to write to C:\\x\\options.ini."},
        {L"Invalid data type for 'N1'", L"Invalid data type for 'N1'"},  // "'" < "."
        {L"Done.", L"Done."},
        {L"Failed (code 5)", L"Failed (code 5)"},  // ")" < "."
        {L"Path C:\\a-", L"Path C:\\a-"},           // "-" < "."
        {L"Path C:\\a/", L"Path C:\\a/."},          // "/" > "."
        {L"", L""},
    };
    for (auto& c : cases) EXPECT_EQ(win::ErrorBoxText(c.message), c.shown) << c.message;
    EXPECT_EQ(win::Format(L"Unable to write to %s", L"C:\\a.ini"), L"Unable to write to C:\\a.ini");
}

namespace {
class ThrowingForm : public win::Form {
public:
    ThrowingForm() { CreateForm(L"PathnookThrowingForm", L"t", 200, 100, WS_OVERLAPPEDWINDOW, nullptr, false); }
    int handled = 0;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_APP) throw win::Error(L"Failed to set data for 'N3'");
        if (msg == WM_APP + 1) return ++handled;
        return Form::WndProc(msg, wp, lp);
    }
};

std::wstring g_boxText, g_boxCaption;
LONG g_boxStyle = 0;
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (std::wstring(cls) == L"#32770") { *reinterpret_cast<HWND*>(lp) = w; return FALSE; }
        return TRUE; }, (LPARAM)&box);
    if (!box) return;
    KillTimer(nullptr, id);
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    g_boxCaption = caption;
    g_boxText = testing_support::DialogText(box);
    g_boxStyle = (LONG)(GetDlgItem(box, IDOK) != nullptr) | (GetDlgItem(box, IDCANCEL) ? 2 : 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(ExceptionBoundary, ShowsTheDefaultErrorBoxAndKeepsRunning) {
    win::Application::Instance().SetTitle(L"Pathnook");
    win::Sealed<ThrowingForm> form;
    g_boxText.clear();
    SetTimer(nullptr, 0, 50, AnswerBox);
    SendMessageW(form.Handle(), WM_APP, 0, 0);  // returns only after the box was answered
    EXPECT_EQ(g_boxCaption, L"Pathnook");
    EXPECT_EQ(g_boxText, L"Failed to set data for 'N3'");
    EXPECT_EQ(g_boxStyle, 1);  // an OK button only
    EXPECT_EQ(SendMessageW(form.Handle(), WM_APP + 1, 0, 0), 1);  // the window still answers
}
