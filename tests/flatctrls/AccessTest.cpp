// The flat controls as a screen reader, a keyboard user and a user of a
// high-contrast scheme meet them: the object each hands out for
// WM_GETOBJECT against what it shows, the focused square's contrast, and
// the scheme's colours in the painted pixels.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "FlatTest.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"
#include "flatctrls/TFlatEditUnit.h"
#include "flatctrls/TFlatSpeedButtonUnit.h"
#include "support/TestSupport.h"
#include "win/PopupMenu.h"
#include "win/StdControls.h"

using namespace flat;
using flattest::Render;
using flattest::TestForm;

namespace {

// What a screen reader reads of a window's client object, asked the way a
// screen reader asks: WM_GETOBJECT through oleacc.
struct Heard {
    std::wstring name, action, shortcut, value;
    long role = 0, state = 0;
    RECT place{};
    bool ok = false;
};

std::wstring Take(BSTR b) {
    std::wstring s = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
    SysFreeString(b);
    return s;
}

IAccessible* ObjectOf(HWND w) {
    IAccessible* acc = nullptr;
    if (FAILED(AccessibleObjectFromWindow(w, OBJID_CLIENT, __uuidof(IAccessible), (void**)&acc))) return nullptr;
    return acc;
}

Heard Hear(HWND w) {
    Heard h;
    IAccessible* acc = ObjectOf(w);
    if (!acc) return h;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR b = nullptr;
    if (acc->get_accName(self, &b) == S_OK) h.name = Take(b);
    b = nullptr;
    if (acc->get_accDefaultAction(self, &b) == S_OK) h.action = Take(b);
    b = nullptr;
    if (acc->get_accKeyboardShortcut(self, &b) == S_OK) h.shortcut = Take(b);
    b = nullptr;
    if (acc->get_accValue(self, &b) == S_OK) h.value = Take(b);
    VARIANT v;
    VariantInit(&v);
    if (acc->get_accRole(self, &v) == S_OK && v.vt == VT_I4) h.role = v.lVal;
    VariantInit(&v);
    if (acc->get_accState(self, &v) == S_OK && v.vt == VT_I4) h.state = v.lVal;
    long x = 0, y = 0, cx = 0, cy = 0;
    if (acc->accLocation(&x, &y, &cx, &cy, self) == S_OK) h.place = {x, y, x + cx, y + cy};
    acc->Release();
    h.ok = true;
    return h;
}

RECT ScreenClient(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    MapWindowPoints(w, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class ComScope {
public:
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

// The system's colours set for a test and put back after it.
class SchemeColors {
public:
    SchemeColors(std::initializer_list<std::pair<int, COLORREF>> colors) {
        for (auto& [index, color] : colors) {
            indices_.push_back(index);
            saved_.push_back(GetSysColor(index));
            wanted_.push_back(color);
        }
        SetSysColors((int)indices_.size(), indices_.data(), wanted_.data());
    }
    ~SchemeColors() {
        SetSysColors((int)indices_.size(), indices_.data(), saved_.data());
        win::SetHighContrastOverride(-1);
    }

private:
    std::vector<int> indices_;
    std::vector<COLORREF> saved_, wanted_;
};

}  // namespace

TEST(FlatAccess, EachControlTellsWhatItShowsAndFollowsItsState) {
    ComScope com;
    win::Sealed<TestForm> form;
    TFlatButton ok;
    ok.Create(form.Handle(), 10, 150, 65, 25, L"&OK");
    ok.SetDefault(true);
    int clicks = 0;
    ok.OnClick = [&] { ++clicks; };
    TFlatCheckBox box;
    box.Create(form.Handle(), 10, 10, 200, 17, L"Enable preview &image");
    win::Label label;
    label.Create(form.Handle(), L"Alias", 10, 40);
    TFlatEdit edit;
    edit.Create(form.Handle(), 50, 38, 150, 19, L"docs");
    form.ShowActive();

    Heard b = Hear(ok.Handle());
    ASSERT_TRUE(b.ok) << "no object for WM_GETOBJECT";
    EXPECT_EQ(b.name, win::MenuCaptionText(ok.Text()));  // "OK", as painted
    EXPECT_EQ(b.name, L"OK");
    EXPECT_EQ(b.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(b.action, L"Press");
    EXPECT_EQ(b.shortcut, L"Alt+O");
    EXPECT_TRUE(b.state & STATE_SYSTEM_DEFAULT);
    EXPECT_FALSE(b.state & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_UNAVAILABLE));
    // The rest is the standard object's, at the control's place on screen.
    const RECT shown = ScreenClient(ok.Handle());
    EXPECT_TRUE(EqualRect(&b.place, &shown));

    Heard c = Hear(box.Handle());
    EXPECT_EQ(c.name, L"Enable preview image");
    EXPECT_EQ(c.role, ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_EQ(c.action, L"Check");
    EXPECT_EQ(c.shortcut, L"Alt+I");
    EXPECT_FALSE(c.state & STATE_SYSTEM_CHECKED);
    box.SetFocus();
    box.SetChecked(true);
    c = Hear(box.Handle());
    EXPECT_TRUE(c.state & STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(c.state & STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(c.action, L"Uncheck");
    box.SetEnabled(false);
    EXPECT_TRUE(Hear(box.Handle()).state & STATE_SYSTEM_UNAVAILABLE);
    box.SetEnabled(true);

    Heard e = Hear(edit.Handle());
    EXPECT_EQ(e.name, L"Alias");  // its label, as a plain edit is named
    EXPECT_EQ(e.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(e.value, L"docs");
    edit.SetFocus();
    edit.SetText(L"C:\\Data");
    e = Hear(edit.Handle());
    EXPECT_EQ(e.value, L"C:\\Data");
    EXPECT_TRUE(e.state & STATE_SYSTEM_FOCUSED);
    edit.SetReadOnly(true);
    EXPECT_TRUE(Hear(edit.Handle()).state & STATE_SYSTEM_READONLY);

    // The default action does what a click does, after the call returns.
    IAccessible* acc = ObjectOf(ok.Handle());
    ASSERT_NE(acc, nullptr);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    EXPECT_EQ(acc->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        TestForm::Pump();
        return clicks == 1;
    }));
    acc->Release();
    acc = ObjectOf(box.Handle());
    ASSERT_NE(acc, nullptr);
    EXPECT_EQ(acc->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        TestForm::Pump();
        return !box.Checked();
    }));
    // A disabled control does nothing.
    box.SetEnabled(false);
    EXPECT_NE(acc->accDoDefaultAction(self), S_OK);
    acc->Release();
}

// A windowless speed button has no window to ask: its host's object has it
// as a simple child after the host's child windows.
TEST(FlatAccess, AWindowlessButtonIsAChildOfItsHostsObject) {
    ComScope com;
    win::Sealed<TestForm> form;
    win::GroupBox group;
    group.Create(form.Handle(), L"", 8, 8, 291, 100);
    TFlatEdit path;
    path.Create(group.Handle(), 46, 62, 203, 19, L"C:\\");
    TFlatSpeedButton browse;
    browse.Create(group.Handle(), 257, 61, 22, 22, L"...");
    browse.AccessibleName = L"Browse for folder";
    browse.AccessibleShortcut = L"F4";
    int clicks = 0;
    browse.OnClick = [&] { ++clicks; };
    form.ShowActive();

    IAccessible* acc = ObjectOf(group.Handle());
    ASSERT_NE(acc, nullptr);
    long count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    ASSERT_GE(count, 2);  // the edit's window, then the button
    VARIANT id;
    id.vt = VT_I4;
    id.lVal = count;
    IDispatch* child = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(acc->get_accChild(id, &child), S_FALSE);
    EXPECT_EQ(child, nullptr);
    BSTR b = nullptr;
    ASSERT_EQ(acc->get_accName(id, &b), S_OK);
    EXPECT_EQ(Take(b), L"Browse for folder");
    b = nullptr;
    ASSERT_EQ(acc->get_accKeyboardShortcut(id, &b), S_OK);
    EXPECT_EQ(Take(b), L"F4");
    VARIANT v;
    VariantInit(&v);
    ASSERT_EQ(acc->get_accRole(id, &v), S_OK);
    EXPECT_EQ(v.lVal, ROLE_SYSTEM_PUSHBUTTON);
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, id), S_OK);
    POINT at = flattest::ScreenPoint(group.Handle(), 257, 61);
    EXPECT_EQ(x, at.x);
    EXPECT_EQ(y, at.y);
    EXPECT_EQ(w, 22);
    EXPECT_EQ(h, 22);
    VariantInit(&v);
    ASSERT_EQ(acc->accHitTest(x + 11, y + 11, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, count);
    // The edit's window is still the standard object's child, not ours.
    id.lVal = 1;
    b = nullptr;
    if (acc->get_accName(id, &b) == S_OK) {
        EXPECT_NE(Take(b), L"Browse for folder");
    }

    id.lVal = count;
    EXPECT_EQ(acc->accDoDefaultAction(id), S_OK);
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        TestForm::Pump();
        return clicks == 1;
    }));
    browse.SetEnabled(false);
    VariantInit(&v);
    ASSERT_EQ(acc->get_accState(id, &v), S_OK);
    EXPECT_TRUE(v.lVal & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_NE(acc->accDoDefaultAction(id), S_OK);
    acc->Release();
}

TEST(FlatAccess, TheFocusedSquareStandsOutFromTheRestingOne) {
    win::Sealed<TestForm> form;
    TFlatCheckBox box, neighbour;
    box.Create(form.Handle(), 10, 10, 200, 17, L"Ask before removing");
    neighbour.Create(form.Handle(), 10, 40, 200, 17, L"Other");
    form.ShowActive();
    // On the button face and on the main window's light blue tint.
    for (TColor back : {win::clBtnFace, (TColor)RGB(214, 223, 247)}) {
        box.SetColor(back);
        box.SetChecked(true);
        neighbour.SetFocus();
        const RECT sq = box.SquareRect();
        const int cx = sq.left + 1, cy = sq.top + 1;  // inside the frame, off the tick
        const int tx = sq.left + 4, ty = sq.top + 7;  // on the tick's left arm
        auto rest = Render(box.Handle());
        box.SetFocus();
        ASSERT_TRUE(box.HasFocus());
        auto focused = Render(box.Handle());
        const COLORREF a = rest->Pixel(cx, cy), b = focused->Pixel(cx, cy);
        EXPECT_GE(win::ContrastRatio(a, b), 3.0) << std::hex << a << " vs " << b;
        // The tick still reads on the focused fill.
        EXPECT_GE(win::ContrastRatio(focused->Pixel(tx, ty), b), 3.0) << std::hex << focused->Pixel(tx, ty);
        EXPECT_GE(win::ContrastRatio(rest->Pixel(tx, ty), a), 3.0);
    }
}

TEST(FlatAccess, MnemonicsAreUnderlinedOnTheButtons) {
    win::Sealed<TestForm> form;
    TFlatButton marked, plain;
    marked.Create(form.Handle(), 10, 10, 75, 25, L"&OK");
    plain.Create(form.Handle(), 100, 10, 75, 25, L"OK");
    auto a = Render(marked.Handle()), b = Render(plain.Handle());
    // The only difference is a line under the first letter.
    int rows = 0, count = 0, row = -1;
    for (int y = 0; y < 25; ++y) {
        bool any = false;
        for (int x = 0; x < 75; ++x)
            if (a->Pixel(x, y) != b->Pixel(x, y)) {
                any = true;
                ++count;
            }
        if (any) {
            ++rows;
            row = y;
        }
    }
    EXPECT_GE(rows, 1);
    EXPECT_LE(rows, 2);
    EXPECT_GE(count, 4) << "no underline under the O";
    EXPECT_GT(row, 12);  // below the middle, where the letters end
}

TEST(FlatAccess, HighContrastPaintsInTheSystemsColoursOnly) {
    win::Sealed<TestForm> form;
    TFlatButton button;
    button.Create(form.Handle(), 10, 150, 75, 25, L"Cancel");
    button.SetControlFont(flattest::PlainFont(13), true);  // no smoothing: text in one colour
    TFlatCheckBox box;
    box.Create(form.Handle(), 10, 10, 200, 17, L"Explore folder");
    box.SetChecked(true);
    TFlatEdit edit;
    edit.Create(form.Handle(), 10, 40, 150, 19, L"text");
    TFlatCheckBox other;
    other.Create(form.Handle(), 10, 80, 200, 17, L"Other");
    ASSERT_TRUE(flattest::PointerTo({1270, 1010}));  // nothing hot under the pointer
    form.ShowActive();
    other.SetFocus();

    // A scheme like the system's "High Contrast Black": no colour of it is
    // one the controls use of their own.
    const COLORREF face = RGB(0, 0, 0), text = RGB(255, 255, 255), window = RGB(0, 0, 1),
                   windowText = RGB(255, 255, 0), hilite = RGB(26, 235, 255), hiliteText = RGB(0, 0, 2),
                   gray = RGB(63, 242, 63);
    SchemeColors scheme({{COLOR_BTNFACE, face}, {COLOR_BTNTEXT, text}, {COLOR_WINDOW, window},
                         {COLOR_WINDOWTEXT, windowText}, {COLOR_HIGHLIGHT, hilite},
                         {COLOR_HIGHLIGHTTEXT, hiliteText}, {COLOR_GRAYTEXT, gray}});
    // Off, the controls keep their own colours even in these system colours.
    win::SetHighContrastOverride(0);
    auto own = Render(button.Handle());
    EXPECT_EQ(own->Pixel(0, 12), (COLORREF)clFlatBorder);
    win::SetHighContrastOverride(1);

    auto shot = Render(button.Handle());
    EXPECT_EQ(shot->Pixel(0, 12), text);  // frame
    EXPECT_EQ(shot->Pixel(4, 4), face);
    int ink = 0, stray = 0;
    for (int y = 1; y < 24; ++y)
        for (int x = 1; x < 74; ++x) {
            const COLORREF p = shot->Pixel(x, y);
            ink += p == text;
            stray += p != text && p != face;
        }
    EXPECT_GT(ink, 20);  // the caption, in the button text colour
    EXPECT_EQ(stray, 0);
    button.Hovered = true;  // hot: highlighted as a selected item
    shot = Render(button.Handle());
    EXPECT_EQ(shot->Pixel(4, 4), hilite);
    button.Hovered = false;
    button.SetEnabled(false);
    shot = Render(button.Handle());
    EXPECT_EQ(shot->Pixel(0, 12), gray);

    const RECT sq = box.SquareRect();
    shot = Render(box.Handle());
    EXPECT_EQ(shot->Pixel(sq.left, sq.top + 5), windowText);  // frame
    EXPECT_EQ(shot->Pixel(sq.left + 1, sq.top + 1), window);  // fill
    EXPECT_EQ(shot->Pixel(sq.left + 4, sq.top + 7), windowText);  // tick
    box.SetFocus();
    shot = Render(box.Handle());
    EXPECT_EQ(shot->Pixel(sq.left + 1, sq.top + 1), hilite);
    EXPECT_EQ(shot->Pixel(sq.left + 4, sq.top + 7), hiliteText);

    // The edit's text area and frame, as they are on the screen.
    edit.SetFocus();
    other.SetFocus();
    EXPECT_EQ(win::ColorToRGB(edit.BackColor()), window);
    HDC dc = GetWindowDC(edit.Handle());
    EXPECT_EQ(GetPixel(dc, 0, 5), windowText);
    EXPECT_EQ(GetPixel(dc, 1, 5), window);
    ReleaseDC(edit.Handle(), dc);
}
