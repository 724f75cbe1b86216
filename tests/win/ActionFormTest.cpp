#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "win/Action.h"
#include "win/Application.h"
#include "win/Form.h"

TEST(Action, EnabledFollowsItsUpdateAndItsHandler) {
    win::ActionList list;
    bool allowed = false;
    int runs = 0, changes = 0;
    list.AddChangeListener([&](win::Action&) { ++changes; });
    auto& a = list.Add(1, L"&Run", L"hint", 0, win::kCtrl | 'R', [&] { ++runs; }, [&] { return allowed; });
    auto& idle = list.Add(2, L"&Idle", L"", -1, 0, {});  // no handler: never enabled
    list.Update();
    EXPECT_FALSE(a.Enabled());
    EXPECT_FALSE(idle.Enabled());
    EXPECT_FALSE(a.Execute());
    allowed = true;
    EXPECT_TRUE(a.Execute());  // a short-cut before the next idle time still sees the new state
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(list.FindShortCut(win::kCtrl | 'R'), &a);
    EXPECT_EQ(win::ShortCutText(win::kCtrl | 'U'), L"Ctrl+U");
    EXPECT_GE(changes, 2);
}

namespace {
class ModalForm : public win::Form {
public:
    ModalForm() {
        CreateForm(L"PathnookModalTest", L"Modal", 300, 200, WS_CAPTION | WS_SYSMENU, nullptr, true);
        DialogKeys = true;
    }
};
}  // namespace

TEST(Form, ShowModalReturnsTheResultAndClosingCountsAsCancel) {
    win::Sealed<ModalForm> form;
    RECT client = form.ClientRect();
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);

    static ModalForm* current;
    current = &form;
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        current->ModalResult = win::mrOk;
    });
    EXPECT_EQ(form.ShowModal(), win::mrOk);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));

    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageW(current->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(form.ShowModal(), win::mrCancel);
    EXPECT_TRUE(IsWindow(form.Handle()));  // a modal form is hidden, not destroyed
}
