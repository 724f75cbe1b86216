// The options dialog built in this process: layout, tab order, and what
// OK and Cancel do to AppOptions.
#include <gtest/gtest.h>

#include <windows.h>

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
    EXPECT_EQ(c.right, 340);
    EXPECT_EQ(c.bottom, 188);
    EXPECT_TRUE(d.cbExploreFolder.Checked());
    EXPECT_FALSE(d.cbAskDelete.Checked());
    EXPECT_TRUE(d.cbEnableImage.Checked());
    EXPECT_EQ(d.cbEnableImage.Caption(), L"Enable preview image");
    EXPECT_EQ(d.cbExploreFolder.Caption(), L"Explore folder when opening it in a stand alone window");
    EXPECT_EQ(d.cbAskDelete.Caption(), L"Ask before removing a selected item from list");
    ExpectBounds(d.GroupBox1.Handle(), 9, 6, 321, 131);
    ExpectBounds(d.cbEnableImage.Handle(), 16, 24, 209, 17);
    ExpectBounds(d.cbExploreFolder.Handle(), 16, 56, 291, 17);
    ExpectBounds(d.cbAskDelete.Handle(), 16, 88, 257, 17);
    ExpectBounds(d.bOK.Handle(), 168, 149, 75, 25);
    ExpectBounds(d.bCancel.Handle(), 254, 149, 75, 25);
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
