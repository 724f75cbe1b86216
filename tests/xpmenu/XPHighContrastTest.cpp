// Menus and tool bars under a high-contrast scheme: every painted pixel in
// the scheme's colours, the palette following the scheme as it changes.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "win/ImageList.h"
#include "win/ToolBar.h"
#include "xpmenu/XPMenu.h"
#include "xpmenu/XPTestForms.h"

using namespace xpmenu;

namespace {
// The system's colours set for a test and put back after it, with the
// high-contrast flag on meanwhile.
class HighContrastScheme {
public:
    explicit HighContrastScheme(std::vector<std::pair<int, COLORREF>> colors) {
        for (auto& [index, color] : colors) {
            indices_.push_back(index);
            saved_.push_back(GetSysColor(index));
            wanted_.push_back(color);
        }
        SetSysColors((int)indices_.size(), indices_.data(), wanted_.data());
        win::SetHighContrastOverride(1);
    }
    ~HighContrastScheme() {
        win::SetHighContrastOverride(-1);
        SetSysColors((int)indices_.size(), indices_.data(), saved_.data());
    }

private:
    std::vector<int> indices_;
    std::vector<COLORREF> saved_, wanted_;
};

constexpr COLORREF kMenu = RGB(0, 0, 0), kMenuText = RGB(255, 255, 255), kHilite = RGB(0, 0, 254),
                   kHiliteText = RGB(255, 255, 1), kGray = RGB(0, 254, 0), kFace = RGB(1, 0, 0),
                   kBtnText = RGB(254, 255, 255), kShadow = RGB(128, 128, 129);

std::vector<std::pair<int, COLORREF>> BlackScheme() {
    return {{COLOR_MENU, kMenu},           {COLOR_MENUTEXT, kMenuText}, {COLOR_HIGHLIGHT, kHilite},
            {COLOR_HIGHLIGHTTEXT, kHiliteText}, {COLOR_GRAYTEXT, kGray},   {COLOR_BTNFACE, kFace},
            {COLOR_BTNTEXT, kBtnText},     {COLOR_BTNSHADOW, kShadow}};
}

// The colours found in a painted area.
std::set<COLORREF> ColoursIn(const win::Bitmap& b, const RECT& r) {
    std::set<COLORREF> seen;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) seen.insert(b.Pixel(x, y));
    return seen;
}

std::string Hex(const std::set<COLORREF>& s) {
    std::string out;
    char buf[16];
    for (COLORREF c : s) {
        snprintf(buf, sizeof buf, "%06lx ", (unsigned long)c);
        out += buf;
    }
    return out;
}
}  // namespace

TEST(XPHighContrast, MenuItemsTakeTheSchemesColoursAndFollowItsChanges) {
    win::Sealed<xptest::TestForm> form;
    TXPMenu xp{form};
    win::MenuItem& file = form.Menu().Root.Add(L"&File");
    win::MenuItem& open = file.Add(L"&Open", nullptr, win::kCtrl | 'O');
    win::MenuItem& off = file.Add(L"&Greyed");
    off.Enabled = false;
    win::MenuItem& ticked = file.Add(L"&Ticked");
    ticked.Checked = true;
    xp.SetActive(true);
    // A font without smoothing, so that text is in one colour.
    LOGFONTW lf = xp.FontSpec();
    lf.lfQuality = NONANTIALIASED_QUALITY;
    xp.SetFont(lf, win::clMenuText);
    xp.RefreshPalette(32);
    const COLORREF before = xp.PaintColors().Background;

    HighContrastScheme scheme(BlackScheme());
    const RECT item{10, 0, 210, 22};
    const RECT whole{10, 0, 210, 22};  // the item's own place
    win::Bitmap n(220, 30, xptest::kUnpainted);
    xp.PaintMenuItem(open, n.DC(), item, false);  // no refresh asked: the painter notices
    EXPECT_NE(xp.PaintColors().Background, before);
    EXPECT_EQ(ColoursIn(n, whole), (std::set<COLORREF>{kMenu, kMenuText})) << Hex(ColoursIn(n, whole));

    win::Bitmap s(220, 30, xptest::kUnpainted);
    xp.PaintMenuItem(open, s.DC(), item, true);
    EXPECT_EQ(s.Pixel(100, 5), kHilite);
    EXPECT_EQ(ColoursIn(s, {10, 1, 210, 21}), (std::set<COLORREF>{kHilite, kHiliteText}))
        << Hex(ColoursIn(s, {10, 1, 210, 21}));

    win::Bitmap g(220, 30, xptest::kUnpainted);
    xp.PaintMenuItem(off, g.DC(), item, false);
    EXPECT_EQ(ColoursIn(g, whole), (std::set<COLORREF>{kMenu, kGray})) << Hex(ColoursIn(g, whole));

    win::Bitmap t(220, 30, xptest::kUnpainted);
    xp.PaintMenuItem(ticked, t.DC(), item, false);
    EXPECT_EQ(ColoursIn(t, whole), (std::set<COLORREF>{kMenu, kMenuText})) << Hex(ColoursIn(t, whole));

    // The bar's item, open.
    win::Bitmap b(80, 22, xptest::kUnpainted);
    xp.PaintMenuItem(file, b.DC(), {0, 0, 50, 20}, true);
    EXPECT_EQ(ColoursIn(b, {0, 0, 50, 20}), (std::set<COLORREF>{kHilite, kHiliteText}))
        << Hex(ColoursIn(b, {0, 0, 50, 20}));
}

TEST(XPHighContrast, ToolButtonsShowTheFaceAndAHighlightedHotButton) {
    win::Sealed<xptest::TestForm> form;
    win::ImageList images{16, 16};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < 256; ++i) px[i] = (i % 16 >= 4 && i % 16 < 12 && i / 16 >= 4 && i / 16 < 12) ? 0xFFC80000 : 0;
    images.AddWithAlpha(bmp);
    DeleteObject(bmp);
    win::ToolBar tb;
    tb.Create(form.Handle(), 41, 10, 44, 38);
    tb.SetImages(&images);
    tb.Color = RGB(214, 223, 246);  // the program's own tint, which the scheme replaces
    auto& a = form.Actions().Add(1, L"A", L"", -1, 0, [] {});
    tb.AddButton(a, L"A", L"", 0);
    TXPMenu xp{form};
    xp.SetActive(true);

    HighContrastScheme scheme(BlackScheme());
    TXPMenu::ToolButtonState st;
    bool defaultDraw = true;
    win::Bitmap n(60, 40, xptest::kUnpainted);
    xp.PaintToolButton(tb.Handle(), 0, n.DC(), {0, 0, 44, 38}, st, defaultDraw);
    EXPECT_EQ(n.Pixel(3, 30), kFace);
    EXPECT_EQ(n.Pixel(43, 37), kFace);
    EXPECT_EQ(n.Pixel(18, 7), RGB(200, 0, 0));  // the image whole, not faded

    st.Hot = true;
    win::Bitmap h(60, 40, xptest::kUnpainted);
    xp.PaintToolButton(tb.Handle(), 0, h.DC(), {0, 0, 44, 38}, st, defaultDraw);
    EXPECT_EQ(h.Pixel(0, 1), kHilite);
    EXPECT_EQ(h.Pixel(3, 30), kHilite);
}
