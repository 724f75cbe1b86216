#pragma once
#include <windows.h>

#include <cstddef>

#include "win/Bitmap.h"

namespace win {

// Decodes JPEG bytes with libjpeg. Corrupt or truncated data, even data
// that libjpeg would only warn about, gives an empty picture.
// The picture is a win::Bitmap: 32 bits, top-down.
Bitmap DecodeJpeg(const void* data, size_t size);

// Decodes an RT_RCDATA resource of a module; empty when it is missing.
Bitmap LoadJpegResource(HMODULE module, const wchar_t* name);

}  // namespace win
