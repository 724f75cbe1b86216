#include "quick/QuickLook.h"

#include <shellapi.h>

#include <algorithm>
#include <unordered_set>

#include "look/MenuLook.h"
#include "quick/QuickMenu.h"

QuickLook::QuickLook(win::Form& host) : painter_(host), popup_(painter_) {
    ApplyMenuLook(painter_);
    painter_.RefreshPalette(win::WindowDC(nullptr));

    SHFILEINFOW info{};
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        plain_.Reset(info.hIcon);
}

std::vector<int> QuickLook::ItemWidths(const FolderList& entries, HBITMAP image, int& height) {
    win::MenuItem probe;
    probe.Bitmap = image;
    std::vector<int> widths;
    widths.reserve(entries.size());
    height = 1;
    // Windows adds the check-mark and sub-menu margins to owner-drawn widths.
    const int margins = GetSystemMetrics(SM_CXMENUCHECK) + 8;
    win::WindowDC dc(nullptr);
    for (const FolderEntry& e : entries) {
        int w = 0, h = 0;
        if (!e.IsSeparator()) {
            probe.Caption = ItemCaption(e);
            painter_.MeasureMenuItem(probe, dc, w, h);
            height = std::max(height, h);
        }
        widths.push_back(w + margins);
    }
    return widths;
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
