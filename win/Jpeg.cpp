#include "win/Jpeg.h"

#include <csetjmp>
#include <new>
#include <cstdio>

// jpeglib.h wants size_t and FILE declared before it.
#include <jpeglib.h>

namespace win {

namespace {

// libjpeg reports errors through a callback that must not return; the
// decoder jumps back to its setjmp point. No C++ object with a destructor
// lives between the two, so the jump skips nothing.
struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
};

void OnError(j_common_ptr info) { longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

// Warnings mean corrupt data (libjpeg would fill in grey and go on): a
// damaged picture is shown as no picture rather than a half-grey one.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) OnError(info);
}

void Silent(j_common_ptr) {}

// Plain C-style decoding between setjmp and longjmp. Returns the DIB or
// null; *bits receives its pixels.
HBITMAP Decode(const unsigned char* data, unsigned long size, int* width, int* height, BYTE** bits) {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnError;
    error.base.emit_message = OnMessage;
    error.base.output_message = Silent;
    HBITMAP volatile bitmap = nullptr;
    JSAMPLE* volatile row = nullptr;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        if (bitmap) DeleteObject(bitmap);
        delete[] row;
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;  // grey and YCbCr pictures alike
    jpeg_start_decompress(&info);
    const int w = (int)info.output_width, h = (int)info.output_height;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384 || info.output_components != 3) longjmp(error.jump, 1);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) longjmp(error.jump, 1);
    row = new (std::nothrow) JSAMPLE[(size_t)w * 3];
    if (!row) longjmp(error.jump, 1);
    BYTE* out = static_cast<BYTE*>(pixels);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row};
        const unsigned y = info.output_scanline;
        if (jpeg_read_scanlines(&info, rows, 1) != 1) longjmp(error.jump, 1);
        BYTE* dst = out + (size_t)y * w * 4;
        for (int x = 0; x < w; ++x) {
            dst[x * 4 + 0] = row[x * 3 + 2];
            dst[x * 4 + 1] = row[x * 3 + 1];
            dst[x * 4 + 2] = row[x * 3 + 0];
            dst[x * 4 + 3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    delete[] row;
    *width = w;
    *height = h;
    *bits = out;
    return bitmap;
}

}  // namespace

Bitmap DecodeJpeg(const void* data, size_t size) {
    if (!data || size < 4 || size > 0x7fffffff) return {};
    int w = 0, h = 0;
    BYTE* bits = nullptr;
    HBITMAP bitmap = Decode(static_cast<const unsigned char*>(data), (unsigned long)size, &w, &h, &bits);
    if (!bitmap) return {};
    return Bitmap::Adopt(bitmap, w, h, bits);
}

Bitmap LoadJpegResource(HMODULE module, const wchar_t* name) {
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return DecodeJpeg(data, SizeofResource(module, found));
}

}  // namespace win
