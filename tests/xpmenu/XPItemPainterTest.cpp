#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "xpmenu/XPTestForms.h"
#include "win/ImageList.h"
#include "xpmenu/XPMenu.h"

using namespace xpmenu;

namespace {
constexpr COLORREF kRed = RGB(200, 0, 0);

// A 16 x 16 image: a red square at 4..11, transparent around it.
int AddSquare(win::ImageList& list) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            px[y * 16 + x] = (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0xFFC80000 : 0;
    int index = list.AddWithAlpha(bmp);
    DeleteObject(bmp);
    return index;
}

struct ItemPainter : ::testing::Test {
    win::Sealed<xptest::TestForm> form;
    win::ImageList images{16, 16};
    TXPMenu xp{form};
    win::MenuItem* file = nullptr;
    win::MenuItem *separator, *upItem, *plain, *checked, *radio, *disabledImage, *imageItem;

    void SetUp() override {
        AddSquare(images);
        form.Menu().Images = &images;
        file = &form.Menu().Root.Add(L"&File");
        separator = &file->AddSeparator();
        upItem = &file->Add(L"&Up Item", nullptr, win::kCtrl | 'U');
        upItem->ImageIndex = 0;
        plain = &file->Add(L"Plain");
        checked = &file->Add(L"Checked");
        checked->Checked = true;
        radio = &file->Add(L"Radio");
        radio->Checked = radio->RadioItem = true;
        disabledImage = &file->Add(L"Disabled");
        disabledImage->ImageIndex = 0;
        disabledImage->Enabled = false;
        imageItem = &file->Add(L"Image");
        imageItem->ImageIndex = 0;
        xp.SetActive(true);
        xp.RefreshPalette(32);
    }
    // Paints a drop-down item at (10, 0) - (210, 22).
    void Paint(win::Bitmap& s, win::MenuItem& item, bool selected, int h = 22) {
        xp.PaintMenuItem(item, s.DC(), {10, 0, 210, h}, selected);
    }
    const TPaintColors& C() const { return xp.PaintColors(); }
};
}  // namespace

TEST_F(ItemPainter, ASeparatorMeasuresFourHighWhateverTheFont) {
    HDC dc = GetDC(nullptr);
    int w = 0, h = 0;
    xp.MeasureMenuItem(*separator, dc, w, h);
    EXPECT_EQ(h, 4);
    LOGFONTW big = xp.FontSpec();
    big.lfHeight = -40;
    xp.SetFont(big, clMenuText);
    h = 100;  // assigned, not compared
    xp.MeasureMenuItem(*separator, dc, w, h);
    EXPECT_EQ(h, 4);
    ReleaseDC(nullptr, dc);
}

// Painted at the size it asks for, an item shows its image, caption and
// short-cut whole, the short-cut set apart from the caption.
TEST_F(ItemPainter, AnItemMeasuresRoomForImageCaptionAndShortCut) {
    HDC dc = GetDC(nullptr);
    int w = 0, h = 0;
    xp.MeasureMenuItem(*upItem, dc, w, h);
    ASSERT_GT(w, 24);
    EXPECT_GE(h, 16 + 6);  // the image and a margin
    // The caption and short-cut alone, without the image, ask for less room.
    int plainW = 0, plainH = 0;
    xp.MeasureMenuItem(*plain, dc, plainW, plainH);
    EXPECT_LT(plainW, w);
    // A larger size already asked for stays.
    int bigW = 1000, bigH = 50;
    xp.MeasureMenuItem(*upItem, dc, bigW, bigH);
    EXPECT_EQ(bigW, 1000);
    EXPECT_EQ(bigH, 50);
    ReleaseDC(nullptr, dc);

    win::Bitmap s(w + 20, h + 2, xptest::kUnpainted);
    xp.PaintMenuItem(*upItem, s.DC(), {10, 0, 10 + w, h}, false);
    // Columns right of the icon column with text ink in them.
    std::vector<bool> ink(w + 20, false);
    for (int x = 10 + 24; x < 10 + w; ++x)
        for (int y = 0; y < h; ++y) ink[x] = ink[x] || s.Pixel(x, y) != C().Background;
    int first = -1, last = -1, widestGap = 0;
    for (int x = 10 + 24, gap = 0; x < 10 + w; ++x) {
        if (!ink[x]) {
            ++gap;
            continue;
        }
        if (first < 0) first = x;
        else widestGap = std::max(widestGap, gap);
        last = x;
        gap = 0;
    }
    ASSERT_GT(first, 0) << "no text";
    EXPECT_LT(last, 10 + w - 1) << "the short-cut runs to the edge";
    SIZE wide{};  // the gap is more than a word space: a letter's width at least
    HGDIOBJ old = SelectObject(s.DC(), xp.FontHandle());
    GetTextExtentPoint32W(s.DC(), L"W", 1, &wide);
    SelectObject(s.DC(), old);
    EXPECT_GE(widestGap, wide.cx) << "caption and short-cut run together";
    // The image shows whole in its column.
    int red = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 10; x < 10 + 24; ++x) red += GetRValue(s.Pixel(x, y)) > 150 && GetGValue(s.Pixel(x, y)) < 120;
    EXPECT_EQ(red, 64);
}

TEST_F(ItemPainter, NothingIsMeasuredOrPaintedWhenInactive) {
    xp.SetActive(false);
    win::Bitmap s(220, 30, xptest::kUnpainted);
    Paint(s, *plain, true);
    EXPECT_EQ(s.Pixel(50, 10), RGB(1, 2, 3));
    int w = 0, h = 0;
    HDC dc = GetDC(nullptr);
    xp.MeasureMenuItem(*separator, dc, w, h);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(h, 0);
}

TEST_F(ItemPainter, TheSeparatorLineSitsAtRowTwo) {
    win::Bitmap s(220, 10, xptest::kUnpainted);
    Paint(s, *separator, false, 4);
    EXPECT_EQ(s.Pixel(50, 2), C().Separator);
    EXPECT_EQ(s.Pixel(209, 2), C().Separator);
    EXPECT_EQ(s.Pixel(50, 1), C().Background);
    EXPECT_EQ(s.Pixel(50, 3), C().Background);
    EXPECT_EQ(s.Pixel(40, 2), C().Background);  // the line starts 7 right of the text's left
    EXPECT_EQ(s.Pixel(12, 2), C().IconColumn);
    EXPECT_EQ(s.Pixel(7, 2), C().Background);   // the 4 columns left of the item
    EXPECT_EQ(s.Pixel(5, 2), RGB(1, 2, 3));
}

TEST_F(ItemPainter, ASelectedItemGetsAFilledBoxWithABorder) {
    win::Bitmap s(220, 30, xptest::kUnpainted);
    Paint(s, *plain, true);
    EXPECT_EQ(s.Pixel(205, 5), C().SelectFill);
    EXPECT_EQ(s.Pixel(209, 5), C().SelectBorder);
    EXPECT_EQ(s.Pixel(10, 5), C().SelectBorder);
    EXPECT_EQ(s.Pixel(100, 1), C().SelectBorder);
    EXPECT_EQ(s.Pixel(100, 21), C().SelectBorder);  // bottom edge: the item's last row
    EXPECT_EQ(s.Pixel(205, 20), C().SelectFill);
    EXPECT_EQ(s.Pixel(100, 0), C().Background);
    win::Bitmap n(220, 30, xptest::kUnpainted);
    Paint(n, *plain, false);
    EXPECT_EQ(n.Pixel(205, 5), C().Background);
    EXPECT_EQ(n.Pixel(12, 5), C().IconColumn);
}

TEST_F(ItemPainter, ACheckedItemWithoutImageShowsATenPixelBoxWithABlackTick) {
    win::Bitmap s(220, 30, xptest::kUnpainted);
    Paint(s, *checked, false);
    // Box: icon column 0..24 -> left 7; rows 0..23 -> top 6; surface x + 10.
    EXPECT_EQ(s.Pixel(17, 6), C().CheckMark);
    EXPECT_EQ(s.Pixel(26, 15), C().CheckMark);
    EXPECT_EQ(s.Pixel(27, 10), C().IconColumn);
    EXPECT_EQ(s.Pixel(19, 7), C().CheckFill);
    EXPECT_EQ(s.Pixel(19, 12), RGB(0, 0, 0));  // the tick's first stroke
    win::Bitmap sel(220, 30, xptest::kUnpainted);
    Paint(sel, *checked, true);
    EXPECT_EQ(sel.Pixel(19, 7), C().CheckFillSelected);
}

TEST_F(ItemPainter, ACheckedRadioItemShowsARingAndADot) {
    win::Bitmap s(220, 30, xptest::kUnpainted);
    Paint(s, *radio, false);
    EXPECT_EQ(s.Pixel(21, 10), C().SelectBorder);  // the dot
    bool ring = false, gap = false;
    for (int x = 16; x <= 19; ++x) ring |= s.Pixel(x, 10) == C().SelectBorder;
    for (int x = 17; x <= 20; ++x) gap |= s.Pixel(x, 10) == C().CheckFill;
    EXPECT_TRUE(ring);
    EXPECT_TRUE(gap);
    EXPECT_EQ(s.Pixel(12, 1), C().IconColumn);  // outside the ring
}

TEST_F(ItemPainter, GlyphsAreFadedRaisedOrGreyed) {
    // Glyph at icon column + (24 - 16) div 2 - 1 = 3, row 3; the square at 4..11.
    win::Bitmap normal(220, 30, xptest::kUnpainted);
    Paint(normal, *imageItem, false);
    EXPECT_EQ(normal.Pixel(17, 7), RGB(216, 76, 76));  // faded 30 %, halves rounded to even
    EXPECT_EQ(normal.Pixel(16, 7), C().IconColumn);

    win::Bitmap hot(220, 30, xptest::kUnpainted);
    Paint(hot, *imageItem, true);
    // Lit: the square whole, one up and left at 16..23 x 6..13, over its
    // shadow, a darker shade of the selection, 2 down and right of it.
    const COLORREF fill = hot.Pixel(205, 5), shadow = hot.Pixel(25, 15);
    EXPECT_TRUE(xptest::DarkShadeOf(shadow, fill)) << std::hex << shadow;
    int wrong = 0;
    for (int y = 5; y <= 16; ++y)
        for (int x = 15; x <= 26; ++x) {
            const bool image = x >= 16 && x <= 23 && y >= 6 && y <= 13;
            const bool shade = x >= 18 && x <= 25 && y >= 8 && y <= 15;
            const COLORREF want = image ? kRed : shade ? shadow : fill;
            if (hot.Pixel(x, y) != want && ++wrong <= 5)
                ADD_FAILURE() << "(" << x << ", " << y << ") " << std::hex << hot.Pixel(x, y);
        }

    win::Bitmap off(220, 30, xptest::kUnpainted);
    Paint(off, *disabledImage, true);
    // Grey: (200 + 0 + 0) div 3 + 10 = 76, then 40 % lighter: 148. No box, no shift.
    EXPECT_EQ(off.Pixel(17, 7), RGB(148, 148, 148));
    EXPECT_EQ(off.Pixel(24, 14), RGB(148, 148, 148));
    EXPECT_EQ(off.Pixel(25, 15), C().IconColumn);
    EXPECT_EQ(off.Pixel(205, 5), C().Background);
}

TEST_F(ItemPainter, AnOpenBarItemHasItsShadowEdge) {
    win::Bitmap s(100, 30, xptest::kUnpainted);
    xp.PaintMenuItem(*file, s.DC(), {10, 0, 60, 20}, true);
    // Shadow form on a high-colour screen: border at left, fill, dark edge.
    EXPECT_EQ(s.Pixel(10, 10), C().SelectBorder);
    EXPECT_EQ(s.Pixel(52, 10), C().SelectBorder);  // right border 8 in from the right
    EXPECT_EQ(s.Pixel(51, 10), C().SelectFill);
    EXPECT_EQ(s.Pixel(30, 1), C().SelectFill);
    // The shadow: darker than the bar, darkest next to the box.
    auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_LT(sum(s.Pixel(59, 15)), sum(C().Bar));
    EXPECT_LT(sum(s.Pixel(53, 15)), sum(s.Pixel(56, 15)));
    EXPECT_LT(sum(s.Pixel(56, 15)), sum(s.Pixel(59, 15)));
}

// The gradient runs from the icon column's colour to nearly white: it
// lightens fast over the icon column, then slowly, and then stays.
TEST_F(ItemPainter, AGradientLightensFromTheIconColumnAndLevelsOff) {
    xp.Gradient = true;
    win::Bitmap s(220, 30, xptest::kUnpainted);
    Paint(s, *plain, false);
    auto sum = [&](int x) { return GetRValue(s.Pixel(x, 1)) + GetGValue(s.Pixel(x, 1)) + GetBValue(s.Pixel(x, 1)); };
    const COLORREF icon = C().IconColumn;
    const int start = sum(10), white = 3 * 255;
    EXPECT_LT(start - (GetRValue(icon) + GetGValue(icon) + GetBValue(icon)), (white - start) / 20)
        << "it starts near the icon column's colour";
    for (int x = 11; x < 210; ++x) EXPECT_GE(sum(x), sum(x - 1)) << "darker again at " << x;
    const int overColumn = sum(10 + 28) - sum(10), next = sum(10 + 56) - sum(10 + 28);
    EXPECT_GT(overColumn, 2 * next) << "no faster beside the icon column than after it";
    EXPECT_GT(next, 0) << "it stops at the icon column";
    EXPECT_EQ(s.Pixel(150, 1), s.Pixel(209, 1)) << "it never levels off";
    EXPECT_GT(sum(209), white - 3 * 16);
}

TEST_F(ItemPainter, FewColoursWithSystemColoursGiveAWhiteMenuAndSelection) {
    xp.RefreshPalette(8);
    win::Bitmap s(220, 30, xptest::kUnpainted);
    Paint(s, *plain, true);
    EXPECT_EQ(s.Pixel(205, 5), RGB(255, 255, 255));
    EXPECT_EQ(s.Pixel(209, 5), GetSysColor(COLOR_HIGHLIGHT));
    win::Bitmap n(220, 30, xptest::kUnpainted);
    Paint(n, *imageItem, false);
    EXPECT_EQ(n.Pixel(205, 5), RGB(255, 255, 255));
    EXPECT_EQ(n.Pixel(12, 5), GetSysColor(COLOR_BTNFACE));  // the icon column
    EXPECT_EQ(n.Pixel(17, 7), kRed);  // no fading below 16 bits per pixel
}

TEST_F(ItemPainter, AnOpenBarTitleLiesWholeInsideItsBox) {
    HDC dc = GetDC(nullptr);
    int w = 0, h = 0;
    xp.MeasureMenuItem(*file, dc, w, h);
    ReleaseDC(nullptr, dc);
    ASSERT_GT(w, 0);
    win::Bitmap s(w + 10, h + 2, xptest::kUnpainted);
    xp.PaintMenuItem(*file, s.DC(), {0, 0, w, h}, true);
    // The box's right edge: the last column of its top edge.
    int edge = -1;
    for (int x = 0; x < w; ++x)
        if (s.Pixel(x, 0) == C().SelectBorder) edge = x;
    ASSERT_GT(edge, 0);
    // The title's rightmost ink lies left of the edge, with a column to spare,
    // and no letter runs over the edge.
    int ink = -1;
    for (int y = 1; y < h - 1; ++y) {
        EXPECT_EQ(s.Pixel(edge, y), C().SelectBorder) << "row " << y;
        for (int x = 1; x < edge; ++x)
            if (s.Pixel(x, y) != C().SelectFill && x > ink) ink = x;
    }
    EXPECT_GT(ink, 4);  // the title was drawn
    EXPECT_LT(ink, edge - 1);
}
