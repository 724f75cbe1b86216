// Aliases and paths in scripts the list's face lacks show through the faces
// the prefix links to it, not as the missing-glyph box.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "app/MainFormFixture.h"
#include "support/TestSupport.h"
#include "win/Application.h"

using namespace testing_support;

namespace {

// In no font at all: every face draws it as its missing glyph.
constexpr wchar_t kUnassigned = L'\u0378';

std::wstring ItemText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, row, (LPARAM)&item);
    return text;
}

int RowOf(HWND list, const std::wstring& alias) {
    int rows = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < rows; ++i)
        if (ItemText(list, i, 0) == alias) return i;
    return -1;
}

// The pixels of one cell's text area, as the list drew it on the screen.
std::vector<DWORD> CellPixels(HWND list, int row, int column) {
    RECT r{};
    r.top = column;
    r.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, row, (LPARAM)&r);
    if (column == 0) {
        r.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, row, (LPARAM)&r);
    }
    InflateRect(&r, -2, -2);  // clear of any focus rectangle
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(list);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> out(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + (size_t)w * h);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(list, screen);
    return out;
}

bool HasInk(const std::vector<DWORD>& px) {
    for (DWORD p : px)
        if (p != px.front()) return true;
    return false;
}

}  // namespace

TEST(ListScripts, ChineseJapaneseGreekAndCyrillicRowsAreNotMissingGlyphBoxes) {
    const std::vector<std::wstring> names = {
        L"\u6587\u6863",                                      // Chinese
        L"\u30c9\u30ad\u30e5\u30e1\u30f3\u30c8",              // Japanese
        L"\u0388\u03b3\u03b3\u03c1\u03b1\u03c6\u03b1",        // Greek
        L"\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b",  // Cyrillic
    };
    // Each name beside a row of as many missing glyphs, in alias and path:
    // with no face to draw a script from, the two rows look the same.
    DeleteKeyTree(kFixtureStore);
    SetString(kFixtureStore + L"\\Install", L"Seeded", L"1");
    int n = 0;
    for (const std::wstring& name : names) {
        std::wstring missing(name.size(), kUnassigned);
        for (const std::wstring& alias : {name, missing}) {
            SetString(kFixtureStore, L"N" + std::to_wstring(n), alias);
            SetString(kFixtureStore, L"P" + std::to_wstring(n), L"C:\\" + alias);
            ++n;
        }
    }
    {
        win::Sealed<TfrmMain> form;
        form.Show();
        win::Application::Instance().ProcessMessages();
        HWND list = form.lvMain.Handle();
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        win::Application::Instance().ProcessMessages();
        for (const std::wstring& name : names) {
            int row = RowOf(list, name), boxes = RowOf(list, std::wstring(name.size(), kUnassigned));
            ASSERT_GE(row, 0);
            ASSERT_GE(boxes, 0);
            for (int column : {0, 1}) {
                std::vector<DWORD> drawn = CellPixels(list, row, column);
                std::vector<DWORD> missing = CellPixels(list, boxes, column);
                ASSERT_TRUE(HasInk(missing)) << "column " << column;  // the boxes were drawn
                EXPECT_NE(drawn, missing) << "column " << column << " of the row in script " << &name - &names[0];
            }
        }
    }
    DeleteKeyTree(kFixtureStore);
}
