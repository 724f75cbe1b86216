#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "win/Bitmap.h"
#include "win/Gdi.h"

// An object still selected into a DC cannot be deleted: GetObjectType then
// still knows it. So a handle that is gone was deselected first.
static bool Deleted(HGDIOBJ h) { return GetObjectType(h) == 0; }

TEST(GdiWrappers, ASelectionPutsThePreviousObjectBackSoThatTheOwnerCanDeleteIt) {
    win::MemoryDC dc;
    HGDIOBJ original = GetCurrentObject(dc, OBJ_PEN);
    HPEN raw = nullptr;
    {
        win::Pen pen = win::SolidPen(RGB(255, 0, 0));
        raw = pen;
        win::Selection picked(dc, pen);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), raw);
        // A pen still selected survives an attempt to delete it.
        EXPECT_FALSE(Deleted(raw));
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), original);
    EXPECT_TRUE(Deleted(raw));
}

TEST(GdiWrappers, SelectionsAndSavedStateComeBackWhenThePaintThrows) {
    win::MemoryDC dc(nullptr, 8, 8);
    HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
    COLORREF textBefore = GetTextColor(dc);
    HBRUSH raw = nullptr;
    try {
        win::Brush brush = win::SolidBrush(RGB(0, 0, 255));
        raw = brush;
        win::Selection picked(dc, brush);
        win::SavedDC saved(dc);
        SetTextColor(dc, RGB(1, 2, 3));
        throw std::runtime_error("paint failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
    EXPECT_EQ(GetTextColor(dc), textBefore);
    EXPECT_TRUE(Deleted(raw));
}

TEST(GdiWrappers, AMemoryDCDeselectsItsBitmapBeforeDeletingBothAndMovesOnce) {
    HBITMAP bitmap = nullptr;
    {
        win::MemoryDC first(nullptr, 4, 4);
        bitmap = first.Bitmap();
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(GetCurrentObject(first, OBJ_BITMAP), bitmap);
        win::MemoryDC second = std::move(first);
        EXPECT_EQ(first.Get(), nullptr);
        EXPECT_EQ(second.Bitmap(), bitmap);
        SetPixel(second, 1, 1, RGB(9, 8, 7));
        EXPECT_EQ(GetPixel(second, 1, 1), RGB(9, 8, 7));
    }
    EXPECT_TRUE(Deleted(bitmap));
}

TEST(GdiWrappers, AWindowDCIsReleasedWithItsStateRestored) {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    HDC seen = nullptr;
    {
        win::WindowDC dc(w, win::WindowDC::Whole);
        ASSERT_TRUE((bool)dc);
        seen = dc;
        SetBkMode(dc, TRANSPARENT);
    }
    // Released: a released DC no longer answers for the window.
    EXPECT_EQ(WindowFromDC(seen), nullptr);
    DestroyWindow(w);
}

TEST(Bitmap, FillsMovesAndDrawsWithTheBottomLeftColourLeftOut) {
    win::Bitmap glyph(3, 2, RGB(255, 0, 255));
    glyph.SetPixel(1, 0, RGB(10, 20, 30));
    EXPECT_EQ(glyph.Pixel(0, 0), RGB(255, 0, 255));
    EXPECT_EQ(glyph.Pixel(3, 0), CLR_INVALID);
    win::Bitmap moved = std::move(glyph);
    EXPECT_TRUE(glyph.Empty());
    EXPECT_EQ(moved.Pixel(1, 0), RGB(10, 20, 30));

    win::Bitmap target(3, 2, RGB(1, 1, 1));
    moved.DrawTransparent(target.DC(), 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), RGB(1, 1, 1));
    EXPECT_EQ(target.Pixel(1, 0), RGB(10, 20, 30));
}
