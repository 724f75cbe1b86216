// The list menu as its user meets it: keys and the mouse light and choose
// as in a menu, a new list draws only what changed, and a screen reader
// hears a menu. Each test drives the menu's own loop, one step per turn.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <deque>
#include <functional>
#include <map>
#include <string>

#include "support/TestSupport.h"
#include "win/ListMenu.h"

using win::ListMenu;
using win::MenuItem;

namespace {

// Steps run one at a time from a timer, inside the menu's loop; a menu
// still open 5 s after the last is closed as a failure.
thread_local std::deque<std::function<void()>> steps;
thread_local ListMenu* tracked = nullptr;
thread_local int idleTicks = 0;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (steps.empty()) {
        if (++idleTicks == 500 && tracked) {
            ADD_FAILURE() << "the menu stayed open after its last step";
            tracked->Cancel();
        }
        return;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
}

struct ListMenuTest : ::testing::Test {
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // a screen reader's objects
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        Fill({L"Find: \u201cx\u201d", L"-", L"Alpha", L"Beta", L"Gamma"});
        menu.Root.Items[0]->Heading = true;
        menu.Root.Items[0]->Enabled = false;
        menu.Root.Items[3]->Enabled = false;  // Beta
    }
    void TearDown() override {
        DestroyWindow(owner);
        CoUninitialize();
    }

    // Items measured and drawn by handlers of the test's own: each row is
    // 10 pixels a character wide and 20 high (a line 6), and tells when
    // it was drawn.
    void Fill(std::initializer_list<const wchar_t*> captions) {
        menu.Root.Items.clear();
        for (const wchar_t* c : captions) {
            MenuItem& item = menu.Root.Add(c);
            item.OnMeasureItem = [](MenuItem& i, HDC, int& w, int& h) {
                w = 10 * (int)i.Caption.size();
                h = i.IsSeparator() ? 6 : 20;
            };
            item.OnDrawItem = [this](MenuItem& i, HDC dc, const RECT& r, bool lit) {
                ++drawn[i.Caption];
                FillRect(dc, &r, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_MENU));
            };
        }
    }
    // Tracks the menu, the steps running in its loop; what it returned.
    MenuItem* Track(std::initializer_list<std::function<void()>> run, bool lightFirst = true) {
        steps.assign(run.begin(), run.end());
        tracked = &menu;
        idleTicks = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, RunStep);
        MenuItem* chosen = menu.Track(owner, POINT{100, 100}, lightFirst);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(steps.empty()) << steps.size() << " steps did not run: the menu closed early";
        steps.clear();
        return chosen;
    }
    void Key(UINT vk) { SendMessageW(menu.Handle(), WM_KEYDOWN, vk, 1); }
    POINT RowCentre(int i) {
        RECT r = menu.ItemRect(i);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(menu.Handle(), &p);
        return p;
    }
    SIZE WindowSize() {
        RECT r{};
        GetWindowRect(menu.Handle(), &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }

    HWND owner = nullptr;
    ListMenu menu;
    std::map<std::wstring, int> drawn;
};

}  // namespace

TEST_F(ListMenuTest, KeysLightOnlyItemsAndEnterChoosesOnlyAnEnabledOne) {
    std::vector<int> lit;
    menu.OnLit = [&](int i) { lit.push_back(i); };
    MenuItem* chosen = Track({
        [&] { EXPECT_EQ(menu.Lit(), 2) << "the first item is not lit: the heading and line are passed over"; },
        [&] { Key(VK_DOWN); },
        [&] { EXPECT_EQ(menu.Lit(), 3) << "a greyed item is lit as in a menu"; },
        [&] { Key(VK_DOWN), Key(VK_DOWN); },
        [&] { EXPECT_EQ(menu.Lit(), 2) << "Down after the last item goes round to the first"; },
        [&] { Key(VK_UP); },
        [&] { EXPECT_EQ(menu.Lit(), 4) << "Up from the first item goes round to the last"; },
        [&] { Key(VK_HOME); },
        [&] { EXPECT_EQ(menu.Lit(), 2); },
        [&] { Key(VK_END), Key(VK_UP), Key(VK_RETURN); },
        [&] { EXPECT_TRUE(menu.IsTracking()) << "Enter on a greyed item closed the menu"; },
        [&] { Key(VK_DOWN), Key(VK_RETURN); },
    });
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Caption, L"Gamma");
    EXPECT_FALSE(IsWindowVisible(menu.Handle())) << "the menu stayed on the screen";
    EXPECT_EQ(lit, (std::vector<int>{2, 3, 4, 2, 4, 2, 4, 3, 4}));
}

TEST_F(ListMenuTest, CharactersGoToTheOwnerAndEscapeOrAPressElsewhereCloseWithoutAChoice) {
    std::wstring typed;
    menu.OnChar = [&](wchar_t c) { typed += c; };
    EXPECT_EQ(Track({
                  [&] {
                      for (wchar_t c : std::wstring(L"a\u03b2\b\r\t\x1b"))
                          SendMessageW(menu.Handle(), WM_CHAR, c, 1);
                  },
                  [&] { Key(VK_ESCAPE); },
              }),
              nullptr);
    EXPECT_EQ(typed, L"a\u03b2\b") << "Enter, Tab and Escape are the menu's own keys, not text";

    // A real press of the mouse away from the menu (under Wine, an event of
    // the window system, as a click on another program is).
    RECT shown{};
    EXPECT_EQ(Track({
                  [&] {
                      GetWindowRect(menu.Handle(), &shown);
                      SetCursorPos(shown.right + 40, shown.bottom + 40);
                      INPUT press[2]{};
                      press[0].type = press[1].type = INPUT_MOUSE;
                      press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
                      press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
                      SendInput(2, press, sizeof(INPUT));
                  },
              }),
              nullptr);
    EXPECT_FALSE(IsRectEmpty(&shown));
    EXPECT_FALSE(IsWindowVisible(menu.Handle()));
}

TEST_F(ListMenuTest, TheMouseLightsWhatItMovesOverAndAClickChoosesAnEnabledItem) {
    auto at = [&](int i) {
        POINT p = RowCentre(i);
        return MAKELPARAM(p.x, p.y);
    };
    MenuItem* chosen = Track(
        {
            [&] { EXPECT_EQ(menu.Lit(), -1) << "nothing is lit before a key or a move"; },
            [&] { SendMessageW(menu.Handle(), WM_MOUSEMOVE, 0, at(4)); },
            [&] { EXPECT_EQ(menu.Lit(), 4); },
            [&] { SendMessageW(menu.Handle(), WM_MOUSEMOVE, 0, at(0)); },
            [&] { EXPECT_EQ(menu.Lit(), 4) << "the heading was lit"; },
            [&] { SendMessageW(menu.Handle(), WM_LBUTTONUP, 0, at(3)); },
            [&] { EXPECT_TRUE(menu.IsTracking()) << "a click on a greyed item closed the menu"; },
            [&] { SendMessageW(menu.Handle(), WM_LBUTTONUP, 0, at(2)); },
        },
        false);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Caption, L"Alpha");
}

// The matches of a longer text: rows that show what they showed are not
// drawn again; the window ends under the last row, never narrower.
TEST_F(ListMenuTest, ANewListDrawsOnlyRowsThatChangedAndTheWindowFollowsIt) {
    SIZE first{}, shorter{};
    Track({
        [&] {
            first = WindowSize();
            EXPECT_EQ(first.cy, 20 * 4 + 6 + 2 * 3) << "four rows, a line and the frame";
            EXPECT_EQ(drawn[L"Gamma"], 1);
            drawn.clear();
            // "Gamma" goes; "Beta" becomes "Delta" in its place.
            menu.Root.Items[3]->Caption = L"Delta";
            menu.Root.Items.pop_back();
            menu.Refresh();
            // Drawn at once, before the window follows.
            EXPECT_EQ(drawn[L"Delta"], 1);
            EXPECT_EQ(drawn[L"Alpha"], 0) << "an unchanged row was drawn again";
            EXPECT_EQ(drawn[L"-"], 0);
        },
        [&] {
            shorter = WindowSize();
            EXPECT_EQ(shorter.cy, first.cy - 20) << "the window did not end under the last row";
            EXPECT_EQ(shorter.cx, first.cx);
            // A narrow list keeps the width; a wide one widens the window.
            menu.Root.Items[3]->Caption = L"D";
            menu.Refresh();
        },
        [&] {
            EXPECT_EQ(WindowSize().cx, first.cx) << "the menu narrowed while open";
            menu.Root.Items[3]->Caption = std::wstring(40, L'w');
            menu.Refresh();
        },
        [&] {
            EXPECT_EQ(WindowSize().cx, 400 + 2 * 3);
            Key(VK_ESCAPE);
        },
    });
}

namespace {
std::wstring Take(BSTR b) {
    std::wstring s = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
    SysFreeString(b);
    return s;
}
}  // namespace

TEST_F(ListMenuTest, AScreenReaderHearsAMenuItsItemsAndTheLitOneAndCanChooseOne) {
    menu.Root.Items[2]->Caption = L"Docs && Notes";
    MenuItem* chosen = Track({
        [&] {
            IAccessible* acc = nullptr;
            ASSERT_HRESULT_SUCCEEDED(
                AccessibleObjectFromWindow(menu.Handle(), OBJID_CLIENT, __uuidof(IAccessible), (void**)&acc));
            VARIANT v{}, child{};
            child.vt = VT_I4;
            child.lVal = CHILDID_SELF;
            ASSERT_EQ(acc->get_accRole(child, &v), S_OK);
            EXPECT_EQ(v.lVal, ROLE_SYSTEM_MENUPOPUP);
            long count = 0;
            ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
            EXPECT_EQ(count, 5);
            struct Expected {
                const wchar_t* name;
                long role, state;
            };
            const Expected expected[] = {
                {L"Find: \u201cx\u201d", ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_UNAVAILABLE},
                {L"", ROLE_SYSTEM_SEPARATOR, 0},
                {L"Docs & Notes", ROLE_SYSTEM_MENUITEM,
                 STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED},
                {L"Beta", ROLE_SYSTEM_MENUITEM, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE},
                {L"Gamma", ROLE_SYSTEM_MENUITEM, STATE_SYSTEM_FOCUSABLE},
            };
            for (long i = 0; i < 5; ++i) {
                child.lVal = i + 1;
                BSTR name = nullptr;
                acc->get_accName(child, &name);
                EXPECT_EQ(Take(name), expected[i].name) << i;
                ASSERT_EQ(acc->get_accRole(child, &v), S_OK);
                EXPECT_EQ(v.lVal, expected[i].role) << i;
                ASSERT_EQ(acc->get_accState(child, &v), S_OK);
                EXPECT_EQ(v.lVal, expected[i].state) << i;
            }
            // Where Gamma is, and Gamma at that place.
            child.lVal = 5;
            long x = 0, y = 0, w = 0, h = 0;
            ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, child), S_OK);
            const RECT r = menu.ItemRect(4);
            EXPECT_EQ(x, r.left);
            EXPECT_EQ(h, 20);
            ASSERT_EQ(acc->accHitTest(x + 1, y + 1, &v), S_OK);
            EXPECT_EQ(v.lVal, 5);
            // A greyed item does nothing; Gamma's default action chooses it.
            child.lVal = 4;
            EXPECT_NE(acc->accDoDefaultAction(child), S_OK);
            child.lVal = 5;
            EXPECT_EQ(acc->accDoDefaultAction(child), S_OK);
            acc->Release();
        },
    });
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Caption, L"Gamma");
}
