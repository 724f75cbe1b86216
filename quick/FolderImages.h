#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

#include "store/Store.h"
#include "win/Gdi.h"

// The folders' icons as menu images, made once each and kept while their
// folders are in the list.
class FolderImages {
public:
    // `back`: the colour the images stand on (the menu's icon column).
    explicit FolderImages(COLORREF back);
    FolderImages(const FolderImages&) = delete;
    FolderImages& operator=(const FolderImages&) = delete;

    // The image for a folder: its own icon when one has been fetched,
    // else the shell's plain folder icon (found without touching a disk).
    HBITMAP Bitmap(const std::wstring& folder, HICON own);
    // Drops the images of folders no longer in the list.
    void Keep(const FolderList& entries);

private:
    COLORREF back_;
    const int size_ = GetSystemMetrics(SM_CXSMICON);  // asked once: a slow call under Wine
    struct Image {
        HICON from;
        win::BitmapHandle bitmap;
    };
    std::unordered_map<std::wstring, Image> images_;
    win::IconHandle plain_;
    win::BitmapHandle plainBitmap_;
};
