#include "quick/FolderImages.h"

#include <shellapi.h>

#include <unordered_set>

#include "xpmenu/PopupPainter.h"

FolderImages::FolderImages(COLORREF back) : back_(back) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        plain_.Reset(info.hIcon);
}

HBITMAP FolderImages::Bitmap(const std::wstring& folder, HICON own) {
    if (!own) {
        if (!plainBitmap_ && plain_) plainBitmap_.Reset(xpmenu::MenuBitmapFromIcon(plain_, size_, back_));
        return plainBitmap_;
    }
    auto it = images_.find(folder);
    if (it != images_.end() && it->second.from == own) return it->second.bitmap;
    win::BitmapHandle bitmap(xpmenu::MenuBitmapFromIcon(own, size_, back_));
    HBITMAP made = bitmap;
    if (it != images_.end())
        it->second = {own, std::move(bitmap)};
    else
        images_.emplace(folder, Image{own, std::move(bitmap)});
    return made;
}

void FolderImages::Keep(const FolderList& entries) {
    std::unordered_set<std::wstring> folders;
    for (const FolderEntry& e : entries) folders.insert(e.Path);
    for (auto it = images_.begin(); it != images_.end();) {
        if (folders.count(it->first)) {
            ++it;
        } else {
            it = images_.erase(it);
        }
    }
}
