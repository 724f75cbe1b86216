#pragma once
#include <windows.h>
#include <commctrl.h>

namespace win {

// Owns a 32-bit image list with masks.
class ImageList {
public:
    ImageList(int width, int height, int initial = 16);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    HIMAGELIST Handle() const { return list_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return ImageList_GetImageCount(list_); }
    // Empties the list and makes its images the given size (for another
    // DPI); the handle changes, so whoever shows the list is given it anew.
    void Reset(int width, int height);
    // Adds a 32-bit top-down bitmap whose alpha channel marks what is drawn
    // (alpha 0 is transparent); the bitmap stays the caller's.
    int AddWithAlpha(HBITMAP bitmap);
    void Draw(HDC dc, int index, int x, int y, UINT style = ILD_NORMAL) const;

private:
    HIMAGELIST list_;
    int width_, height_;
};

}  // namespace win
