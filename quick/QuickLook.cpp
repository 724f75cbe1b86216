#include "quick/QuickLook.h"

#include <shellapi.h>

#include <algorithm>
#include <unordered_set>

QuickLook::QuickLook(win::Form& host) : painter_(host), popup_(painter_) {
    using namespace xpmenu;
    // The manager's menu look, setting for setting.
    painter_.DimLevel = 30;
    painter_.GrayLevel = 10;
    LOGFONTW font = painter_.FontSpec();
    font.lfHeight = -12;
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = font.lfUnderline = font.lfStrikeOut = 0;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"宋体", LF_FACESIZE);
    painter_.SetFont(font, clMenuText);
    painter_.SetColor(clBtnFace);
    painter_.SetIconBackColor(clBtnFace);
    painter_.SetMenuBarColor(clBtnFace);
    painter_.SetSelectColor(clHighlight);
    painter_.SetSelectBorderColor(clHighlight);
    painter_.SetSelectFontColor(clMenuText);
    painter_.SetDisabledColor(clInactiveCaption);
    painter_.SetSeparatorColor(clBtnFace);
    painter_.SetCheckedColor(clHighlight);
    painter_.IconWidth = 24;
    painter_.DrawSelect = true;
    painter_.SetUseSystemColors(true);
    painter_.Gradient = false;
    painter_.FlatMenu = false;
    painter_.SetActive(true);
    HDC dc = GetDC(nullptr);
    painter_.RefreshPalette(dc);
    ReleaseDC(nullptr, dc);

    SHFILEINFOW info{};
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        plain_ = info.hIcon;
}

QuickLook::~QuickLook() {
    for (auto& [folder, image] : images_)
        if (image.bitmap != plainBitmap_) DeleteObject(image.bitmap);
    if (plainBitmap_) DeleteObject(plainBitmap_);
    if (plain_) DestroyIcon(plain_);
}

SIZE QuickLook::LargestItem(const FolderList& entries, HBITMAP image) {
    win::MenuItem probe;
    probe.Bitmap = image;
    SIZE largest{1, 1};
    HDC dc = GetDC(nullptr);
    int saved = SaveDC(dc);
    for (const FolderEntry& e : entries) {
        if (e.IsSeparator()) continue;
        probe.Caption = win::EscapeMenuText(e.Alias);
        int w = 0, h = 0;
        painter_.MeasureMenuItem(probe, dc, w, h);
        largest.cx = std::max<LONG>(largest.cx, w);
        largest.cy = std::max<LONG>(largest.cy, h);
    }
    RestoreDC(dc, saved);
    ReleaseDC(nullptr, dc);
    return largest;
}

HBITMAP QuickLook::FolderBitmap(const std::wstring& folder, HICON own) {
    const COLORREF back = painter_.PaintColors().IconColumn;
    const int size = GetSystemMetrics(SM_CXSMICON);
    if (!own) {
        if (!plainBitmap_ && plain_) plainBitmap_ = xpmenu::MenuBitmapFromIcon(plain_, size, back);
        return plainBitmap_;
    }
    auto it = images_.find(folder);
    if (it != images_.end() && it->second.from == own) return it->second.bitmap;
    HBITMAP bitmap = xpmenu::MenuBitmapFromIcon(own, size, back);
    if (it != images_.end()) {
        DeleteObject(it->second.bitmap);
        it->second = {own, bitmap};
    } else {
        images_.emplace(folder, Image{own, bitmap});
    }
    return bitmap;
}

void QuickLook::Keep(const FolderList& entries) {
    std::unordered_set<std::wstring> folders;
    for (const FolderEntry& e : entries) folders.insert(e.Path);
    for (auto it = images_.begin(); it != images_.end();) {
        if (folders.count(it->first)) {
            ++it;
        } else {
            DeleteObject(it->second.bitmap);
            it = images_.erase(it);
        }
    }
}
