// What the manager, the quick menu and the component sets take from win/
// without looking: the canvas, image lists, the tool bar, the owner-data list
// view, push buttons in a modal form and short-cuts inside a modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "win/Action.h"
#include "win/Application.h"
#include "win/Canvas.h"
#include "win/Form.h"
#include "win/Gdi.h"
#include "win/ImageList.h"
#include "win/ListView.h"
#include "win/StdControls.h"
#include "win/ToolBar.h"

using testing_support::WaitUntil;

namespace {

// Waits with a deadline while the application's own loop handles messages,
// so that forms see their short-cuts and children's notifications.
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    return WaitUntil(
        [&] {
            win::Application::Instance().ProcessMessages();
            return done();
        },
        timeoutMs);
}

// A 32-bit top-down picture: `opaque(x, y)` pixels in `color` with full
// alpha, the rest blue with alpha 0.
win::BitmapHandle AlphaPicture(int width, int height, COLORREF color, bool (*opaque)(int, int)) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    win::BitmapHandle bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* px = static_cast<DWORD*>(bits);
    const DWORD argb = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) px[y * width + x] = opaque(x, y) ? argb : 0x000000FFu;
    return bmp;
}

bool Checkered(int x, int y) { return (x + y) % 2 == 0; }
bool Everywhere(int, int) { return true; }

void Fill(HDC dc, int width, int height, COLORREF color) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, win::SolidBrush(color));
}

}  // namespace

// ---- canvas

TEST(Canvas, DrawsWhatItSaysAndGivesTheDCItsOwnObjectsBack) {
    win::MemoryDC dc(nullptr, 20, 20);
    const HGDIOBJ pen0 = GetCurrentObject(dc, OBJ_PEN), brush0 = GetCurrentObject(dc, OBJ_BRUSH),
                  font0 = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ firstPen = nullptr, secondPen = nullptr, brush = nullptr;
    {
        win::Canvas c(dc);
        c.SetBrush(RGB(255, 255, 255));
        c.FillRect(RECT{0, 0, 20, 20});
        c.SetBrush(RGB(10, 20, 30));
        c.FillRect(RECT{2, 2, 6, 6});
        c.SetBrush(RGB(200, 100, 0));
        c.FrameRect(RECT{10, 10, 15, 15});
        brush = GetCurrentObject(dc, OBJ_BRUSH);
        c.SetClearBrush();
        c.FillRect(RECT{0, 0, 20, 2});  // a clear brush fills nothing
        EXPECT_EQ(GetObjectType(brush), 0u) << "a replaced brush is deleted at once";

        c.SetPen(RGB(200, 0, 0));
        firstPen = GetCurrentObject(dc, OBJ_PEN);
        c.SetPen(RGB(0, 200, 0));
        secondPen = GetCurrentObject(dc, OBJ_PEN);
        EXPECT_NE(firstPen, pen0);
        EXPECT_NE(secondPen, firstPen);
        EXPECT_EQ(GetObjectType(firstPen), 0u) << "a replaced pen is deleted at once";
        c.MoveTo(0, 8);
        c.LineTo(8, 8);
        c.SetFont(static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT)));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(ANSI_FIXED_FONT));
        c.SetPixel(19, 19, RGB(1, 2, 3));
        EXPECT_EQ(c.Pixel(19, 19), RGB(1, 2, 3));
    }
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 6, 6), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 10, 12), RGB(200, 100, 0));  // the frame's left edge
    EXPECT_EQ(GetPixel(dc, 12, 12), RGB(255, 255, 255));  // and nothing inside it
    EXPECT_EQ(GetPixel(dc, 0, 8), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(dc, 7, 8), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(255, 255, 255));  // the line leaves out its final point
    // The DC has its own objects back, and the canvas's last pen is gone.
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font0);
    EXPECT_EQ(GetObjectType(secondPen), 0u);
}

// ---- image lists

TEST(ImageList, TheAlphaChannelBecomesTheMaskAndTheBackgroundShowsThrough) {
    // 20 pixels wide: the mask's rows run over more than one byte.
    const int w = 20, h = 4;
    win::ImageList list(w, h);
    win::BitmapHandle plain = AlphaPicture(w, h, RGB(255, 0, 0), Everywhere);
    win::BitmapHandle checkered = AlphaPicture(w, h, RGB(255, 0, 0), Checkered);
    EXPECT_EQ(list.AddWithAlpha(plain), 0);
    EXPECT_EQ(list.AddWithAlpha(checkered), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_NE(GetObjectType(checkered), 0u) << "the picture stays the caller's";

    // The mask alone: black where the picture is drawn, white where not.
    {
        win::MemoryDC mask(nullptr, w, h);
        Fill(mask, w, h, RGB(255, 255, 255));
        list.Draw(mask, 1, 0, 0, ILD_MASK);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(GetPixel(mask, x, y), Checkered(x, y) ? RGB(0, 0, 0) : RGB(255, 255, 255))
                    << "mask at " << x << "," << y;
    }

    win::MemoryDC dc(nullptr, w + 4, h + 4);
    Fill(dc, w + 4, h + 4, RGB(0, 255, 0));
    list.Draw(dc, 1, 2, 2);
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(GetPixel(dc, 2 + x, 2), Checkered(x, 0) ? RGB(255, 0, 0) : RGB(0, 255, 0)) << x;
        EXPECT_EQ(GetPixel(dc, 2 + x, 3), Checkered(x, 1) ? RGB(255, 0, 0) : RGB(0, 255, 0)) << x;
    }
    EXPECT_EQ(GetPixel(dc, 1, 2), RGB(0, 255, 0));  // nothing drawn beside the image
}

// ---- tool bar

namespace {
class BarForm : public win::Form {
public:
    BarForm() { CreateForm(L"PathnookToolBarTest", L"Bar", 300, 120, WS_OVERLAPPEDWINDOW, nullptr, true); }
    win::ToolBar bar;
};

void Click(HWND window, const RECT& r) {
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

RECT ButtonRect(HWND bar, int index) {
    RECT r{};
    SendMessageW(bar, TB_GETITEMRECT, index, (LPARAM)&r);
    return r;
}

std::wstring Tip(win::Form& form, win::ToolBar& bar, int index) {
    wchar_t text[80] = L"unset";
    NMTBGETINFOTIPW tip{};
    tip.hdr.hwndFrom = bar.Handle();
    tip.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(bar.Handle());
    tip.hdr.code = TBN_GETINFOTIPW;
    tip.pszText = text;
    tip.cchTextMax = 80;
    tip.iItem = (int)bar.Buttons()[index].Command;
    SendMessageW(form.Handle(), WM_NOTIFY, tip.hdr.idFrom, (LPARAM)&tip);
    return text;
}
}  // namespace

TEST(ToolBar, ButtonsShowTheirImagesAndHintsFollowTheirActionsAndClicksReachTheHandler) {
    win::Sealed<BarForm> form;
    int runs = 0, others = 0;
    bool allowed = true;
    win::Action& run = form.Actions().Add(1, L"&Run", L"Run it", 0, 0, [&] { ++runs; }, [&] { return allowed; });
    win::Action& other = form.Actions().Add(2, L"&Other", L"Other", 1, 0, [&] { ++others; });
    form.Actions().AddChangeListener([&](win::Action& a) { form.bar.SyncAction(a); });
    win::ImageList images(16, 16);
    images.AddWithAlpha(AlphaPicture(16, 16, RGB(255, 0, 0), Everywhere));
    images.AddWithAlpha(AlphaPicture(16, 16, RGB(0, 0, 255), Everywhere));
    form.bar.Create(form.Handle(), 30, 4, 24, 24);
    form.bar.SetImages(&images);
    form.bar.AddButton(run, L"Run", L"", 0);
    form.bar.AddSeparator(8);
    form.bar.AddButton(other, L"Other", L"Its own hint", 1);
    form.Show(SW_SHOWNOACTIVATE);
    const HWND bar = form.bar.Handle();

    ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 3);
    EXPECT_EQ((HIMAGELIST)SendMessageW(bar, TB_GETIMAGELIST, 0, 0), images.Handle());
    TBBUTTON tb{};
    SendMessageW(bar, TB_GETBUTTON, 1, (LPARAM)&tb);
    EXPECT_TRUE(tb.fsStyle & BTNS_SEP);
    SendMessageW(bar, TB_GETBUTTON, 2, (LPARAM)&tb);
    EXPECT_EQ(tb.iBitmap, 1);
    EXPECT_EQ(tb.idCommand, (int)form.bar.Buttons()[2].Command);
    EXPECT_EQ(Tip(form, form.bar, 0), L"Run it");  // the action's hint
    EXPECT_EQ(Tip(form, form.bar, 2), L"Its own hint");

    // Painted: the face colour in the free part, each button's image; a
    // handler of its own is asked for every button.
    form.bar.SetColor(RGB(10, 200, 30));
    auto repaint = [&] { RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
    repaint();
    RECT client{};
    GetClientRect(bar, &client);
    {
        win::WindowDC dc(bar);
        EXPECT_EQ(GetPixel(dc, client.right - 3, client.bottom / 2), RGB(10, 200, 30));
        RECT first = ButtonRect(bar, 0), third = ButtonRect(bar, 2);
        EXPECT_EQ(GetPixel(dc, (first.left + first.right) / 2, (first.top + first.bottom) / 2), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(dc, (third.left + third.right) / 2, (third.top + third.bottom) / 2), RGB(0, 0, 255));
    }
    std::vector<int> painted;
    form.bar.OnCustomDraw = [&](NMTBCUSTOMDRAW& cd) -> LRESULT {
        if (cd.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) painted.push_back((int)cd.nmcd.dwItemSpec);
        return -1;
    };
    repaint();
    form.bar.OnCustomDraw = nullptr;
    EXPECT_NE(std::find(painted.begin(), painted.end(), (int)form.bar.Buttons()[0].Command), painted.end());
    EXPECT_NE(std::find(painted.begin(), painted.end(), (int)form.bar.Buttons()[2].Command), painted.end());

    // A click runs the button's action.
    Click(bar, ButtonRect(bar, 0));
    ASSERT_TRUE(RunUntil([&] { return runs == 1; }));

    // Disabled at idle time: the button greys and a click runs nothing,
    // while the click on the next button, handled after it, still runs.
    allowed = false;
    win::Application::Instance().Idle();
    EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONENABLED, form.bar.Buttons()[0].Command, 0));
    EXPECT_TRUE(SendMessageW(bar, TB_ISBUTTONENABLED, form.bar.Buttons()[2].Command, 0));
    Click(bar, ButtonRect(bar, 0));
    Click(bar, ButtonRect(bar, 2));
    ASSERT_TRUE(RunUntil([&] { return others == 1; }));
    EXPECT_EQ(runs, 1);
    // A command that reaches the form anyway (a stale click) is refused by the action.
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.bar.Buttons()[0].Command, BN_CLICKED), (LPARAM)bar);
    EXPECT_EQ(runs, 1);

    allowed = true;
    win::Application::Instance().Idle();
    EXPECT_TRUE(SendMessageW(bar, TB_ISBUTTONENABLED, form.bar.Buttons()[0].Command, 0));
}

// ---- list view

namespace {
class ListForm : public win::Form {
public:
    ListForm() { CreateForm(L"PathnookListViewTest", L"List", 320, 240, WS_OVERLAPPEDWINDOW, nullptr, true); }
    win::ListView list;
};

std::wstring RowText(HWND list, int row, int column) {
    wchar_t text[128] = {};
    ListView_GetItemText(list, row, column, text, 128);
    return text;
}
}  // namespace

TEST(ListView, OwnerDataRowsReadBackThroughTheOwnerWithTheirSelectionAndKeys) {
    win::Sealed<ListForm> form;
    std::vector<std::wstring> names{L"Alpha", L"beta", L"Gamma", L"delta"};
    form.list.Create(form.Handle(), 0, 0, 320, 240);
    form.list.AddColumn(L"Alias", 100);
    form.list.AddColumn(L"Path", 150);
    form.list.OnGetText = [&](int row, int column) { return column == 0 ? names[row] : L"C:\\" + names[row]; };
    form.list.SetItemCount((int)names.size());
    form.Show(SW_SHOWNOACTIVATE);
    const HWND h = form.list.Handle();

    EXPECT_EQ(form.list.ItemCount(), 4);
    EXPECT_EQ(form.list.ColumnWidth(1), 150);
    EXPECT_EQ(RowText(h, 2, 0), L"Gamma");
    EXPECT_EQ(RowText(h, 2, 1), L"C:\\Gamma");
    names[2] = L"Changed";  // the list keeps no copy
    EXPECT_EQ(RowText(h, 2, 0), L"Changed");

    // Selection: one row, kept while the rows still reach it.
    EXPECT_EQ(form.list.Selected(), -1);
    form.list.Select(3);
    EXPECT_EQ(form.list.Selected(), 3);
    EXPECT_EQ(ListView_GetItemState(h, 3, LVIS_FOCUSED), (UINT)LVIS_FOCUSED);
    form.list.Select(1);
    EXPECT_EQ(ListView_GetSelectedCount(h), 1u);
    names.resize(10, L"more");
    form.list.SetItemCount(10);
    EXPECT_EQ(form.list.Selected(), 1);
    form.list.Select(9);
    names.resize(3);
    form.list.SetItemCount(3);
    EXPECT_EQ(form.list.Selected(), -1);

    // Type-ahead asks the owner with the letters typed.
    std::wstring asked;
    form.list.OnFindPrefix = [&](const std::wstring& prefix, int) {
        asked = prefix;
        return 1;
    };
    LVFINDINFOW find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = L"be";
    EXPECT_EQ(ListView_FindItem(h, -1, &find), 1);
    EXPECT_EQ(asked, L"be");

    // Keys pressed in the list reach the owner, Enter as a key of its own.
    std::vector<WORD> keys;
    int returns = 0;
    form.list.OnKeyDown = [&](WORD key) {
        keys.push_back(key);
        return false;
    };
    form.list.OnReturn = [&] { ++returns; };
    SetFocus(h);
    PostMessageW(h, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(h, WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(RunUntil([&] { return returns == 1; }));
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys[0], VK_DOWN);
}

// ---- push buttons and short-cuts in a modal form

namespace {
class ModalBox : public win::Form {
public:
    ModalBox() {
        CreateForm(L"PathnookModalKeysTest", L"Box", 240, 120, WS_CAPTION | WS_SYSMENU, nullptr, true);
        DialogKeys = true;
    }
    win::PushButton ok;
};

ModalBox* g_box = nullptr;

// The deadline of a modal loop in a test: the test fails rather than hangs.
class ModalDeadline {
public:
    explicit ModalDeadline(int ms) : timer_(SetTimer(nullptr, 0, ms, Expire)) {}
    ~ModalDeadline() { KillTimer(nullptr, timer_); }

private:
    static void CALLBACK Expire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (g_box) g_box->ModalResult = 99;
    }
    UINT_PTR timer_;
};

// This thread's keyboard state with Ctrl down or up, as a hand leaves it.
void SetCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}
}  // namespace

TEST(PushButton, ClicksReachTheHandlerAndCloseTheModalFormWithTheButtonsResult) {
    win::Sealed<ModalBox> form;
    int clicks = 0;
    form.ok.Create(form.Handle(), L"OK", 10, 10, 75, 23);
    form.ok.ModalResult = win::mrOk;
    form.ok.OnClick = [&] { ++clicks; };
    g_box = &form;
    ModalDeadline deadline(10000);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageW(g_box->ok.Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(form.ShowModal(), win::mrOk);
    EXPECT_EQ(clicks, 1);
    g_box = nullptr;
}

TEST(ShortCut, ReachesTheModalFormsActionWhileItsLoopRunsAndTheBareKeyDoesNot) {
    win::Sealed<ModalBox> form;
    std::vector<win::ShortCut> ran;
    form.Actions().Add(1, L"&Keep", L"", -1, win::kCtrl | 'K', [&] {
        ran.push_back(win::kCtrl | 'K');
        form.ModalResult = win::mrOk;
    });
    form.Actions().Add(2, L"&Bare", L"", -1, 'K', [&] { ran.push_back('K'); });
    g_box = &form;
    ModalDeadline deadline(10000);
    // The bare key first, then the short-cut, both to the modal form: the
    // short-cut closes it, so both were read when the loop ends.
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageW(g_box->Handle(), WM_KEYDOWN, 'K', 1);
        PostMessageW(g_box->Handle(), WM_APP, 0, 0);  // marks the bare key as handled
    });
    int result = 0;
    {
        // Ctrl goes down once the bare key has been read.
        struct CtrlOnMark {
            int id = win::Application::Instance().AddMessageHook([](MSG& msg) {
                if (msg.message != WM_APP || msg.hwnd != g_box->Handle()) return false;
                SetCtrl(true);
                PostMessageW(g_box->Handle(), WM_KEYDOWN, 'K', 1);
                return true;
            });
            ~CtrlOnMark() {
                win::Application::Instance().RemoveMessageHook(id);
                SetCtrl(false);
            }
        } mark;
        result = form.ShowModal();
    }
    g_box = nullptr;
    EXPECT_EQ(result, win::mrOk);
    // Plain keys are no short-cuts: only keys with Ctrl or Alt are looked up.
    EXPECT_EQ(ran, (std::vector<win::ShortCut>{win::kCtrl | 'K'}));
}
