// Moving a form between scales: children the layout placed go back to their
// own 96-DPI places scaled, children the program moved since keep their
// share, and neither drifts over a round trip.
#include <gtest/gtest.h>

#include "win/Application.h"
#include "win/Dpi.h"
#include "win/Form.h"
#include "win/StdControls.h"

namespace {

class DpiForm : public win::Form {
public:
    DpiForm() {
        CreateForm(L"WinDpiTestForm", L"Scale", 300, 200, WS_POPUP | WS_CAPTION, nullptr, true);
        group.Create(Handle(), L"Group", 10, 10, 200, 100);
        placed.Create(group.Handle(), L"Placed", 7, 21, 101, 13);
        moved.Create(Handle(), L"Moved", 0, 0, 50, 20);
    }
    win::GroupBox group;
    win::PushButton placed, moved;
};

RECT At(const win::Window& w) { return w.Bounds(); }

TEST(Dpi, ChildrenFollowTheFormsScaleAndComeBackWhereTheyWere) {
    win::Sealed<DpiForm> form;
    const UINT dpi = form.Dpi();
    EXPECT_EQ(dpi, win::SystemDpi());
    RECT expected = win::ScaleRect({7, 21, 108, 34}, 96, dpi);
    RECT placed = At(form.placed);
    EXPECT_TRUE(EqualRect(&placed, &expected));
    // Moved by the program in the window's pixels: an odd place that a
    // scale of 1.25 cannot keep exactly.
    form.moved.SetBounds(33, 17, 51, 23);
    const RECT moved = At(form.moved);

    for (UINT other : {120u, 144u, 192u, 96u}) {
        if (other == dpi) continue;
        form.ApplyDpi(other, nullptr);
        EXPECT_EQ(form.Dpi(), other);
        EXPECT_EQ(win::DpiOf(form.placed.Handle()), other);  // inside the group box too
        RECT now = At(form.placed), want = win::ScaleRect({7, 21, 108, 34}, 96, other);
        EXPECT_TRUE(EqualRect(&now, &want)) << other;
        RECT share = At(form.moved), wantShare = win::ScaleRect(moved, dpi, other);
        EXPECT_NEAR(share.left, wantShare.left, 1) << other;
        EXPECT_NEAR(share.right, wantShare.right, 1) << other;
        LOGFONTW lf{};
        GetObjectW(form.Font(), sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, -MulDiv(8, (int)other, 72));
        // Standard controls inside the group box hold the new font, not a deleted one.
        EXPECT_EQ((HFONT)SendMessageW(form.placed.Handle(), WM_GETFONT, 0, 0), form.Font());
    }
    form.ApplyDpi(dpi, nullptr);
    RECT back = At(form.placed), movedBack = At(form.moved);
    EXPECT_TRUE(EqualRect(&back, &placed));
    EXPECT_TRUE(EqualRect(&movedBack, &moved));
}

}  // namespace
