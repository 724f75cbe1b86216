// The menu bar and short-cuts as the forms above use them: what Windows
// shows for a built menu, idle-time enabling reaching the menu, and keys
// and commands reaching the items.
#include <gtest/gtest.h>

#include "win/Action.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/Menu.h"

namespace {
class MenuForm : public win::Form {
public:
    MenuForm() { CreateForm(L"PathnookMenuTest", L"Menu", 300, 200, WS_OVERLAPPEDWINDOW, nullptr, true); }
};

std::wstring ItemText(HMENU menu, UINT command) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
    return text;
}

// Ctrl held for this thread's next key messages, as a user's hand does.
class CtrlHeld {
public:
    CtrlHeld() {
        GetKeyboardState(keys_);
        BYTE down[256];
        memcpy(down, keys_, sizeof(down));
        down[VK_CONTROL] = 0x80;
        SetKeyboardState(down);
    }
    ~CtrlHeld() { SetKeyboardState(keys_); }

private:
    BYTE keys_[256];
};

void PressKey(HWND target, WPARAM vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    win::Application::Instance().ProcessMessages();
}
}  // namespace

TEST(Menu, BuildsWhatWindowsShowsWithShortCutsAndStates) {
    win::Sealed<MenuForm> form;
    win::Action& run = form.Actions().Add(1, L"&Run", L"", -1, win::kCtrl | 'R', [] {});
    win::MenuItem& file = form.Menu().Root.Add(L"&File");
    win::MenuItem& runItem = file.Add(L"&Run", &run);
    file.AddSeparator();
    win::MenuItem& own = file.Add(L"&Own key", nullptr, win::kCtrl | win::kShift | 'O');
    win::MenuItem& checked = file.Add(L"&Checked");
    checked.Checked = true;
    checked.RadioItem = true;
    win::MenuItem& greyed = file.Add(L"&Greyed");
    greyed.Enabled = false;
    form.AttachMenu();

    HMENU bar = GetMenu(form.Handle());
    ASSERT_EQ(bar, form.Menu().Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    wchar_t caption[64] = {};
    GetMenuStringW(bar, 0, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"&File");  // no short-cut text on the bar
    HMENU drop = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(drop), 5);
    EXPECT_EQ(ItemText(drop, runItem.Command), L"&Run\tCtrl+R");  // the action's key
    EXPECT_EQ(ItemText(drop, own.Command), L"&Own key\tShift+Ctrl+O");
    EXPECT_TRUE(GetMenuState(drop, 1, MF_BYPOSITION) & MF_SEPARATOR);
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoW(drop, checked.Command, FALSE, &mii);
    EXPECT_TRUE(mii.fState & MFS_CHECKED);
    EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(GetMenuState(drop, greyed.Command, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(drop, runItem.Command, MF_BYCOMMAND) & MF_GRAYED);
    // Each item answers to its own command number.
    EXPECT_EQ(form.Menu().FindCommand(own.Command), &own);
    EXPECT_NE(runItem.Command, own.Command);
}

TEST(Menu, IdleTimeEnablingGreysTheItemAndItsCommandAndShortCutDoNothing) {
    win::Sealed<MenuForm> form;
    bool allowed = true;
    int runs = 0, clicks = 0;
    win::Action& run = form.Actions().Add(1, L"&Run", L"", -1, win::kCtrl | 'R', [&] { ++runs; },
                                          [&] { return allowed; });
    win::MenuItem& file = form.Menu().Root.Add(L"&File");
    win::MenuItem& runItem = file.Add(L"&Run", &run);
    win::MenuItem& plain = file.Add(L"&Plain", nullptr, win::kCtrl | 'P');
    plain.OnClick = [&] { ++clicks; };
    form.AttachMenu();
    form.Show(SW_SHOWNOACTIVATE);
    HMENU drop = GetSubMenu(form.Menu().Handle(), 0);

    // Enabled: the command and the short-cut both run it.
    win::Application::Instance().Idle();
    EXPECT_FALSE(GetMenuState(drop, runItem.Command, MF_BYCOMMAND) & MF_GRAYED);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(runItem.Command, 0), 0);
    EXPECT_EQ(runs, 1);
    {
        CtrlHeld ctrl;
        PressKey(form.Handle(), 'R');
        PressKey(form.Handle(), 'P');
    }
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(clicks, 1);

    // Disabled at the next idle time: greyed, and neither path runs it.
    allowed = false;
    win::Application::Instance().Idle();
    EXPECT_TRUE(GetMenuState(drop, runItem.Command, MF_BYCOMMAND) & MF_GRAYED);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(runItem.Command, 0), 0);
    {
        CtrlHeld ctrl;
        PressKey(form.Handle(), 'R');
        PressKey(form.Handle(), 'P');  // handled after the refused one: the keys were read
    }
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(runs, 2);

    // A hidden form's actions are left alone at idle time.
    allowed = true;
    ShowWindow(form.Handle(), SW_HIDE);
    win::Application::Instance().Idle();
    EXPECT_TRUE(GetMenuState(drop, runItem.Command, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(ShortCut, TextNamesModifiersThenTheKey) {
    struct Case {
        win::ShortCut key;
        const wchar_t* text;
    } cases[] = {
        {0, L""},
        {'A', L"A"},
        {win::kCtrl | '7', L"Ctrl+7"},
        {win::kShift | win::kCtrl | win::kAlt | 'Z', L"Shift+Ctrl+Alt+Z"},
        {VK_F1, L"F1"},
        {win::kAlt | VK_F12, L"Alt+F12"},
    };
    for (const auto& c : cases) EXPECT_EQ(win::ShortCutText(c.key), c.text) << c.key;
    // Named keys come from the keyboard layout; the extended ones are not the keypad's.
    EXPECT_NE(win::ShortCutText(VK_DELETE), L"");
    EXPECT_EQ(win::ShortCutText(win::kCtrl | VK_DELETE).rfind(L"Ctrl+", 0), 0u);
}
