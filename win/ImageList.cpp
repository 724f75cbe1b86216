#include "win/ImageList.h"

#include <vector>

#include "win/Gdi.h"

namespace win {

ImageList::ImageList(int width, int height, int initial)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, initial, 4)),
      width_(width),
      height_(height) {}

ImageList::~ImageList() {
    if (list_) ImageList_Destroy(list_);
}

void ImageList::Reset(int width, int height) {
    HIMAGELIST next = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, Count(), 4);
    if (list_) ImageList_Destroy(list_);
    list_ = next;
    width_ = width;
    height_ = height;
}

int ImageList::AddWithAlpha(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    // Build the mask from the alpha channel: set bits are transparent.
    int stride = ((bm.bmWidth + 15) / 16) * 2;
    std::vector<BYTE> bits(stride * bm.bmHeight, 0);
    const auto* px = static_cast<const DWORD*>(bm.bmBits);
    for (int y = 0; px && y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            if ((px[y * bm.bmWidth + x] >> 24) == 0) bits[y * stride + x / 8] |= 0x80 >> (x % 8);
    BitmapHandle mask(CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, bits.data()));
    return ImageList_Add(list_, bitmap, mask);
}

void ImageList::Draw(HDC dc, int index, int x, int y, UINT style) const {
    ImageList_Draw(list_, index, dc, x, y, style);
}

}  // namespace win
