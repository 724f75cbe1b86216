// The options dialog built in this process: layout, tab order, and what
// OK and Cancel do to AppOptions.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>

#include "app/ModalSteps.h"
#include "app/Global.h"
#include "app/Options.h"
#include "win/Application.h"
#include "win/Error.h"

namespace {

RECT BoundsOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectBounds(HWND w, int x, int y, int width, int height) {
    RECT r = BoundsOf(w);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

// The caption's width on one line in the box's own font.
int CaptionWidth(flat::TFlatCheckBox& box) {
    std::wstring text = box.Text();
    HDC dc = GetDC(box.Handle());
    HGDIOBJ old = SelectObject(dc, box.Font());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(box.Handle(), dc);
    return size.cx;
}

class OptionsFormTest : public ::testing::Test {
protected:
    void SetUp() override { saved = AppOptions; }
    void TearDown() override { AppOptions = saved; }
    TAppOptions saved;
};

}  // namespace

TEST_F(OptionsFormTest, BoxesStartFromTheOptionsInTheirPlacesAndTabOrder) {
    AppOptions = {true, false, true};  // ExploreFolder, AskDelete, EnableImage
    win::Sealed<TfrmOptions> d(nullptr, {});
    EXPECT_EQ(d.Text(), L"Options");
    RECT c = d.ClientRect();
    EXPECT_EQ(c.bottom, 188);
    // A caption longer in the resolved face than its box widens the box to
    // the right, and the group box, the dialog and its right-aligned buttons
    // by as much.
    const int grow = c.right - 340;
    EXPECT_GE(grow, 0);
    EXPECT_TRUE(d.cbExploreFolder.Checked());
    EXPECT_FALSE(d.cbAskDelete.Checked());
    EXPECT_TRUE(d.cbEnableImage.Checked());
    EXPECT_EQ(d.cbEnableImage.Caption(), L"Enable preview image");
    EXPECT_EQ(d.cbExploreFolder.Caption(), L"Explore folder when opening it in a stand alone window");
    EXPECT_EQ(d.cbAskDelete.Caption(), L"Ask before removing a selected item from list");
    ExpectBounds(d.GroupBox1.Handle(), 9, 6, 321 + grow, 131);
    struct Place {
        flat::TFlatCheckBox* box;
        int top, width;
    };
    int widest = 0;
    for (Place p : {Place{&d.cbEnableImage, 24, 209}, Place{&d.cbExploreFolder, 56, 291},
                    Place{&d.cbAskDelete, 88, 257}}) {
        RECT r = BoundsOf(p.box->Handle());
        EXPECT_EQ(r.left, 16);
        EXPECT_EQ(r.top, p.top);
        EXPECT_EQ(r.bottom - r.top, 17);
        EXPECT_GE(r.right - r.left, p.width);
        RECT caption = p.box->CaptionRect();
        EXPECT_LE(CaptionWidth(*p.box), caption.right - caption.left) << "cut: " << r.right - r.left;
        widest = std::max<int>(widest, r.right);
    }
    EXPECT_LE(widest + 14, 321 + grow);  // inside the group box, clear of its frame
    if (grow > 0) {
        EXPECT_EQ(widest + 14, 321 + grow);
    }
    ExpectBounds(d.bOK.Handle(), 168 + grow, 149, 75, 25);
    ExpectBounds(d.bCancel.Handle(), 254 + grow, 149, 75, 25);
    EXPECT_EQ(GetParent(d.cbAskDelete.Handle()), d.GroupBox1.Handle());

    HWND h = d.Handle();
    HWND first = GetNextDlgTabItem(h, nullptr, FALSE);
    EXPECT_EQ(first, d.cbExploreFolder.Handle());
    HWND second = GetNextDlgTabItem(h, first, FALSE);
    EXPECT_EQ(second, d.cbAskDelete.Handle());
    HWND third = GetNextDlgTabItem(h, second, FALSE);
    EXPECT_EQ(third, d.cbEnableImage.Handle());
    EXPECT_EQ(GetNextDlgTabItem(h, third, FALSE), first);  // the buttons are no tab stops
}

TEST_F(OptionsFormTest, OkTakesTheBoxesAndSavesCancelKeepsTheOptions) {
    AppOptions = {false, false, false};
    int saves = 0;
    TAppOptions seenBySave{};
    {
        win::Sealed<TfrmOptions> d(nullptr, [&] {
            ++saves;
            seenBySave = AppOptions;
        });
        d.cbAskDelete.SetChecked(true);
        d.cbEnableImage.SetChecked(true);
        d.bOKClick();
        EXPECT_EQ(d.ModalResult, win::mrOk);
    }
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(seenBySave.AskDelete);  // copied before the save runs
    EXPECT_TRUE(seenBySave.EnableImage);
    EXPECT_FALSE(seenBySave.ExploreFolder);

    // Cancel through the button's own click.
    win::Sealed<TfrmOptions> d(nullptr, [&] { ++saves; });
    d.cbExploreFolder.SetChecked(true);
    d.cbAskDelete.SetChecked(false);
    SendMessageW(d.bCancel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(d.bCancel.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(d.ModalResult, win::mrCancel);
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(AppOptions.ExploreFolder);
    EXPECT_TRUE(AppOptions.AskDelete);
}

TEST_F(OptionsFormTest, AFailedSaveLeavesTheDialogOpenWithTheNewOptions) {
    AppOptions = {false, true, false};
    win::Sealed<TfrmOptions> d(nullptr, [] { throw win::Error(L"Unable to write to X:\\options.ini"); });
    d.cbExploreFolder.SetChecked(true);
    d.cbAskDelete.SetChecked(false);
    EXPECT_THROW(d.bOKClick(), win::Error);
    EXPECT_EQ(d.ModalResult, win::mrNone);
    EXPECT_TRUE(AppOptions.ExploreFolder);
    EXPECT_FALSE(AppOptions.AskDelete);
}

namespace {
using modal_steps::Later;
// Keys as the keyboard gives them to the focused control.
void Press(WPARAM vk) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, vk, 1);
    PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
}
void AltChar(wchar_t ch) { PostMessageW(GetFocus(), WM_SYSCHAR, ch, 0x20000000); }
}  // namespace

// Enter and Escape press nothing; Alt+O and Alt+C press the buttons that
// show them, whichever box has the focus; the buttons take no Tab.
TEST_F(OptionsFormTest, AltOAndAltCPressTheButtonsEnterAndEscapeNothing) {
    AppOptions = {false, false, false};
    int saves = 0;
    {
        win::Sealed<TfrmOptions> d(nullptr, [&] { ++saves; });
        bool stayed = false;
        HWND focused = nullptr;
        Later([&] {
            focused = GetFocus();
            Press(VK_SPACE);  // toggles the focused box
            Press(VK_RETURN);
            Press(VK_ESCAPE);
            Later([&] {
                stayed = d.ModalResult == win::mrNone && IsWindowVisible(d.Handle());
                AltChar(L'o');
            });
        });
        EXPECT_EQ(d.ShowModal(), win::mrOk);
        EXPECT_TRUE(stayed) << "Enter or Escape closed the dialog";
        EXPECT_EQ(focused, d.cbExploreFolder.Handle());
        EXPECT_EQ(saves, 1);
        EXPECT_TRUE(AppOptions.ExploreFolder);  // the box Space toggled, stored by OK
    }
    {
        win::Sealed<TfrmOptions> d(nullptr, [&] { ++saves; });
        Later([&] {
            SetFocus(d.cbEnableImage.Handle());
            AltChar(L'C');
        });
        EXPECT_EQ(d.ShowModal(), win::mrCancel);
        EXPECT_EQ(saves, 1);
        EXPECT_FALSE(d.bOK.TabStop());
        EXPECT_FALSE(d.bCancel.TabStop());
    }
}
