#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
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

namespace {
// Where a colour shows in a picture: its bounding box (empty when absent).
struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
    bool Empty() const { return left > right; }
    int CentreX2() const { return left + right; }  // twice the centre, to stay whole
    int CentreY2() const { return top + bottom; }
};
Box Where(const win::Bitmap& b, COLORREF c, RECT area) {
    Box box;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (b.Pixel(x, y) == c) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// A strip of 16 x 16 squares, one colour each; the bottom-left pixel is
// magenta, the transparent colour.
std::unique_ptr<win::Bitmap> Strip(std::initializer_list<COLORREF> colours) {
    auto b = std::make_unique<win::Bitmap>(16 * (int)colours.size(), 16);
    int i = 0;
    for (COLORREF c : colours) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) b->SetPixel(16 * i + x, y, c);
        ++i;
    }
    b->SetPixel(0, 15, RGB(255, 0, 255));
    return b;
}

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0), kCyan = RGB(0, 255, 255);

// A 100 x 40 flat button with a one-square red glyph and a caption.
struct LaidOutButton {
    win::Sealed<TestForm> form;
    TFlatButton button;
    HFONT font = flattest::PlainFont(13);
    explicit LaidOutButton(const std::wstring& caption, bool glyph = true) {
        button.Create(form.Handle(), 10, 10, 100, 40, caption);
        button.SetControlFont(font);
        if (glyph) button.SetGlyph(*Strip({kRed}));
    }
    ~LaidOutButton() { DeleteObject(font); }
    // Glyph and caption as painted, inside the border.
    std::pair<Box, Box> Paint() {
        auto shot = Render(button.Handle());
        const RECT inner{2, 2, 98, 38};
        return {Where(*shot, kRed, inner), Where(*shot, GetSysColor(COLOR_WINDOWTEXT), inner)};
    }
};
}  // namespace

TEST(FlatButtonLayout, GlyphAndCaptionSitWhereTheLayoutPutsThem) {
    {
        LaidOutButton b(L"Browse");  // glyph on top, spacing 4: both centred across
        auto [glyph, text] = b.Paint();
        ASSERT_FALSE(glyph.Empty());
        ASSERT_FALSE(text.Empty());
        EXPECT_EQ(glyph.right - glyph.left, 15);
        EXPECT_EQ(glyph.CentreX2(), 99);  // 42..57 of 100: the same room on both sides
        EXPECT_NEAR(text.CentreX2(), 99, 3);
        EXPECT_LT(glyph.bottom, text.top);
        // The glyph, the spacing and the caption together are centred down.
        EXPECT_NEAR(glyph.top - 0, 39 - text.bottom, 4);
        b.button.SetLayout(blGlyphBottom);
        auto [g2, t2] = b.Paint();
        EXPECT_GT(g2.top, t2.bottom);
        EXPECT_EQ(g2.CentreX2(), 99);
    }
    {
        LaidOutButton b(L"Browse");  // side by side, margin and spacing both free
        b.button.SetLayout(blGlyphLeft);
        b.button.SetSpacing(-1);
        auto [glyph, text] = b.Paint();
        EXPECT_LT(glyph.right, text.left);
        EXPECT_EQ(glyph.CentreY2(), 39);  // centred down: 12..27 of 40
        EXPECT_NEAR(text.CentreY2(), 39, 3);
        // The free room is split in three alike: before, between, after (the
        // last takes the remainder, and the letters' side bearings show as room).
        const int before = glyph.left, between = text.left - glyph.right - 1, after = 99 - text.right;
        EXPECT_NEAR(between, before, 3);
        EXPECT_NEAR(after, before, 6);
    }
    {
        LaidOutButton b(L"Browse");  // glyph on the right, five pixels in
        b.button.SetLayout(blGlyphRight);
        b.button.SetMargin(5);
        b.button.SetSpacing(-1);
        auto [glyph, text] = b.Paint();
        EXPECT_EQ(glyph.right, 100 - 5 - 1);
        EXPECT_LT(text.right, glyph.left);
        EXPECT_NEAR(glyph.left - text.right - 1, text.left, 3);  // the rest split in two
    }
    {
        LaidOutButton b(L"Browse", false);  // a caption alone is centred
        auto [glyph, text] = b.Paint();
        EXPECT_TRUE(glyph.Empty());
        EXPECT_NEAR(text.CentreX2(), 99, 3);
        EXPECT_NEAR(text.CentreY2(), 39, 3);
    }
    {
        LaidOutButton b(L"");  // so is a glyph alone
        auto [glyph, text] = b.Paint();
        EXPECT_TRUE(text.Empty());
        EXPECT_EQ(glyph.CentreX2(), 99);
        EXPECT_EQ(glyph.CentreY2(), 39);
    }
}

// A glyph strip shows one square at a time, picked by the button's state.
TEST(GlyphStrip, EachStateShowsItsSlice) {
    win::Sealed<TestForm> form;
    TFlatButton button;
    button.Create(form.Handle(), 10, 10, 120, 30);
    const RECT inner{2, 2, 118, 28};
    auto shows = [&](COLORREF c) { return !Where(*Render(button.Handle()), c, inner).Empty(); };
    auto only = [&](COLORREF c) {
        auto shot = Render(button.Handle());
        std::string seen;
        for (COLORREF k : {kRed, kGreen, kBlue, kYellow})
            if (!Where(*shot, k, inner).Empty()) seen += k == c ? "+" : "-";
        return seen == "+";
    };

    button.SetGlyph(*Strip({kRed, kGreen, kBlue, kYellow}));
    EXPECT_EQ(button.NumGlyphs(), 4);  // a strip of whole squares: one per square
    EXPECT_TRUE(only(kRed)) << "up";
    EXPECT_EQ(Where(*Render(button.Handle()), kRed, inner).right -
                  Where(*Render(button.Handle()), kRed, inner).left, 15);
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(only(kBlue)) << "pressed";
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
    button.SetGroupIndex(1);
    button.SetDown(true);
    EXPECT_TRUE(only(kYellow)) << "latched";
    button.SetAllowAllUp(true);
    button.SetDown(false);
    button.SetEnabled(false);
    EXPECT_TRUE(only(kGreen)) << "disabled";

    // Fewer squares: a missing state's slice falls back to an earlier one.
    button.SetEnabled(true);
    button.SetGlyph(*Strip({kRed, kGreen, kBlue}));
    EXPECT_EQ(button.NumGlyphs(), 3);
    button.SetDown(true);
    EXPECT_TRUE(only(kBlue)) << "3, latched";
    button.SetDown(false);
    button.SetEnabled(false);
    EXPECT_TRUE(only(kGreen)) << "3, disabled";
    button.SetEnabled(true);
    button.SetGlyph(*Strip({kRed, kGreen}));
    EXPECT_EQ(button.NumGlyphs(), 2);
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(only(kRed)) << "2, pressed";
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
    button.SetDown(true);
    EXPECT_TRUE(only(kRed)) << "2, latched";
    button.SetDown(false);
    button.SetEnabled(false);
    EXPECT_TRUE(only(kGreen)) << "2, disabled";
    button.SetEnabled(true);

    // More than four squares is one picture; a strip of no whole squares
    // keeps the count it had.
    button.SetGlyph(*Strip({kRed, kGreen, kBlue, kYellow, kCyan}));
    EXPECT_EQ(button.NumGlyphs(), 1);
    for (COLORREF c : {kRed, kGreen, kBlue, kYellow, kCyan}) EXPECT_TRUE(shows(c)) << std::hex << c;
    button.SetNumGlyphs(3);
    win::Bitmap odd(50, 16);
    button.SetGlyph(odd);
    EXPECT_EQ(button.NumGlyphs(), 3);
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

// Disabled, the caption is embossed: its letters in the shadow colour over
// a highlight copy one pixel down and right.
TEST(FlatButtonPaint, DisabledCaptionIsEmbossed) {
    win::Sealed<TestForm> form;
    TFlatButton button;
    button.Create(form.Handle(), 10, 10, 60, 25, L"Ab");
    HFONT font = flattest::PlainFont(13);
    button.SetControlFont(font);
    button.SetEnabled(false);
    auto shot = Render(button.Handle());
    EXPECT_EQ(button.State(), ButtonState::Disabled);

    // Where the caption's ink is when the button is enabled.
    button.SetEnabled(true);
    Mask text = PixelsOf(*Render(button.Handle()), GetSysColor(COLOR_WINDOWTEXT), {0, 0, 60, 25});
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
    auto shot = Render(box.Handle());
    // The square against the right edge, none on the left.
    EXPECT_EQ(shot->Pixel(48, 3), clFlatBorder);
    EXPECT_EQ(shot->Pixel(58, 13), clFlatBorder);
    EXPECT_NE(shot->Pixel(1, 3), clFlatBorder);
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
