// What a screen reader and a keyboard user get from the layer: the access
// record of owner-drawn menu items, mnemonics in owner-drawn menus, links
// reached by keyboard, and the contrast measure the painted looks are held to.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "win/Color.h"
#include "win/Form.h"
#include "win/LinkLabel.h"
#include "win/Menu.h"
#include "win/PopupMenu.h"
#include "win/StdControls.h"

namespace {
class MenuForm : public win::Form {
public:
    MenuForm() { CreateForm(L"PathnookAccessTest", L"Access", 300, 200, WS_OVERLAPPEDWINDOW, nullptr, true); }
};

void OwnerDraw(win::MenuItem& item) {
    item.OnMeasureItem = [](win::MenuItem&, HDC, int& w, int& h) { w = 80, h = 18; };
    item.OnDrawItem = [](win::MenuItem&, HDC, const RECT&, bool) {};
    for (auto& sub : item.Items) OwnerDraw(*sub);
}

// Every item of a Windows menu, as a screen reader walks it: the record at
// the start of the item data against the text Windows holds for the item.
void ExpectRecordsMatchTexts(HMENU menu, int& checked) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &mii));
        if (mii.fType & MFT_SEPARATOR) continue;
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << i;
        ASSERT_NE(mii.dwItemData, 0u);
        const auto* info = reinterpret_cast<const MSAAMENUINFO*>(mii.dwItemData);
        EXPECT_EQ(info->dwMSAASignature, (DWORD)MSAA_MENU_SIG);
        wchar_t shown[128] = {};
        GetMenuStringW(menu, i, shown, 128, MF_BYPOSITION);
        ASSERT_NE(info->pszWText, nullptr);
        EXPECT_EQ(std::wstring(info->pszWText, info->cchWText), std::wstring(shown));
        EXPECT_EQ(info->pszWText[info->cchWText], L'\0');
        ++checked;
        if (mii.hSubMenu) ExpectRecordsMatchTexts(mii.hSubMenu, checked);
    }
}
}  // namespace

TEST(MenuAccess, OwnerDrawnItemsCarryTheirTextWhereScreenReadersLook) {
    win::Sealed<MenuForm> form;
    win::Action& open = form.Actions().Add(1, L"&Open", L"", -1, win::kCtrl | 'O', [] {});
    win::MenuItem& file = form.Menu().Root.Add(L"&File");
    file.Add(L"&Open...", &open);
    file.AddSeparator();
    file.Add(L"Docs && Notes");
    file.Add(L"&More").Add(L"&Inner");
    form.Menu().Root.Add(L"&Help");
    OwnerDraw(form.Menu().Root);
    form.Menu().OwnerDrawn = true;
    form.AttachMenu();
    int checked = 0;
    ExpectRecordsMatchTexts(GetMenu(form.Handle()), checked);
    EXPECT_EQ(checked, 6);
    // The bar item has no short-cut text; the drop-down item has its key.
    EXPECT_EQ(std::wstring(reinterpret_cast<const MSAAMENUINFO*>(file.ItemData())->pszWText), L"&File");
    EXPECT_EQ(std::wstring(file.Items[0]->AccessRecord().Text), L"&Open...\tCtrl+O");

    // A rebuilt menu (a caption changed) tells the new text.
    file.Items[2]->Caption = L"Renamed";
    form.AttachMenu();
    checked = 0;
    ExpectRecordsMatchTexts(GetMenu(form.Handle()), checked);
    EXPECT_EQ(std::wstring(file.Items[2]->AccessRecord().Text), L"Renamed");

    win::PopupMenu popup;
    popup.OwnerDrawn = true;
    popup.Root.Add(L"&Edit the List...");
    popup.Root.AddSeparator();
    popup.Root.Add(L"E&xit");
    OwnerDraw(popup.Root);
    checked = 0;
    ExpectRecordsMatchTexts(popup.Build(), checked);
    EXPECT_EQ(checked, 2);
}

TEST(MenuAccess, MnemonicsPickTheirItemBeforeFirstLetters) {
    win::PopupMenu menu;
    menu.OwnerDrawn = true;
    menu.Root.Add(L"&Edit the List...");
    menu.Root.Add(L"&Start with Windows");
    menu.Root.Add(L"&Hot Key...");
    menu.Root.AddSeparator();
    menu.Root.Add(L"E&xit");
    menu.Root.Add(L"E&ject").Enabled = false;
    OwnerDraw(menu.Root);
    HMENU h = menu.Build();
    EXPECT_EQ(win::MenuCharAnswer(L'x', h), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(win::MenuCharAnswer(L'X', h), MAKELRESULT(4, MNC_EXECUTE));
    // "Exit" starts with E too, but only "Edit" is marked so.
    EXPECT_EQ(win::MenuCharAnswer(L'e', h), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(win::MenuCharAnswer(L'h', h), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(HIWORD(win::MenuCharAnswer(L'j', h)), MNC_IGNORE);  // greyed

    // Two items marked with the same letter: the key goes from one to the next.
    win::PopupMenu same;
    same.Root.Add(L"&Help");
    same.Root.Add(L"&HomePage");
    HMENU s = same.Build();
    EXPECT_EQ(win::MenuCharAnswer(L'h', s), MAKELRESULT(0, MNC_SELECT));
}

TEST(MenuAccess, TheMenuBarsOwnerAnswersMnemonicsOfItsOwnMenusOnly) {
    win::Sealed<MenuForm> form;
    win::MenuItem& file = form.Menu().Root.Add(L"&File");
    file.Add(L"&Add");
    file.Add(L"E&xit");
    form.Menu().Root.Add(L"&View").Add(L"&Refresh");
    OwnerDraw(form.Menu().Root);
    form.Menu().OwnerDrawn = true;
    form.AttachMenu();
    HMENU bar = GetMenu(form.Handle());
    auto ask = [&](wchar_t ch, HMENU m) {
        return SendMessageW(form.Handle(), WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), (LPARAM)m);
    };
    EXPECT_EQ(ask(L'v', bar), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(ask(L'x', GetSubMenu(bar, 0)), MAKELRESULT(1, MNC_EXECUTE));
    // A menu that is not the form's (a system menu, say) is left to Windows.
    HMENU other = CreatePopupMenu();
    AppendMenuW(other, MF_STRING, 1, L"E&xit");
    EXPECT_EQ(ask(L'x', other), 0);
    DestroyMenu(other);
}

TEST(Contrast, RatioFollowsTheGuidelinesMeasure) {
    struct Case {
        COLORREF a, b;
        double ratio;
    } cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), 21.0},
        {RGB(255, 255, 255), RGB(0, 0, 0), 21.0},  // order does not matter
        {RGB(0x77, 0x77, 0x77), RGB(255, 255, 255), 4.48},
        {RGB(0xF5, 0xF5, 0xF5), RGB(255, 255, 255), 1.09},
        {RGB(0, 0, 255), RGB(255, 255, 255), 8.59},
        {RGB(12, 34, 56), RGB(12, 34, 56), 1.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(win::ContrastRatio(c.a, c.b), c.ratio, 0.01) << std::hex << c.a;
}

// A link label is reached with Tab and opened with Enter or Space, as a
// click opens it; Enter elsewhere is left to the dialog.
TEST(LinkKeys, TabReachesALinkAndEnterOrSpaceOpensIt) {
    win::Sealed<MenuForm> form;
    form.DialogKeys = true;
    win::PushButton ok;
    ok.Create(form.Handle(), L"OK", 10, 10, 75, 25);
    win::LinkLabel link;
    int opened = 0;
    link.OnClick = [&] { ++opened; };
    link.Create(form.Handle(), L"http://www.example.com/", 10, 50);
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), ok.Handle(), FALSE), link.Handle());
    form.Show();
    SetFocus(ok.Handle());
    MSG enter{ok.Handle(), WM_KEYDOWN, VK_RETURN, 1};
    form.PreTranslate(enter);
    EXPECT_EQ(opened, 0);
    SetFocus(link.Handle());
    enter.hwnd = link.Handle();
    EXPECT_TRUE(form.PreTranslate(enter));
    EXPECT_EQ(opened, 1);
    SendMessageW(link.Handle(), WM_CHAR, L' ', 1);
    EXPECT_EQ(opened, 2);
}
