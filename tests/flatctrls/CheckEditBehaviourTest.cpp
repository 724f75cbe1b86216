#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "FlatTest.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"
#include "flatctrls/TFlatEditUnit.h"
#include "support/TestSupport.h"
#include "win/Error.h"
#include "win/Notify.h"
#include "win/StdControls.h"

using namespace flat;
using flattest::Click;
using flattest::MoveTo;
using flattest::TestForm;

namespace {
// A plain coloured container, to change a parent's colour under a control.
class Panel : public win::Control {
public:
    void Create(HWND parent) { CreateControl(parent, 0, 0, 300, 150, WS_VISIBLE | WS_CLIPCHILDREN); }
};
}  // namespace

namespace {
int Sum(TColor c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF); }
// a is lighter than b: no channel darker, and some lighter.
bool Lighter(TColor a, TColor b) {
    for (int shift : {0, 8, 16})
        if (((a >> shift) & 0xFF) < ((b >> shift) & 0xFF)) return false;
    return Sum(a) > Sum(b);
}
// The channels keep their order: the same hue, lighter or darker.
bool SameHue(TColor a, TColor b) {
    auto order = [](TColor c) {
        int r = c & 0xFF, g = (c >> 8) & 0xFF, bl = (c >> 16) & 0xFF;
        return ((r > g) - (r < g)) * 9 + ((g > bl) - (g < bl)) * 3 + ((r > bl) - (r < bl));
    };
    return order(a) == order(b);
}
}  // namespace

TEST(FlatCheckBox, OneClickTogglesOnceAndLeavesItFocusedAndHot) {
    win::Sealed<TestForm> form;
    TFlatCheckBox box;
    box.Create(form.Handle(), 10, 10, 145, 17, L"Add a &Separator Line");
    int clicks = 0;
    bool seen = false;
    box.OnClick = [&] {
        ++clicks;
        seen = box.Checked();
    };
    form.ShowActive();
    MoveTo(box.Handle(), 5, 8);
    Click(box.Handle(), 5, 8);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(seen);  // raised after the change
    EXPECT_EQ(GetFocus(), box.Handle());
    EXPECT_TRUE(box.Hovered);
    EXPECT_TRUE(box.HasFocus());

    // The square lights in the focused colour, drawn at once on the window.
    HDC dc = GetDC(box.Handle());
    EXPECT_EQ(GetPixel(dc, 1 + 5, 3 + 9), clWhite);
    ReleaseDC(box.Handle(), dc);

    // Pressed, dragged off and released outside: still a toggle.
    SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    EXPECT_TRUE(box.Pressing());
    POINT away = flattest::ScreenPoint(form.Handle(), 5, 150);
    SetCursorPos(away.x, away.y);
    // The timer that would end the hover has run, more than once.
    const int ticks = TFlatCheckBox::Tracker().Ticks();
    ASSERT_TRUE(testing_support::WaitUntil([&] { return TFlatCheckBox::Tracker().Ticks() >= ticks + 2; }, 3000));
    EXPECT_TRUE(box.Hovered);  // held: the hover cannot end
    SendMessageW(box.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-5, 140));
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

TEST(FlatCheckBox, CheckedFromCodeAndFromTheKeyboard) {
    win::Sealed<TestForm> form;
    TFlatCheckBox box, other;
    box.Create(form.Handle(), 10, 10, 145, 17, L"Ask &before removing");
    other.Create(form.Handle(), 10, 40, 145, 17, L"Other");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);

    form.ShowActive();
    other.SetFocus();
    PostMessageW(other.Handle(), WM_SYSCHAR, 'b', 0x20000000);  // Alt+B from elsewhere
    TestForm::Pump();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(GetFocus(), box.Handle());
    PostMessageW(box.Handle(), WM_CHAR, ' ', 0);
    TestForm::Pump();
    EXPECT_TRUE(box.Checked());
    EXPECT_FALSE(other.Checked());  // Space goes only to the focused box
    EXPECT_EQ(clicks, 3);
}

TEST(FlatCheckBox, DisablingWhileHotStopsTheHover) {
    win::Sealed<TestForm> form;
    TFlatCheckBox box;
    box.Create(form.Handle(), 10, 10, 145, 17, L"Box");
    form.ShowActive();
    SetFocus(form.Handle());
    MoveTo(box.Handle(), 5, 8);
    ASSERT_TRUE(box.Hovered);
    EXPECT_TRUE(TFlatCheckBox::Tracker().TimerRunning());
    box.SetEnabled(false);
    EXPECT_FALSE(box.Hovered);
    EXPECT_FALSE(TFlatCheckBox::Tracker().TimerRunning());
    Click(box.Handle(), 5, 8);  // a disabled box ignores the mouse
    EXPECT_FALSE(box.Checked());
}

TEST(FlatCheckBox, DerivedColoursFollowTheParent) {
    win::Sealed<TestForm> form;
    Panel panel;
    panel.Create(form.Handle());
    TFlatCheckBox box;
    box.Create(panel.Handle(), 10, 10, 145, 17, L"Box");
    box.SetUseAdvColors(true);
    const TColor base = 0x00406080;
    panel.SetColor(base);
    EXPECT_EQ(box.Color(), base);
    // Hot a lighter shade of the parent's colour, the border a darker one.
    EXPECT_TRUE(Lighter(box.ColorFocused(), base)) << std::hex << box.ColorFocused();
    EXPECT_TRUE(Lighter(base, box.ColorBorder())) << std::hex << box.ColorBorder();
    EXPECT_TRUE(SameHue(box.ColorFocused(), base) && SameHue(box.ColorBorder(), base));
    const TColor focused = box.ColorFocused();
    panel.SetColor(0x00204060);
    EXPECT_NE(box.ColorFocused(), focused);
    EXPECT_TRUE(Lighter(box.ColorFocused(), 0x00204060));
    box.SetAdvColorDown(0);  // 0 keeps what is there
    TColor down = box.ColorDown();
    panel.SetColor(0x00102030);
    EXPECT_EQ(box.ColorDown(), down);
}

TEST(FlatEdit, FrameRingsAtRestAndFocused) {
    win::Sealed<TestForm> form;
    TFlatEdit edit;
    edit.Create(form.Handle(), 20, 20, 120, 19, L"text");
    const TColor flat = 0x00C0D0E0;
    edit.SetColorFlat(flat);
    EXPECT_FALSE(edit.ParentColor());
    form.ShowActive();
    SetFocus(form.Handle());
    UpdateWindow(edit.Handle());

    auto rings = [&](COLORREF inner) {
        HDC dc = GetWindowDC(edit.Handle());
        RECT r{};
        GetWindowRect(edit.Handle(), &r);
        int w = r.right - r.left, h = r.bottom - r.top;
        EXPECT_EQ(GetPixel(dc, 0, h / 2), clFlatBorder);
        EXPECT_EQ(GetPixel(dc, w - 1, h / 2), clFlatBorder);
        EXPECT_EQ(GetPixel(dc, w / 2, 0), clFlatBorder);
        EXPECT_EQ(GetPixel(dc, 1, h / 2), inner);
        EXPECT_EQ(GetPixel(dc, 2, h / 2), inner);
        EXPECT_EQ(GetPixel(dc, w - 3, h / 2), inner);
        EXPECT_EQ(GetPixel(dc, w / 2, h - 2), inner);
        EXPECT_EQ(GetPixel(dc, w - 6, 4), inner);  // text area, right of the text
        ReleaseDC(edit.Handle(), dc);
    };
    RECT client = edit.ClientRect();
    RECT outer = edit.Bounds();
    EXPECT_EQ(client.right, (outer.right - outer.left) - 6);  // three pixels each side
    EXPECT_EQ(client.bottom, (outer.bottom - outer.top) - 6);
    rings(flat);
    edit.SetFocus();
    UpdateWindow(edit.Handle());
    EXPECT_EQ(edit.BackColor(), clWhite);
    rings(RGB(255, 255, 255));
    SetFocus(form.Handle());
    UpdateWindow(edit.Handle());
    rings(flat);
}

TEST(FlatEdit, HeightFollowsTheFont) {
    win::Sealed<TestForm> form;
    TFlatEdit edit;
    edit.Create(form.Handle(), 20, 20, 120, 40);
    HFONT font = flattest::PlainFont(13);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    ASSERT_EQ(tm.tmHeight, 13);
    edit.SetControlFont(font);
    RECT r = edit.Bounds();
    EXPECT_EQ(r.bottom - r.top, 19);
    EXPECT_EQ(r.right - r.left, 120);
    edit.SetControlFont(nullptr);
    DeleteObject(font);
}

TEST(FlatEdit, PointerLightsItUnlessAnotherFlatEditHasTheFocus) {
    win::Sealed<TestForm> form;
    TFlatEdit a, b;
    TFlatButton button;
    a.Create(form.Handle(), 10, 10, 120, 19);
    b.Create(form.Handle(), 10, 40, 120, 19);
    button.Create(form.Handle(), 10, 80, 65, 25, L"OK");
    form.ShowActive();
    a.SetFocus();
    MoveTo(b.Handle(), 10, 5);
    EXPECT_TRUE(b.Hovered());
    EXPECT_EQ(b.BackColor(), b.ColorFlat());
    SendMessageW(b.Handle(), WM_MOUSELEAVE, 0, 0);
    button.SetFocus();
    MoveTo(b.Handle(), 10, 5);
    EXPECT_EQ(b.BackColor(), b.ColorFocused());
    // Leaving it with the pointer returns it to the flat look.
    SendMessageW(b.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b.Hovered());
    EXPECT_EQ(b.BackColor(), b.ColorFlat());
    // The focused edit stays lit when the pointer leaves it.
    a.SetFocus();
    SendMessageW(a.Handle(), win::CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(a.BackColor(), a.ColorFocused());
}

TEST(FlatEdit, ParentColourAndDerivedColours) {
    win::Sealed<TestForm> form;
    Panel panel;
    panel.Create(form.Handle());
    TFlatEdit edit;
    edit.Create(panel.Handle(), 10, 10, 120, 19);
    EXPECT_TRUE(edit.ParentColor());
    panel.SetColor(0x00336699);
    EXPECT_EQ(edit.ColorFlat(), 0x00336699u);
    edit.SetColorFlat(0x00FFEEDD);  // switches ParentColor off
    panel.SetColor(0x00112233);
    EXPECT_EQ(edit.ColorFlat(), 0x00FFEEDDu);
    edit.SetParentColor(true);  // copies at once
    EXPECT_EQ(edit.ColorFlat(), 0x00112233u);

    edit.SetUseAdvColors(true);
    panel.SetColor(0x00303030);
    // Focused a lighter grey than the parent's, the border a darker one
    // (on a dark parent: light ones have a cap on the focused shade).
    const TColor focused = edit.ColorFocused(), border = edit.ColorBorder();
    EXPECT_TRUE(Lighter(focused, 0x00303030) && SameHue(focused, 0x00303030)) << std::hex << focused;
    EXPECT_TRUE(Lighter(0x00303030, border) && SameHue(border, 0x00303030)) << std::hex << border;
    // System colours changing: recomputed from the parent again.
    edit.SetColorFlat(clWhite);
    SendMessageW(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(edit.ColorFlat(), 0x00303030u);
    EXPECT_EQ(edit.ColorBorder(), border);
}

TEST(FlatCheckBox, TabMovesThroughBoxesInsideAGroupBox) {
    win::Sealed<TestForm> form;
    win::GroupBox group;
    group.Create(form.Handle(), L"Options", 8, 8, 300, 120);
    TFlatCheckBox first, second;
    first.Create(group.Handle(), 16, 24, 200, 17, L"First");
    second.Create(group.Handle(), 16, 56, 200, 17, L"Second");
    TFlatButton ok;  // not a tab stop
    ok.Create(form.Handle(), 8, 150, 65, 25, L"&OK");
    TFlatEdit edit;
    edit.Create(form.Handle(), 100, 150, 100, 19);
    form.ShowActive();
    first.SetFocus();
    auto tab = [&] {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0);
        TestForm::Pump();
    };
    tab();
    EXPECT_EQ(GetFocus(), second.Handle());
    EXPECT_TRUE(second.HasFocus());
    EXPECT_FALSE(first.HasFocus());
    tab();
    EXPECT_EQ(GetFocus(), edit.Handle());  // the flat button is passed over
    tab();
    EXPECT_EQ(GetFocus(), first.Handle());
}

// Text in any script shows in the edit, not as boxes: the edit draws with a
// font that has every character (its own, or a face linked to it), and what
// it shows is what that font draws.
TEST(FlatEdit, ShowsEveryScriptThroughTheLinkedFaces) {
    win::Sealed<TestForm> form(360, 120);
    form.ShowActive();
    auto ink = [](HDC dc, int w, int h) {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                n += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 200;
            }
        return n;
    };
    auto missing = [](HFONT font, const std::wstring& text) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        std::vector<WORD> glyphs(text.size());
        GetGlyphIndicesW(dc, text.c_str(), (int)text.size(), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(dc, old);
        DeleteDC(dc);
        return std::count(glyphs.begin(), glyphs.end(), (WORD)0xFFFF);
    };
    for (const wchar_t* text : {L"C:\\数据库文件夹", L"Ωμέγα λέξη", L"Жёлтый дом"}) {
        TFlatEdit edit;
        edit.Create(form.Handle(), 10, 10, 300, 19, text);
        UpdateWindow(edit.Handle());
        // The standard edit's own answer, past the control's wrapper.
        auto editProc = (WNDPROC)GetClassLongPtrW(edit.Handle(), GCLP_WNDPROC);
        HFONT drawnWith = (HFONT)CallWindowProcW(editProc, edit.Handle(), WM_GETFONT, 0, 0);
        ASSERT_NE(drawnWith, nullptr);
        EXPECT_EQ(missing(drawnWith, text), 0) << win::Narrow(text);

        RECT c = edit.ClientRect();
        HDC dc = GetDC(edit.Handle());
        int shown = ink(dc, c.right, c.bottom);
        ReleaseDC(edit.Handle(), dc);
        win::Bitmap expected(c.right, c.bottom, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(expected.DC(), drawnWith);
        SetBkMode(expected.DC(), TRANSPARENT);
        ExtTextOutW(expected.DC(), 2, 0, 0, nullptr, text, (UINT)wcslen(text), nullptr);
        SelectObject(expected.DC(), old);
        int drawn = ink(expected.DC(), c.right, c.bottom);
        ASSERT_GT(drawn, 40) << "GDI itself draws nothing for " << win::Narrow(text);
        EXPECT_NEAR(shown, drawn, drawn / 4) << win::Narrow(text);
    }
    // A path mixing scripts that no one linked face has whole: the face
    // that lacks the fewest.
    const std::wstring mixed = L"C:\\数据\\Ωμέγα";
    TFlatEdit both;
    both.Create(form.Handle(), 10, 70, 300, 19, mixed);
    auto bothProc = (WNDPROC)GetClassLongPtrW(both.Handle(), GCLP_WNDPROC);
    EXPECT_LT(missing((HFONT)CallWindowProcW(bothProc, both.Handle(), WM_GETFONT, 0, 0), mixed),
              missing(both.Font(), mixed));
    // Text the control's own font has keeps that font.
    TFlatEdit plain;
    plain.Create(form.Handle(), 10, 40, 300, 19, L"C:\\Plain");
    auto editProc = (WNDPROC)GetClassLongPtrW(plain.Handle(), GCLP_WNDPROC);
    EXPECT_EQ((HFONT)CallWindowProcW(editProc, plain.Handle(), WM_GETFONT, 0, 0), plain.Font());
}
