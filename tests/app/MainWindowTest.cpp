// The main window built in this process: menu, actions, tool bar, enabling
// rules and painting.
#include <gtest/gtest.h>

#include <oleacc.h>

#include "app/CommandIds.h"
#include "app/Main.h"
#include "app/MainFormFixture.h"
#include "support/TestSupport.h"
#include "win/Application.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

class MainWindowTest : public MainFormFixture {
protected:
    void Idle() {
        win::Application::Instance().ProcessMessages();
        win::Application::Instance().Idle();
    }
    std::wstring Tip(UINT command) {
        wchar_t text[256] = L"";
        NMTBGETINFOTIPW tip{};
        tip.hdr.hwndFrom = form->ToolBar1.Handle();
        tip.hdr.code = TBN_GETINFOTIPW;
        tip.iItem = (int)command;
        tip.pszText = text;
        tip.cchTextMax = 256;
        SendMessageW(form->Handle(), WM_NOTIFY, 0, (LPARAM)&tip);
        return text;
    }
    bool MenuEnabled(const win::MenuItem& item) {
        return !(GetMenuState(item.Owner, item.Command, MF_BYCOMMAND) & MF_GRAYED);
    }
    bool ButtonEnabled(const win::Action& action) {
        for (auto& b : form->ToolBar1.Buttons())
            if (b.Bound == &action)
                return SendMessageW(form->ToolBar1.Handle(), TB_ISBUTTONENABLED, b.Command, 0) != 0;
        return false;
    }
};

std::vector<std::wstring> Texts(const win::MenuItem& parent) {
    std::vector<std::wstring> out;
    for (auto& item : parent.Items) out.push_back(item->DisplayText());
    return out;
}
}  // namespace

TEST_F(MainWindowTest, ActionsCarryTheirCaptionsHintsImagesAndShortCuts) {
    struct Row {
        win::Action* action;
        const wchar_t* caption;
        const wchar_t* hint;
        int image;
        win::ShortCut key;
    } rows[] = {
        {form->aAddFolder, L"&Add to List", L"Add a pathnook", 10, win::kCtrl | 'A'},
        {form->aEdit, L"&Edit Item", L"Edit the selected pathnook", 12, 0},
        {form->aDelete, L"&Delete Item", L"Delete the select folder item", 11, 0},
        {form->aItemUp, L"&Up Item", L"", 16, win::kCtrl | 'U'},
        {form->aItemDown, L"&Down Item", L"", 18, win::kCtrl | 'D'},
        {form->aSort, L"&Sort by Alias", L"Sort by Alias(Ascending)", -1, 0},
        {form->aRefresh, L"&Refresh", L"Refresh the folder list", 14, 0},
        {form->aExit, L"&Exit", L"Exit the Pathnook", 17, 0},
    };
    for (auto& r : rows) {
        EXPECT_EQ(r.action->Caption, r.caption);
        EXPECT_EQ(r.action->Hint, r.hint) << r.caption;
        EXPECT_EQ(r.action->ImageIndex, r.image) << r.caption;
        EXPECT_EQ(r.action->Key, r.key) << r.caption;
    }
    EXPECT_EQ(form->ImageList1.Count(), 19);
    EXPECT_EQ(form->ImageList2.Count(), 10);
}

TEST_F(MainWindowTest, MenuBarAndToolBarAreLaidOutInOrder) {
    auto& root = form->Menu().Root;
    ASSERT_EQ(root.Items.size(), 3u);
    EXPECT_EQ(root.Items[0]->Caption, L"&File");
    EXPECT_EQ(root.Items[1]->Caption, L"&View");
    EXPECT_EQ(root.Items[2]->Caption, L"&Help");
    EXPECT_EQ(Texts(*root.Items[1]), (std::vector<std::wstring>{L"&Sort by Alias\tCtrl+S", L"-", L"&Up Item\tCtrl+U",
                                                                 L"&Down Item\tCtrl+D", L"-", L"&Refresh"}));
    EXPECT_EQ(Texts(*root.Items[2]), (std::vector<std::wstring>{L"&Help", L"-", L"&HomePage", L"-", L"&About..."}));
    auto file = Texts(*root.Items[0]);
    EXPECT_EQ(file.front(), L"&Add to List...\tCtrl+A");
    EXPECT_EQ(file.back(), L"&Exit");
    EXPECT_NE(std::find(file.begin(), file.end(), L"&Delete Item"), file.end());
    EXPECT_EQ(GetMenuItemCount(form->Menu().Handle()), 3);

    struct Button {
        const wchar_t* caption;
        int image;  // or the separator's width
        bool separator;
        std::wstring tip;
    } expected[] = {
        {L"Add", 3, false, L"Add a pathnook to list"},
        {L" Edit  ", 5, false, L"Edit the selected pathnook in the list"},
        {L"Delete", 4, false, L"Remove the select folder item from list"},
        {L"", 8, true, L""}, {L"", 6, true, L""},
        {L"  Up  ", 9, false, L"Move the selected folder item up the list"},
        {L"Down", 1, false, L"Move the selected folder item down the list"},
        {L"", 8, true, L""}, {L"", 8, true, L""},
        {L"Refresh", 7, false, L"Refresh the folder list"},
        {L"", 8, true, L""}, {L"", 8, true, L""},
        {L"Exit", 0, false, L"Exit the Pathnook"},
    };
    auto& buttons = form->ToolBar1.Buttons();
    ASSERT_EQ(buttons.size(), std::size(expected));
    ASSERT_EQ(SendMessageW(form->ToolBar1.Handle(), TB_BUTTONCOUNT, 0, 0), (LRESULT)std::size(expected));
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON tb{};
        SendMessageW(form->ToolBar1.Handle(), TB_GETBUTTON, i, (LPARAM)&tb);
        EXPECT_EQ(tb.iBitmap, expected[i].image) << i;
        EXPECT_EQ((tb.fsStyle & BTNS_SEP) != 0, expected[i].separator) << i;
        EXPECT_EQ(buttons[i].Caption, expected[i].caption);
        if (!expected[i].separator) {
            EXPECT_EQ(Tip(buttons[i].Command), expected[i].tip) << i;
        }
    }
    EXPECT_EQ(form->ToolBar1.Height(), 41);
    RECT button{};
    SendMessageW(form->ToolBar1.Handle(), TB_GETITEMRECT, 0, (LPARAM)&button);
    EXPECT_EQ(button.right - button.left, 44);
    EXPECT_EQ(button.bottom - button.top, 38);
    EXPECT_EQ(button.left, 10);  // the indent
}

TEST_F(MainWindowTest, EnablingFollowsTheSelectionAtIdleTime) {
    win::MenuItem* up = nullptr;
    win::MenuItem* edit = nullptr;
    form->Menu().ForEach([&](win::MenuItem& item) {
        if (item.Bound == form->aItemUp) up = &item;
        if (item.Bound == form->aEdit) edit = &item;
    });
    ASSERT_TRUE(up && edit);
    form->lvMain.Select(-1);
    Idle();
    EXPECT_FALSE(form->aDelete->Enabled());
    EXPECT_FALSE(ButtonEnabled(*form->aDelete));
    EXPECT_FALSE(MenuEnabled(*up));
    EXPECT_TRUE(form->aSort->Enabled());
    EXPECT_TRUE(form->aRefresh->Enabled());

    form->lvMain.Select(1);
    Idle();
    EXPECT_TRUE(form->aDelete->Enabled());
    EXPECT_TRUE(ButtonEnabled(*form->aDelete));
    EXPECT_TRUE(MenuEnabled(*up));
    EXPECT_TRUE(form->aItemDown->Enabled());

    form->lvMain.Select(2);
    Idle();
    EXPECT_FALSE(form->aItemDown->Enabled());
    EXPECT_FALSE(ButtonEnabled(*form->aItemDown));

    form->lvMain.Select(0);
    Idle();
    EXPECT_FALSE(form->aItemUp->Enabled());

    // One entry left: nothing to sort.
    for (int row = (int)form->Entries().size() - 1; row > 0; --row) form->List().Delete(row);
    form->ShowEntries(0);
    Idle();
    EXPECT_FALSE(form->aSort->Enabled());
}

TEST_F(MainWindowTest, SortChangesItsHintWithTheDirection) {
    form->aSort->Execute();
    EXPECT_EQ(form->aSort->Hint, L"Sort by Alias(Descending)");
    EXPECT_FALSE(form->SortAscending);
    form->aSort->Execute();
    EXPECT_EQ(form->aSort->Hint, L"Sort by Alias(Ascending)");
}

TEST_F(MainWindowTest, PaintsItsColours) {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Idle();
    EXPECT_EQ(form->ToolBar1.Color, RGB(214, 223, 246));
    EXPECT_EQ(form->lvMain.BkColor(), RGB(239, 239, 255));
    HDC dc = GetDC(form->Handle());
    RECT client = form->ClientRect();
    EXPECT_EQ(GetPixel(dc, 3, client.bottom - 3), RGB(214, 223, 247));  // the margin beside the list
    EXPECT_EQ(GetPixel(dc, client.right - 3, 20), RGB(214, 223, 246));  // the tool bar's free end
    ReleaseDC(form->Handle(), dc);
}

namespace {
// Every item of a menu as a screen reader reads it: owner-drawn, with its
// text where the system's convention puts it, the same text Windows holds.
void ExpectItemsHeardAsShown(HMENU menu, int& items) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &mii));
        if (mii.fType & MFT_SEPARATOR) continue;
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
        const auto* info = reinterpret_cast<const MSAAMENUINFO*>(mii.dwItemData);
        ASSERT_TRUE(info && info->dwMSAASignature == MSAA_MENU_SIG) << i;
        wchar_t shown[128] = {};
        GetMenuStringW(menu, i, shown, 128, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(info->pszWText, info->cchWText), shown);
        EXPECT_NE(std::wstring(shown).find(L'&'), std::wstring::npos) << "no mnemonic: " << i;
        ++items;
        if (mii.hSubMenu) ExpectItemsHeardAsShown(mii.hSubMenu, items);
    }
}
}  // namespace

TEST_F(MainWindowTest, MenusAndColumnsAreNamedForScreenReaders) {
    int items = 0;
    ExpectItemsHeardAsShown(GetMenu(form->Handle()), items);
    EXPECT_EQ(items, 17);  // the three menus with their items, separators apart
    HWND header = ListView_GetHeader(form->lvMain.Handle());
    ASSERT_EQ(Header_GetItemCount(header), 2);
    for (int i = 0; i < 2; ++i) {
        wchar_t text[32] = {};
        HDITEMW hd{};
        hd.mask = HDI_TEXT;
        hd.pszText = text;
        hd.cchTextMax = 32;
        ASSERT_TRUE(Header_GetItem(header, i, &hd));
        EXPECT_STREQ(text, i == 0 ? L"Alias" : L"Path");
    }
    EXPECT_TRUE(IsWindowVisible(header));
}

TEST_F(MainWindowTest, AHighContrastSchemeReplacesTheWindowsOwnTints) {
    const int indices[] = {COLOR_BTNFACE, COLOR_WINDOW};
    const COLORREF scheme[] = {RGB(0, 0, 1), RGB(1, 0, 0)};
    COLORREF saved[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW)};
    SetSysColors(2, indices, scheme);
    win::SetHighContrastOverride(1);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Idle();
    const COLORREF bar = form->ToolBar1.Color, list = form->lvMain.BkColor();
    HDC dc = GetDC(form->Handle());
    RECT client = form->ClientRect();
    const COLORREF margin = GetPixel(dc, 3, client.bottom - 3);
    ReleaseDC(form->Handle(), dc);
    win::SetHighContrastOverride(-1);
    SetSysColors(2, indices, saved);
    EXPECT_EQ(bar, scheme[0]);
    EXPECT_EQ(list, scheme[1]);
    EXPECT_EQ(margin, scheme[0]);
}

namespace {
bool g_boxSeen = false;
void CALLBACK CloseAnyBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
            g_boxSeen = true;
            PostMessageW(w, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }, 0);
}
}  // namespace

// The list asks for texts while its window goes away; the entries it reads
// must still exist then.
TEST(MainWindowLifetime, DestroyingTheWindowReadsNoFreedEntries) {
    SeedStore(2);
    g_boxSeen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseAnyBox);
    {
        win::Sealed<TfrmMain> form;
        form.Show();
        win::Application::Instance().ProcessMessages();
        form.lvMain.Select(0);
        win::Application::Instance().Idle();
    }
    win::Application::Instance().ProcessMessages();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(g_boxSeen);
    DeleteKeyTree(kStore);
}
