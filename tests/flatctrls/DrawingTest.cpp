#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "FlatTest.h"
#include "flatctrls/FlatUtilitys.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"

using namespace flat;
using flattest::Render;
using flattest::TestForm;

namespace {
constexpr COLORREF kTop = RGB(255, 0, 0), kBottom = RGB(0, 0, 255), kBack = RGB(0, 255, 0);

std::unique_ptr<win::Bitmap> Filled(int w, int h, COLORREF c) {
    auto b = std::make_unique<win::Bitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, c);
    return b;
}

using Mask = std::set<std::pair<int, int>>;
Mask PixelsOf(const win::Bitmap& b, COLORREF c, RECT area) {
    Mask m;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (b.Pixel(x, y) == c) m.insert({x, y});
    return m;
}
Mask Shifted(const Mask& m, int dx, int dy) {
    Mask out;
    for (auto [x, y] : m) out.insert({x + dx, y + dy});
    return out;
}
}  // namespace

TEST(DrawBevelFrame, OnePixelRectTakesTheBottomColour) {
    auto b = Filled(3, 3, kBack);
    {
        win::Canvas c(b->DC());
        DrawBevelFrame(c, RECT{1, 1, 2, 2}, kTop, kBottom, 1);
    }
    EXPECT_EQ(b->Pixel(1, 1), kBottom);
    EXPECT_EQ(b->Pixel(0, 0), kBack);
    EXPECT_EQ(b->Pixel(2, 2), kBack);
    EXPECT_EQ(b->Pixel(0, 1), kBack);
}

TEST(DrawBevelFrame, RingsAndCorners) {
    auto b = Filled(6, 5, kBack);
    {
        win::Canvas c(b->DC());
        DrawBevelFrame(c, RECT{0, 0, 6, 5}, kTop, kBottom, 2);
    }
    // Outer ring: left column and top row in the top colour, except the
    // bottom-left and top-right corners; right column and bottom row bottom.
    for (int y = 0; y < 4; ++y) EXPECT_EQ(b->Pixel(0, y), kTop) << y;
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b->Pixel(x, 0), kTop) << x;
    for (int y = 0; y < 5; ++y) EXPECT_EQ(b->Pixel(5, y), kBottom) << y;
    for (int x = 0; x < 6; ++x) EXPECT_EQ(b->Pixel(x, 4), kBottom) << x;
    // Second ring on (1,1)-(4,3).
    EXPECT_EQ(b->Pixel(1, 1), kTop);
    EXPECT_EQ(b->Pixel(1, 2), kTop);
    EXPECT_EQ(b->Pixel(3, 1), kTop);
    EXPECT_EQ(b->Pixel(4, 1), kBottom);
    EXPECT_EQ(b->Pixel(1, 3), kBottom);
    EXPECT_EQ(b->Pixel(4, 3), kBottom);
    EXPECT_EQ(b->Pixel(2, 2), kBack);  // inside both rings
    // Width 0 draws nothing.
    auto none = Filled(4, 4, kBack);
    {
        win::Canvas c(none->DC());
        DrawBevelFrame(c, RECT{0, 0, 4, 4}, kTop, kBottom, 0);
    }
    EXPECT_TRUE(PixelsOf(*none, kBack, {0, 0, 4, 4}).size() == 16);
}

TEST(LayoutGlyphAndText, CentresAndSplitsTheFreeSpace) {
    win::Bitmap surface(100, 40);
    win::Canvas canvas(surface.DC());
    HFONT font = flattest::PlainFont(13);
    canvas.SetFont(font);
    RECT measured{0, 0, 100, 0};
    canvas.DrawText(L"Browse", measured, DT_CALCRECT | DT_SINGLELINE);
    const int tw = measured.right, th = measured.bottom;
    const RECT client{0, 0, 100, 40};

    // No glyph, defaults margin -1 and spacing 4: spacing drops to 0, centred.
    GlyphLayout a = LayoutGlyphAndText(canvas, client, {0, 0}, blGlyphTop, 4, -1, nullptr, 1, L"Browse");
    EXPECT_EQ(a.captionRect.left, (100 - tw + 1) / 2);
    EXPECT_EQ(a.captionRect.top, (40 - th + 1) / 2);
    EXPECT_EQ(a.captionRect.right - a.captionRect.left, tw);

    // Glyph and caption side by side, both -1: thirds, remainders dropped.
    win::Bitmap glyph(32, 16);  // two slices of 16
    GlyphLayout b = LayoutGlyphAndText(canvas, client, {0, 0}, blGlyphLeft, -1, -1, &glyph, 2, L"Browse");
    const int third = (100 - (16 + tw)) / 3;
    EXPECT_EQ(b.glyphOrigin.x, third);
    EXPECT_EQ(b.glyphOrigin.y, (40 - 16 + 1) / 2);
    EXPECT_EQ(b.captionRect.left, third + 16 + third);

    // Glyph on the right with a fixed margin and computed spacing.
    GlyphLayout c = LayoutGlyphAndText(canvas, client, {0, 0}, blGlyphRight, -1, 5, &glyph, 2, L"Browse");
    EXPECT_EQ(c.glyphOrigin.x, 100 - 5 - 16);
    const int spacing = (100 - (5 + 16) - tw) / 2;
    EXPECT_EQ(c.captionRect.left, c.glyphOrigin.x - spacing - tw);

    // Glyph alone: centred with spacing 0; empty caption rectangle at the text position.
    GlyphLayout d = LayoutGlyphAndText(canvas, client, {1, 1}, blGlyphBottom, 4, -1, &glyph, 2, L"");
    const int margin = (40 - 16 + 1) / 2;
    EXPECT_EQ(d.glyphOrigin.x, (100 - 16 + 1) / 2 + 1);
    EXPECT_EQ(d.glyphOrigin.y, 40 - margin - 16 + 1);
    EXPECT_EQ(d.captionRect.right - d.captionRect.left, 0);
    EXPECT_EQ(d.captionRect.top, d.glyphOrigin.y);  // text position: glyph top - spacing 0 - 0
    DeleteObject(font);
}

TEST(GlyphStrip, SlicesAndGlyphCount) {
    EXPECT_EQ(NumGlyphsFor(win::Bitmap(64, 16), 1), 4);
    EXPECT_EQ(NumGlyphsFor(win::Bitmap(80, 16), 3), 1);
    EXPECT_EQ(NumGlyphsFor(win::Bitmap(50, 16), 3), 3);
    EXPECT_EQ(NumGlyphsFor(win::Bitmap(), 2), 2);
    const ButtonState up = ButtonState::Up, dis = ButtonState::Disabled, pr = ButtonState::Pressed,
                      la = ButtonState::Latched;
    EXPECT_EQ(GlyphSliceIndex(1, dis), 0);
    EXPECT_EQ(GlyphSliceIndex(2, dis), 1);
    EXPECT_EQ(GlyphSliceIndex(2, pr), 0);
    EXPECT_EQ(GlyphSliceIndex(3, la), 2);
    EXPECT_EQ(GlyphSliceIndex(4, la), 3);
    EXPECT_EQ(GlyphSliceIndex(4, up), 0);
    win::Bitmap strip(50, 16);
    RECT last = GlyphSliceRect(strip, 3, 2);
    EXPECT_EQ(last.left, 32);
    EXPECT_EQ(last.right, 50);  // the last slice runs to the right edge
}

TEST(GlyphStrip, DisabledGlyphIsEmbossedOnlyWithOneSlice) {
    const COLORREF magenta = RGB(255, 0, 255), red = RGB(255, 0, 0), green = RGB(0, 128, 0);
    // One slice: a black pixel becomes shadow with highlight down-right.
    auto image = Filled(4, 4, RGB(255, 255, 255));
    image->SetPixel(1, 1, 0);
    auto emb = MakeDisabledGlyph(*image, clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
    EXPECT_EQ(emb->Pixel(1, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(emb->Pixel(2, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(emb->Pixel(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(emb->Pixel(3, 3), GetSysColor(COLOR_BTNFACE));

    // Two slices: disabled draws slice 1 as it is; the bottom-left colour is left out.
    win::Bitmap strip(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) strip.SetPixel(x, y, x < 4 ? red : green);
    strip.SetPixel(0, 3, magenta);
    strip.SetPixel(4, 3, magenta);
    auto dest = Filled(6, 6, kBack);
    DrawGlyph(dest->DC(), strip, 2, ButtonState::Disabled, {1, 1});
    EXPECT_EQ(dest->Pixel(1, 1), green);
    EXPECT_EQ(dest->Pixel(4, 3), green);
    EXPECT_EQ(dest->Pixel(1, 4), kBack);  // transparent pixel
    EXPECT_EQ(dest->Pixel(0, 0), kBack);
    DrawGlyph(dest->DC(), strip, 2, ButtonState::Up, {1, 1});
    EXPECT_EQ(dest->Pixel(1, 1), red);
}

TEST(GlyphStrip, MonochromePictureEmbossesItsBlackPixels) {
    // 8 x 2, one word per row: row 0 has bits 0 (black) at x = 2 and 5.
    const WORD rows[2] = {0x00DB, 0x00FF};  // first byte = x 0..7, high bit first
    HBITMAP mono = CreateBitmap(8, 2, 1, 1, rows);
    TFlatButton holder;  // the glyph is copied into the button's own picture
    holder.SetGlyph(mono);
    DeleteObject(mono);
    const win::Bitmap& g = holder.Glyph();
    ASSERT_EQ(g.Width(), 8);
    EXPECT_EQ(holder.NumGlyphs(), 4);  // 8 x 2: a whole multiple of the height
    EXPECT_EQ(g.Pixel(2, 0), 0u);
    EXPECT_EQ(g.Pixel(5, 0), 0u);
    EXPECT_EQ(g.Pixel(3, 0), 0xFFFFFFu);
    auto emb = MakeDisabledGlyph(g, clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
    EXPECT_EQ(emb->Pixel(2, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(emb->Pixel(3, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(emb->Pixel(3, 0), GetSysColor(COLOR_BTNFACE));
}

TEST(FlatButtonPaint, DisabledCaptionIsDrawnTwice) {
    win::Sealed<TestForm> form;
    TFlatButton button;
    button.Create(form.Handle(), 10, 10, 60, 25, L"Ab");
    HFONT font = flattest::PlainFont(13);
    button.SetControlFont(font);
    button.SetEnabled(false);
    auto shot = Render(button.Handle());
    EXPECT_EQ(button.State(), ButtonState::Disabled);

    // Where the caption alone would put its pixels.
    RECT cap = button.LastLayout().captionRect;
    auto ref = Filled(60, 25, RGB(255, 255, 255));
    {
        win::Canvas c(ref->DC());
        c.SetFont(font);
        c.SetClearBrush();
        c.SetFontColor(clBlack);
        c.DrawText(L"Ab", cap, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    Mask text = PixelsOf(*ref, RGB(0, 0, 0), {0, 0, 60, 25});
    ASSERT_GT(text.size(), 10u);
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                   light = GetSysColor(COLOR_BTNHIGHLIGHT);
    int mismatches = 0;
    for (int y = 1; y < 24; ++y)
        for (int x = 1; x < 59; ++x) {
            COLORREF want = text.count({x, y}) ? shadow : text.count({x - 1, y - 1}) ? light : face;
            if (shot->Pixel(x, y) != want) ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
    // The border of a disabled button: one ring of ColorBorder.
    EXPECT_EQ(shot->Pixel(0, 5), clFlatBorder);
    EXPECT_EQ(shot->Pixel(59, 5), clFlatBorder);
    EXPECT_EQ(shot->Pixel(1, 5), face);
    DeleteObject(font);
}

TEST(FlatButtonPaint, PressedMovesGlyphAndCaptionOneDownRight) {
    win::Sealed<TestForm> form;
    TFlatButton button;
    button.Create(form.Handle(), 10, 10, 60, 44, L"Go");
    HFONT font = flattest::PlainFont(13);
    button.SetControlFont(font);
    const COLORREF red = RGB(255, 0, 0), magenta = RGB(255, 0, 255);
    auto glyph = Filled(8, 8, red);
    glyph->SetPixel(0, 7, magenta);
    button.SetGlyph(*glyph);
    EXPECT_EQ(button.NumGlyphs(), 1);

    const RECT inner{2, 2, 58, 42};
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    auto up = Render(button.Handle());
    Mask upGlyph = PixelsOf(*up, red, inner), upText = PixelsOf(*up, ink, inner);
    ASSERT_EQ(upGlyph.size(), 63u);  // all but the transparent pixel
    ASSERT_GT(upText.size(), 5u);
    EXPECT_TRUE(PixelsOf(*up, magenta, inner).empty());

    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(button.State(), ButtonState::Pressed);
    auto down = Render(button.Handle());
    EXPECT_EQ(PixelsOf(*down, red, inner), Shifted(upGlyph, 1, 1));
    EXPECT_EQ(PixelsOf(*down, ink, inner), Shifted(upText, 1, 1));
    // The sunk bevel: shadow on top and left, highlight on the bottom and right.
    EXPECT_EQ(down->Pixel(0, 10), 0u);
    EXPECT_EQ(down->Pixel(59, 10), 0xFFFFFFu);
    EXPECT_EQ(down->Pixel(30, 2), clFlatDown);  // pressed face
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
    DeleteObject(font);
}

TEST(FlatButtonPaint, DefaultBorderAndTransparentFace) {
    win::Sealed<TestForm> form;
    TFlatButton button;
    button.Create(form.Handle(), 10, 10, 40, 20);
    button.SetDefault(true);
    auto shot = Render(button.Handle());
    EXPECT_EQ(shot->Pixel(0, 10), clFlatBorder);
    EXPECT_EQ(shot->Pixel(1, 10), clFlatBorder);  // two-pixel border
    EXPECT_EQ(shot->Pixel(2, 10), GetSysColor(COLOR_BTNFACE));
    button.Hovered = true;  // hot: the raised one-pixel bevel instead
    shot = Render(button.Handle());
    EXPECT_EQ(shot->Pixel(0, 10), 0xFFFFFFu);
    EXPECT_EQ(shot->Pixel(39, 10), 0u);
    EXPECT_EQ(shot->Pixel(1, 10), clFlatFace);  // ColorFocused
    button.Hovered = false;

    // tmAlways: the face is the parent's copied look (here a colour the
    // button itself never uses).
    button.SetColor(RGB(1, 2, 3));
    button.SetTransparentMode(tmAlways);
    shot = Render(button.Handle());
    EXPECT_EQ(shot->Pixel(10, 10), GetSysColor(COLOR_BTNFACE));
}

TEST(FlatCheckBoxPaint, TickAtItsExactStrokes) {
    win::Sealed<TestForm> form;
    TFlatCheckBox box;
    box.Create(form.Handle(), 8, 8, 121, 17, L"");
    box.SetChecked(true);
    auto shot = Render(box.Handle());
    const std::set<std::pair<int, int>> tick = {
        {2, 4}, {3, 5}, {4, 6}, {5, 7},  // (2,4)->(6,8)
        {2, 5}, {3, 6}, {4, 7},          // (2,5)->(5,8)
        {2, 6}, {3, 7}, {4, 8},          // (2,6)->(5,9)
        {8, 2}, {7, 3}, {6, 4}, {5, 5},  // (8,2)->(4,6)
        {8, 3}, {7, 4}, {6, 5}, {5, 6},  // (8,3)->(4,7)
        {8, 4}, {7, 5}, {6, 6},          // (8,4)->(5,7)
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int wrong = 0;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x) {
            bool edge = x == 0 || y == 0 || x == 10 || y == 10;
            COLORREF want = edge ? clFlatBorder : tick.count({x, y}) ? clBlack : face;
            if (shot->Pixel(1 + x, 3 + y) != want) {
                ++wrong;
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    EXPECT_EQ(wrong, 0);
    // Outside the square nothing of it shows.
    EXPECT_EQ(shot->Pixel(0, 8), face);
    EXPECT_EQ(shot->Pixel(12, 8), face);
    EXPECT_EQ(shot->Pixel(5, 2), face);

    // Disabled: the tick in the shadow colour.
    box.SetEnabled(false);
    shot = Render(box.Handle());
    EXPECT_EQ(shot->Pixel(1 + 2, 3 + 4), GetSysColor(COLOR_BTNSHADOW));
}

TEST(FlatCheckBoxPaint, RightLayoutAndWrappedCaption) {
    win::Sealed<TestForm> form;
    TFlatCheckBox box;
    box.Create(form.Handle(), 8, 8, 60, 40, L"A caption far longer than the box");
    HFONT font = flattest::PlainFont(13);
    box.SetControlFont(font);
    box.SetLayout(checkboxRight);
    RECT sq = box.SquareRect();
    EXPECT_EQ(sq.left, 60 - 12);
    EXPECT_EQ(sq.right, 60 - 1);
    auto shot = Render(box.Handle());
    EXPECT_EQ(shot->Pixel(48, 3), clFlatBorder);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    // Text on several lines, all of it left of x = 60 - 16.
    int lines = 0, rightmost = -1;
    for (int y = 0; y < 40; ++y) {
        bool any = false;
        for (int x = 0; x < 60 - 12; ++x)
            if (shot->Pixel(x, y) == ink) {
                any = true;
                rightmost = std::max(rightmost, x);
            }
        lines += any;
    }
    EXPECT_GT(lines, 13);  // more than one line of a 13-pixel font
    EXPECT_LT(rightmost, 60 - 16);
    DeleteObject(font);
}
