#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/TestSupport.h"
#include "xpmenu/XPTestForms.h"
#include "win/Application.h"
#include "win/Gdi.h"
#include "win/ImageList.h"
#include "win/ListView.h"
#include "win/StdControls.h"
#include "win/ToolBar.h"
#include "xpmenu/ControlSubClass.h"
#include "xpmenu/XPMenu.h"
#include "xpmenu/XPMenuManager.h"

using namespace xpmenu;
using namespace xptest;

namespace {
void Pump() { win::Application::Instance().ProcessMessages(); }

bool Hooked(const win::Window& w) { return TControlSubClass::Of(w.Handle()) != nullptr; }

COLORREF WindowPixel(HWND w, int x, int y, bool whole = false) {
    HDC dc = whole ? GetWindowDC(w) : GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

// Shows a form at the top-left corner, away from where the pointer rests.
void ShowAtCorner(win::Form& f) {
    SetWindowPos(f.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(f.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(f.Handle());
    Pump();
}

void Repaint(HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
}

bool Contains(const std::vector<win::Form*>& v, win::Form* f) {
    return std::find(v.begin(), v.end(), f) != v.end();
}
}  // namespace

TEST(XPAttach, Tag999ExemptsItemsControlsAndTheirChildren) {
    win::Sealed<TestForm> form;
    auto& top = form.Menu().Root.Add(L"&File");
    auto& skip = top.Add(L"Skip");
    skip.Tag = kTagNotPainted;
    auto& child = skip.Add(L"Child");
    form.AttachMenu();
    win::PushButton ok, exempt, inBox;
    ok.Create(form.Handle(), L"OK", 10, 10, 75, 25);
    exempt.Tag = kTagNotPainted;
    exempt.Create(form.Handle(), L"No", 10, 40, 75, 25);
    win::GroupBox box;
    box.Tag = kTagNotPainted;
    box.Create(form.Handle(), L"Box", 100, 10, 150, 100);
    inBox.Create(box.Handle(), L"In", 10, 20, 75, 25);
    win::ListView lv;
    lv.Create(form.Handle(), 10, 120, 200, 100);

    TXPMenu xp(form);
    xp.SetActive(true);
    EXPECT_TRUE(form.Menu().OwnerDrawn);
    EXPECT_TRUE(top.OnDrawItem && top.OnMeasureItem);
    EXPECT_FALSE(skip.OnDrawItem || skip.OnMeasureItem);
    EXPECT_TRUE(child.OnDrawItem && child.OnMeasureItem);  // sub-items of an exempt item still attach
    EXPECT_TRUE(Hooked(ok));
    EXPECT_FALSE(Hooked(exempt));
    EXPECT_FALSE(Hooked(box));
    EXPECT_FALSE(Hooked(inBox));
    EXPECT_TRUE(Hooked(lv));

    // An item's own handler stays unless owner-draw is overridden.
    bool own = false;
    auto& mine = top.Add(L"Mine");
    mine.OnDrawItem = [&](win::MenuItem&, HDC, const RECT&, bool) { own = true; };
    xp.AttachItem(mine, true);
    mine.OnDrawItem(mine, nullptr, {}, false);
    EXPECT_TRUE(own);

    // Setting Active to the value it has runs no attachment pass.
    top.OnDrawItem = nullptr;
    xp.SetActive(true);
    EXPECT_FALSE(top.OnDrawItem);

    xp.SetActive(false);
    EXPECT_FALSE(child.OnDrawItem || child.OnMeasureItem);
    EXPECT_TRUE(mine.OnDrawItem);  // not the painter's: left alone
    EXPECT_TRUE(Hooked(ok));       // until its next message
    SendMessageW(ok.Handle(), WM_NULL, 0, 0);
    EXPECT_FALSE(Hooked(ok));
}

TEST(XPAttach, AToolBarStaysFlatAndAnEmptyMenuIsLeftAlone) {
    win::Sealed<TestForm> form;
    form.AttachMenu();
    HMENU before = form.Menu().Handle();
    win::ToolBar tb;
    tb.Create(form.Handle(), 41, 10, 44, 38);
    auto& a = form.Actions().Add(1, L"A", L"", -1, 0, [] {});
    tb.AddButton(a, L"A", L"", 0);
    HWND h = tb.Handle();
    SetWindowLongW(h, GWL_STYLE, GetWindowLongW(h, GWL_STYLE) & ~TBSTYLE_FLAT);

    TXPMenu xp(form);
    xp.SetActive(true);
    EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_TRUE(tb.OnCustomDraw);
    EXPECT_FALSE(form.Menu().OwnerDrawn);
    EXPECT_EQ(form.Menu().Handle(), before);  // not rebuilt

    xp.SetActive(false);
    EXPECT_FALSE(tb.OnCustomDraw);
    EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & TBSTYLE_FLAT);
}

TEST(XPAttach, ControlsAndContainersSelectWhatIsHooked) {
    win::Sealed<TestForm> form;
    win::PushButton ok;
    ok.Create(form.Handle(), L"OK", 10, 10, 75, 25);
    win::GroupBox box;
    box.Create(form.Handle(), L"Box", 100, 10, 150, 100);
    TXPMenu xp(form);
    xp.SetXPControls(AllXPControls & ~Bit(xcButton));
    xp.SetActive(true);
    EXPECT_FALSE(Hooked(ok));
    EXPECT_TRUE(Hooked(box));
    xp.SetXPControls(AllXPControls);  // detaches and attaches again
    EXPECT_TRUE(Hooked(ok));
    xp.SetXPContainers(AllXPContainers & ~Bit(xccForm));
    EXPECT_FALSE(Hooked(ok));
    EXPECT_FALSE(Hooked(box));
}

namespace {
struct ToolButtons : ::testing::Test {
    win::Sealed<TestForm> form;
    win::ImageList images{16, 16};
    win::ToolBar tb;
    TXPMenu xp{form};
    void SetUp() override {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* px = static_cast<DWORD*>(bits);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) px[y * 16 + x] = (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0xFFC80000 : 0;
        images.AddWithAlpha(bmp);
        DeleteObject(bmp);
        tb.Create(form.Handle(), 41, 10, 44, 38);
        tb.SetImages(&images);
        tb.Color = RGB(214, 223, 246);
        auto& a = form.Actions().Add(1, L"A", L"", -1, 0, [] {});
        tb.AddButton(a, L"A", L"", 0);
        xp.SetActive(true);
        xp.RefreshPalette(32);
    }
};
}  // namespace

TEST_F(ToolButtons, ADisabledButtonWithoutADisabledListShowsItsImageGreyAndFaded) {
    win::Bitmap s(60, 40, kUnpainted);
    TXPMenu::ToolButtonState st;
    st.Disabled = true;
    bool defaultDraw = true;
    xp.PaintToolButton(tb.Handle(), 0, s.DC(), {0, 0, 44, 38}, st, defaultDraw);
    EXPECT_FALSE(defaultDraw);
    // Glyph left = (44 - 16) / 2 = 14, top = 2 + 1; the square at 4..11.
    EXPECT_EQ(s.Pixel(18, 7), RGB(148, 148, 148));
    EXPECT_EQ(s.Pixel(25, 14), RGB(148, 148, 148));
    const COLORREF face = s.Pixel(2, 5);
    EXPECT_TRUE(LightTintOf(face, tb.Color)) << "the face, a light tint of the bar's colour: " << std::hex << face;
}

// At rest a button shows a light tint of the bar's colour and its image
// faded; hot, a frame of the highlight around a light tint of it, the image
// whole and raised one pixel up and left over its shadow, a darker shade of
// that tint.
TEST_F(ToolButtons, AHotButtonIsFramedAndItsGlyphRaisedOverItsShadow) {
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    TXPMenu::ToolButtonState st;
    bool defaultDraw = true;
    win::Bitmap n(60, 40, kUnpainted);
    xp.PaintToolButton(tb.Handle(), 0, n.DC(), {0, 0, 44, 38}, st, defaultDraw);
    const COLORREF face = n.Pixel(3, 30);
    EXPECT_TRUE(LightTintOf(face, tb.Color)) << std::hex << face;
    EXPECT_EQ(n.Pixel(20, 0), face);
    EXPECT_EQ(n.Pixel(43, 37), face);
    EXPECT_EQ(n.Pixel(18, 7), RGB(216, 76, 76));  // faded by DimLevel

    st.Hot = true;
    win::Bitmap s(60, 40, kUnpainted);
    xp.PaintToolButton(tb.Handle(), 0, s.DC(), {0, 0, 44, 38}, st, defaultDraw);
    EXPECT_EQ(s.Pixel(0, 1), hl);
    EXPECT_EQ(s.Pixel(43, 37), hl);
    EXPECT_EQ(s.Pixel(20, 0), face);  // the frame starts one row down
    const COLORREF fill = s.Pixel(3, 30);
    EXPECT_TRUE(LightTintOf(fill, hl)) << std::hex << fill;
    // At rest the square is at 18..25 x 7..14: now at 17..24 x 6..13, its
    // shadow at 19..26 x 8..15 where the square leaves it uncovered.
    const COLORREF shadow = s.Pixel(26, 15);
    EXPECT_TRUE(DarkShadeOf(shadow, fill)) << std::hex << shadow;
    int wrong = 0;
    for (int y = 5; y <= 16; ++y)
        for (int x = 16; x <= 27; ++x) {
            const bool image = x >= 17 && x <= 24 && y >= 6 && y <= 13;
            const bool shade = x >= 19 && x <= 26 && y >= 8 && y <= 15;
            const COLORREF want = image ? RGB(200, 0, 0) : shade ? shadow : fill;
            if (s.Pixel(x, y) != want) {
                ADD_FAILURE() << "(" << x << ", " << y << ") " << std::hex << s.Pixel(x, y);
                if (++wrong > 5) return;
            }
        }
}

namespace {
constexpr COLORREF kDialogColor = RGB(236, 233, 216);

// A dialog made after the main window, as the program's dialogs are; it
// paints its own background in its colour, as a dialog does.
class LaterDialog : public TestForm {
public:
    HBRUSH brush = CreateSolidBrush(kDialogColor);
    ~LaterDialog() override { DeleteObject(brush); }
    win::GroupBox box;
    win::PushButton ok;
    win::PushButton cancel;
    win::Label rule, text;
    LaterDialog() : TestForm(300, 200) {
        SetText(L"Later dialog");
        // Like a dialog: the background shows through the group box.
        SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) & ~WS_CLIPCHILDREN);
        xpmenu::SetControlColor(Handle(), kDialogColor);
        box.Create(Handle(), L"Options", 10, 10, 200, 100);
        text.Create(box.Handle(), L"Painted by the manager", 10, 30);
        ok.Tag = kTagParentFace;
        ok.Create(Handle(), L"OK", 10, 120, 80, 30);
        cancel.Create(Handle(), L"Cancel", 100, 120, 80, 30);
        rule.Create(Handle(), L"", 10, 170, 200, 2, SS_ETCHEDHORZ);
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_ERASEBKGND) {
            RECT r = ClientRect();
            FillRect((HDC)wp, &r, brush);
            return 1;
        }
        if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
            SetBkColor((HDC)wp, kDialogColor);
            return (LRESULT)brush;
        }
        return TestForm::WndProc(msg, wp, lp);
    }
};
}  // namespace

TEST(XPManager, PaintsFormsThatAppearLaterButNeverOnesWithTheirOwnPainter) {
    win::Sealed<TestForm> mainForm;
    TXPMenu xp(mainForm);
    xp.SetActive(true);
    xp.Loaded();
    auto* m = TXPMenuManager::Instance();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ActivePainter(), &xp);
    EXPECT_TRUE(Contains(m->HandledForms(), &mainForm));

    win::Sealed<TestForm> own;
    TXPMenu ownXp(own);  // inactive, unregistered: still its own form's painter
    win::Sealed<TestForm> exempt;
    exempt.Tag = kTagNotPainted;
    m->QueueForms();
    Pump();
    EXPECT_FALSE(Contains(m->PendingForms(), &own));
    EXPECT_FALSE(Contains(m->HandledForms(), &own));
    EXPECT_FALSE(Contains(m->HandledForms(), &exempt));

    win::Form* gone = nullptr;
    {
        win::Sealed<LaterDialog> dlg;
        gone = &dlg;
        EXPECT_TRUE(Contains(m->PendingForms(), &dlg));
        ShowAtCorner(dlg);
        EXPECT_TRUE(Contains(m->HandledForms(), &dlg));
        EXPECT_TRUE(Hooked(dlg.box));
        EXPECT_TRUE(Hooked(dlg.ok));
        EXPECT_TRUE(Hooked(dlg.rule));
        Repaint(dlg.Handle());
        RECT br{};
        GetClientRect(dlg.box.Handle(), &br);
        // The band above the group box's frame shows the dialog's colour.
        EXPECT_EQ(WindowPixel(dlg.box.Handle(), br.right - 4, 1), kDialogColor);
        // Tag 1000: the button's face is a light tint of its parent's
        // colour, where a button without the tag shows one of the button face.
        RECT okr{};
        GetClientRect(dlg.ok.Handle(), &okr);
        const COLORREF okFace = WindowPixel(dlg.ok.Handle(), 4, okr.bottom / 2),
                       cancelFace = WindowPixel(dlg.cancel.Handle(), 4, okr.bottom / 2);
        EXPECT_TRUE(LightTintOf(okFace, kDialogColor)) << std::hex << okFace;
        EXPECT_TRUE(LightTintOf(cancelFace, GetSysColor(COLOR_BTNFACE))) << std::hex << cancelFace;
        EXPECT_NE(okFace, cancelFace);
        // The etched rule: a darker shade of the dialog's colour over a lighter tint.
        const COLORREF top = WindowPixel(dlg.rule.Handle(), 5, 0, true),
                       bottom = WindowPixel(dlg.rule.Handle(), 5, 1, true);
        EXPECT_TRUE(DarkShadeOf(top, kDialogColor)) << std::hex << top;
        EXPECT_TRUE(LightTintOf(bottom, kDialogColor)) << std::hex << bottom;
        // For screenshots: XPMENU_HOLD_MS keeps the dialog on screen a while.
        if (const char* hold = getenv("XPMENU_HOLD_MS")) {
            DWORD until = GetTickCount() + (DWORD)atoi(hold);
            while (GetTickCount() < until) {
                Pump();
                Sleep(20);
            }
        }
        DestroyWindow(dlg.Handle());
    }
    // A form that goes is forgotten (it was handled until then).
    EXPECT_FALSE(Contains(m->HandledForms(), gone));
    EXPECT_EQ(m->PendingForms().size(), 0u);
}

TEST(XPManager, ClearingActiveUnhooksAndRestoresTheListViewBorder) {
    win::Sealed<TestForm> form;
    SetControlColor(form.Handle(), RGB(100, 150, 200));
    win::ListView lv;
    lv.Create(form.Handle(), 10, 10, 200, 100);
    ShowAtCorner(form);
    TXPMenu xp(form);
    xp.SetActive(true);
    Repaint(lv.Handle());
    HWND h = lv.Handle();
    EXPECT_FALSE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_BORDER);
    // A plain border, a darker shade of the form's colour, all round.
    const COLORREF border = WindowPixel(h, 50, 0, true);
    EXPECT_TRUE(DarkShadeOf(border, RGB(100, 150, 200))) << std::hex << border;
    EXPECT_EQ(WindowPixel(h, 0, 50, true), border);
    EXPECT_NE(WindowPixel(h, 1, 50, true), border);
    EXPECT_EQ(xp.Records().size(), 1u);

    xp.SetActive(false);
    SendMessageW(h, WM_NULL, 0, 0);
    EXPECT_FALSE(TControlSubClass::Of(h));
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(xp.Records().empty());
}

TEST(XPManager, HandOverMovesOtherFormsRecordsToTheNextPainterOrRestoresThem) {
    auto first = std::make_unique<win::Sealed<TestForm>>();
    auto xpFirst = std::make_unique<TXPMenu>(*first);
    xpFirst->SetActive(true);
    xpFirst->Loaded();
    win::Sealed<TestForm> second;
    TXPMenu xpSecond(second);
    xpSecond.SetActive(true);
    xpSecond.Loaded();  // registered, but the first stays the active painter
    auto* m = TXPMenuManager::Instance();
    EXPECT_EQ(m->ActivePainter(), xpFirst.get());

    win::Sealed<LaterDialog> dlg;
    ShowAtCorner(dlg);
    ASSERT_TRUE(Hooked(dlg.ok));
    EXPECT_EQ(TControlSubClass::Of(dlg.ok.Handle())->Painter, xpFirst.get());
    RECT okr{};
    GetClientRect(dlg.ok.Handle(), &okr);
    const COLORREF okFace = WindowPixel(dlg.ok.Handle(), 4, okr.bottom / 2);
    ASSERT_TRUE(LightTintOf(okFace, kDialogColor)) << std::hex << okFace;

    xpFirst.reset();
    EXPECT_EQ(m->ActivePainter(), &xpSecond);
    ASSERT_TRUE(Hooked(dlg.ok));
    EXPECT_EQ(TControlSubClass::Of(dlg.ok.Handle())->Painter, &xpSecond);
    EXPECT_EQ(xpSecond.Records().size(), 4u);  // box, two buttons, rule
    // The moved hooks keep painting: the button looks as before once more.
    {
        win::WindowDC dc(dlg.ok.Handle());
        FillColor(dc, okr, kUnpainted);
    }
    ASSERT_EQ(WindowPixel(dlg.ok.Handle(), 4, okr.bottom / 2), kUnpainted);
    Repaint(dlg.Handle());
    EXPECT_EQ(WindowPixel(dlg.ok.Handle(), 4, okr.bottom / 2), okFace);

    // Without a successor the other forms get their own look back.
    xpSecond.SetActive(false);
    m->HandOver(&xpSecond);
    EXPECT_EQ(m->ActivePainter(), nullptr);
    EXPECT_FALSE(Hooked(dlg.ok));
    EXPECT_FALSE(Hooked(dlg.box));
    first.reset();
}

// A control band: a light tint of the control's colour with a grip of short
// lines on every other row, each darker than the one above.
TEST(XPBand, ABandIsFilledAndGetsAGripOfDarkeningLines) {
    win::Sealed<TestForm> form;
    TXPMenu xp(form);
    xp.RefreshPalette(32);
    win::Bitmap s(40, 30, kUnpainted);
    const COLORREF c = RGB(200, 180, 160);
    xp.PaintBand(s.DC(), {0, 0, 40, 20}, c);
    auto sum = [](COLORREF k) { return GetRValue(k) + GetGValue(k) + GetBValue(k); };
    const COLORREF fill = s.Pixel(20, 10);
    EXPECT_GT(sum(fill), sum(c));
    EXPECT_LT(sum(fill), sum(c) + 3 * 20) << "a light tint, not white";
    // The grip: rows 5, 7, ... 15 at columns 3 to 5; the rows between and
    // the columns beside it show the fill.
    int previous = sum(c) + 1;
    for (int y = 5; y <= 15; y += 2) {
        const COLORREF line = s.Pixel(3, y);
        EXPECT_LT(sum(line), previous) << "row " << y;
        previous = sum(line);
        EXPECT_EQ(s.Pixel(5, y), line) << "row " << y;
        EXPECT_EQ(s.Pixel(2, y), fill) << "row " << y;
        EXPECT_EQ(s.Pixel(6, y), fill) << "row " << y;
        EXPECT_EQ(s.Pixel(3, y + 1), fill) << "row " << y + 1;
    }
    EXPECT_EQ(s.Pixel(3, 3), fill);
    EXPECT_EQ(s.Pixel(3, 17), fill);
    EXPECT_EQ(s.Pixel(3, 25), kUnpainted);  // nothing outside the band
}

// A hooked button whose click destroys it: its record goes while the
// button's own message is still running, and nothing touches it after.
TEST(XPLifetime, AControlDestroyedByItsOwnClickTakesItsRecordAlong) {
    win::Sealed<TestForm> form;
    win::PushButton button;
    button.Create(form.Handle(), L"Go", 10, 10, 75, 23);
    button.OnClick = [&] { DestroyWindow(button.Handle()); };
    ShowAtCorner(form);
    TXPMenu xp(form);
    xp.SetActive(true);
    HWND h = button.Handle();
    ASSERT_TRUE(TControlSubClass::Of(h));
    ASSERT_EQ(xp.Records().size(), 1u);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(IsWindow(h));  // the click ran
    EXPECT_TRUE(xp.Records().empty());
    Pump();
}

// A painter that paints another form's menu and tool bar takes its
// handlers along when it goes; that form's next paint does not reach it.
TEST(XPLifetime, APainterThatGoesLeavesNoHandlerOnOtherForms) {
    auto owner = std::make_unique<win::Sealed<TestForm>>();
    auto xp = std::make_unique<TXPMenu>(*owner);
    xp->SetActive(true);
    xp->Loaded();
    win::Sealed<TestForm> other;
    auto& file = other.Menu().Root.Add(L"&File");
    file.Add(L"Open");
    other.AttachMenu();
    win::Action act;
    win::ImageList images(16, 16);
    win::ToolBar bar;
    bar.Create(other.Handle(), 30, 2, 23, 22);
    bar.SetImages(&images);
    bar.AddButton(act, L"", L"Open", -1);
    ShowAtCorner(other);
    auto* m = TXPMenuManager::Instance();
    ASSERT_TRUE(Contains(m->HandledForms(), &other));
    ASSERT_TRUE((bool)file.Items[0]->OnDrawItem);  // painted by the owner's painter
    ASSERT_TRUE((bool)bar.OnCustomDraw);

    xp.reset();
    EXPECT_FALSE((bool)file.Items[0]->OnDrawItem);
    EXPECT_FALSE((bool)file.Items[0]->OnMeasureItem);
    EXPECT_FALSE((bool)bar.OnCustomDraw);
    // The messages that would have used the painter now find nothing of it.
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, file.Items[0]->Command, 0, 0, (ULONG_PTR)file.Items[0].get()};
    SendMessageW(other.Handle(), WM_MEASUREITEM, 0, (LPARAM)&mis);
    Repaint(bar.Handle());
    owner.reset();
}

TEST(XPButtons, AFocusedButtonGoesBackToItsFocusedLookWhenThePointerLeaves) {
    win::Sealed<TestForm> form;
    win::PushButton ok;
    ok.Create(form.Handle(), L"OK", 40, 40, 75, 25);
    TXPMenu xp(form);
    xp.SetActive(true);
    SetWindowPos(form.Handle(), HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
    ShowWindow(form.Handle(), SW_SHOW);
    SetForegroundWindow(form.Handle());
    SetFocus(ok.Handle());
    POINT away{20, 20}, over{37, 12};  // beside the button, and over it left of its caption
    ClientToScreen(form.Handle(), &away);
    ClientToScreen(ok.Handle(), &over);
    SetCursorPos(away.x, away.y);
    Pump();
    ASSERT_EQ(GetFocus(), ok.Handle());
    auto fill = [&] { return WindowPixel(ok.Handle(), 6, 12); };
    auto edge = [&] { return WindowPixel(ok.Handle(), 0, 12); };
    // Focused: a light tint of the button face inside a light tint of the highlight.
    COLORREF focused = 0, focusEdge = 0;
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        Pump();
        focused = fill();
        focusEdge = edge();
        return LightTintOf(focused, GetSysColor(COLOR_BTNFACE)) && LightTintOf(focusEdge, GetSysColor(COLOR_HIGHLIGHT));
    })) << std::hex << focused << " in " << focusEdge;

    // Hot: lighter still.
    SetCursorPos(over.x, over.y);
    EXPECT_TRUE(testing_support::WaitUntil([&] { Pump(); return LightTintOf(fill(), focused); })) << std::hex << fill();
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(testing_support::WaitUntil([&] { Pump(); return fill() == focused; })) << std::hex << fill();
    EXPECT_EQ(edge(), focusEdge);
}
