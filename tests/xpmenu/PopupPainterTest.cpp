// A standalone popup menu painted by the painter: owner-drawn items, and
// folder icons turned into menu images.
#include <gtest/gtest.h>

#include "xpmenu/XPTestForms.h"
#include "xpmenu/PopupPainter.h"

using namespace xpmenu;

namespace {
// A 16 x 16 icon: an opaque blue square at 4..11, transparent elsewhere.
HICON SquareIcon() {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) px[y * 16 + x] = (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0xFF0000C8 : 0;
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

COLORREF PixelOf(HBITMAP b, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

struct PopupPainter : ::testing::Test {
    win::Sealed<xptest::TestForm> form;
    TXPMenu xp{form};
    TXPPopupPainter popup{xp};
    void SetUp() override { xp.SetActive(true); }
};
}  // namespace

TEST_F(PopupPainter, AnIconBecomesAnImageWithAKeyColouredBorder) {
    HICON icon = SquareIcon();
    const COLORREF back = RGB(10, 200, 30);
    HBITMAP b = MenuBitmapFromIcon(icon, 16, back);
    ASSERT_NE(b, nullptr);
    BITMAP bm{};
    GetObjectW(b, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 18);
    EXPECT_EQ(bm.bmHeight, 18);
    const COLORREF key = ToRGB(KeyColor);
    EXPECT_EQ(PixelOf(b, 0, 17), key);  // the painter takes this corner as transparent
    EXPECT_EQ(PixelOf(b, 17, 0), key);
    EXPECT_EQ(PixelOf(b, 2, 2), key);  // transparent inside the icon too
    COLORREF inside = PixelOf(b, 1 + 6, 1 + 6);
    EXPECT_EQ(inside, RGB(0, 0, 200)) << std::hex << inside;
    DeleteObject(b);
    DestroyIcon(icon);
}

TEST_F(PopupPainter, ItemsAreOwnerDrawnAndAnImageShowsInTheIconColumnOnlyWhenGiven) {
    win::PopupMenu menu;
    HICON icon = SquareIcon();
    HBITMAP image = MenuBitmapFromIcon(icon, 16, xp.PaintColors().IconColumn);
    menu.Root.Add(L"With icon").Bitmap = image;
    menu.Root.Add(L"Without");
    menu.Root.AddSeparator();
    popup.Attach(menu);
    HMENU h = menu.Build();
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(h, i, TRUE, &mii);
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << i;
    }
    SIZE with = popup.Measure(*menu.Root.Items[0]), without = popup.Measure(*menu.Root.Items[1]);
    EXPECT_GE(with.cy, 18 + 6);  // room for the image
    EXPECT_GT(without.cx, 0);
    EXPECT_EQ(popup.Measure(*menu.Root.Items[2]).cy, 4);

    // Painted as Windows asks: the image's square shows in the icon column.
    auto paint = [&](win::MenuItem& item) {
        win::Bitmap s(200, 26, xptest::kUnpainted);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemData = (ULONG_PTR)&item;
        dis.hDC = s.DC();
        dis.rcItem = {4, 0, 200, 26};
        LRESULT r = 0;
        EXPECT_TRUE(menu.HandleMessage(WM_DRAWITEM, 0, (LPARAM)&dis, r));
        return s;
    };
    auto count = [](const win::Bitmap& s, COLORREF c) {
        int n = 0;
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 32; ++x) n += s.Pixel(x, y) == c;
        return n;
    };
    auto a = paint(*menu.Root.Items[0]);
    auto b = paint(*menu.Root.Items[1]);
    // Faded when not lit, so look for strongly blue pixels rather than one colour.
    auto blue = [](COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 120 && GetGValue(c) < 120; };
    int blueA = 0, blueB = 0;
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 32; ++x) {
            blueA += blue(a.Pixel(x, y));
            blueB += blue(b.Pixel(x, y));
        }
    EXPECT_GE(blueA, 40) << "no image in the icon column";
    EXPECT_EQ(blueB, 0);
    EXPECT_EQ(count(a, ToRGB(KeyColor)), 0) << "the key colour was painted";
    DeleteObject(image);
    DestroyIcon(icon);
}
