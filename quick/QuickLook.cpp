#include "quick/QuickLook.h"

#include <shellapi.h>

#include <algorithm>
#include <unordered_set>

#include "look/MenuLook.h"

QuickLook::QuickLook(win::Form& host) : painter_(host), popup_(painter_) {
    ApplyMenuLook(painter_);
    painter_.RefreshPalette(win::WindowDC(nullptr));

    SHFILEINFOW info{};
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        plain_.Reset(info.hIcon);
}

SIZE QuickLook::LargestItem(const FolderList& entries, HBITMAP image) {
    win::MenuItem probe;
    probe.Bitmap = image;
    SIZE largest{1, 1};
    win::WindowDC dc(nullptr);
    for (const FolderEntry& e : entries) {
        if (e.IsSeparator()) continue;
        probe.Caption = win::EscapeMenuText(e.Alias);
        int w = 0, h = 0;
        painter_.MeasureMenuItem(probe, dc, w, h);
        largest.cx = std::max<LONG>(largest.cx, w);
        largest.cy = std::max<LONG>(largest.cy, h);
    }
    return largest;
}

HBITMAP QuickLook::FolderBitmap(const std::wstring& folder, HICON own) {
    const COLORREF back = painter_.PaintColors().IconColumn;
    const int size = GetSystemMetrics(SM_CXSMICON);
    if (!own) {
        if (!plainBitmap_ && plain_) plainBitmap_.Reset(xpmenu::MenuBitmapFromIcon(plain_, size, back));
        return plainBitmap_;
    }
    auto it = images_.find(folder);
    if (it != images_.end() && it->second.from == own) return it->second.bitmap;
    win::BitmapHandle bitmap(xpmenu::MenuBitmapFromIcon(own, size, back));
    HBITMAP made = bitmap;
    if (it != images_.end())
        it->second = {own, std::move(bitmap)};
    else
        images_.emplace(folder, Image{own, std::move(bitmap)});
    return made;
}

void QuickLook::Keep(const FolderList& entries) {
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
