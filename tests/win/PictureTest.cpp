#include <gtest/gtest.h>

#include <vector>

#include "support/TestSupport.h"
#include "win/Form.h"
#include "win/Jpeg.h"
#include "win/LinkLabel.h"
#include "win/Picture.h"

namespace {
#include "TestJpegs.inc"

bool Near(COLORREF c, int r, int g, int b, int tolerance = 24) {
    return abs(GetRValue(c) - r) <= tolerance && abs(GetGValue(c) - g) <= tolerance &&
           abs(GetBValue(c) - b) <= tolerance;
}

class HostForm : public win::Form {
public:
    HostForm() { CreateForm(L"winPictureTestHost", L"Host", 200, 100, WS_CAPTION | WS_SYSMENU, nullptr, true); }
};

// What a control paints for itself, read back from a 32-bit memory DC.
std::vector<COLORREF> Capture(HWND control, int& w, int& h) {
    RECT r;
    GetClientRect(control, &r);
    w = r.right;
    h = r.bottom;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, w, h};
    FillRect(mem, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    SendMessageW(control, WM_PRINTCLIENT, (WPARAM)mem, PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(mem, x, y));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}
}  // namespace

TEST(Jpeg, DecodesSizeAndColoursIntoATopDownDib) {
    win::Bitmap picture = win::DecodeJpeg(kQuartersJpeg, sizeof(kQuartersJpeg));
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_EQ(picture.Height(), 16);
    // Row order and channel order both matter.
    EXPECT_TRUE(Near(picture.Pixel(2, 1), 255, 0, 0)) << std::hex << picture.Pixel(2, 1);
    EXPECT_TRUE(Near(picture.Pixel(13, 1), 0, 0, 255)) << std::hex << picture.Pixel(13, 1);
    EXPECT_TRUE(Near(picture.Pixel(2, 14), 0, 255, 0)) << std::hex << picture.Pixel(2, 14);
    EXPECT_TRUE(Near(picture.Pixel(13, 14), 255, 255, 255)) << std::hex << picture.Pixel(13, 14);
    EXPECT_EQ(picture.Pixel(16, 0), CLR_INVALID);
    EXPECT_EQ(picture.Pixel(0, -1), CLR_INVALID);

    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(picture.Handle(), sizeof(dib), &dib), (int)sizeof(dib));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);

    win::Bitmap grey = win::DecodeJpeg(kGreyJpeg, sizeof(kGreyJpeg));
    ASSERT_FALSE(grey.Empty());
    EXPECT_EQ(grey.Width(), 8);
    EXPECT_TRUE(Near(grey.Pixel(4, 4), 128, 128, 128, 6)) << std::hex << grey.Pixel(4, 4);
}

TEST(Jpeg, CorruptOrTruncatedDataGivesAnEmptyPicture) {
    std::vector<unsigned char> good(kQuartersJpeg, kQuartersJpeg + sizeof(kQuartersJpeg));
    EXPECT_TRUE(win::DecodeJpeg(nullptr, 100).Empty());
    EXPECT_TRUE(win::DecodeJpeg(good.data(), 0).Empty());
    const char text[] = "this is not a picture at all, just some text";
    EXPECT_TRUE(win::DecodeJpeg(text, sizeof(text)).Empty());
    // Complete headers with the scan data cut off after two bytes: libjpeg
    // alone would pad the picture with grey and only warn.
    size_t sos = 0;
    while (sos + 3 < good.size() && !(good[sos] == 0xFF && good[sos + 1] == 0xDA)) ++sos;
    ASSERT_LT(sos + 3, good.size());
    size_t scan = sos + 2 + (good[sos + 2] << 8 | good[sos + 3]);
    ASSERT_LT(scan + 2, good.size());
    EXPECT_TRUE(win::DecodeJpeg(good.data(), scan + 2).Empty());
    EXPECT_TRUE(win::DecodeJpeg(good.data(), 20).Empty());
    // The start-of-image marker alone.
    EXPECT_TRUE(win::DecodeJpeg(good.data(), 4).Empty());
    // Random bytes after a valid start marker.
    std::vector<unsigned char> noise = {0xFF, 0xD8};
    for (int i = 0; i < 500; ++i) noise.push_back((unsigned char)(i * 73 + 11));
    EXPECT_TRUE(win::DecodeJpeg(noise.data(), noise.size()).Empty());
    // And after all that, a good picture still decodes.
    EXPECT_FALSE(win::DecodeJpeg(good.data(), good.size()).Empty());
    EXPECT_TRUE(win::LoadJpegResource(GetModuleHandleW(nullptr), L"NO_SUCH_PICTURE").Empty());
}

TEST(Jpeg, MovingAPictureHandsOverItsBitmap) {
    win::Bitmap a = win::DecodeJpeg(kQuartersJpeg, sizeof(kQuartersJpeg));
    HBITMAP handle = a.Handle();
    win::Bitmap b = std::move(a);
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(b.Handle(), handle);
    b = win::DecodeJpeg(kGreyJpeg, sizeof(kGreyJpeg));
    EXPECT_EQ(GetObjectType(handle), 0u);  // the replaced bitmap was freed
}

TEST(Picture, PaintsItsPictureAndFillsTheRestWithTheFace) {
    win::Sealed<HostForm> host;
    win::Picture picture;
    picture.Create(host.Handle(), 5, 5, 20, 20);
    picture.SetPicture(win::DecodeJpeg(kQuartersJpeg, sizeof(kQuartersJpeg)));
    int w, h;
    auto pixels = Capture(picture.Handle(), w, h);
    ASSERT_EQ(w, 20);
    ASSERT_EQ(h, 20);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Through GDI: a bottom-up mix-up of the DIB would show green on top.
    EXPECT_TRUE(Near(pixels[1 * w + 2], 255, 0, 0));
    EXPECT_TRUE(Near(pixels[1 * w + 13], 0, 0, 255));
    EXPECT_TRUE(Near(pixels[14 * w + 2], 0, 255, 0));
    EXPECT_EQ(pixels[1 * w + 18], face);   // right of the 16-pixel picture
    EXPECT_EQ(pixels[18 * w + 2], face);   // below it

    picture.SetPicture(win::DecodeJpeg("broken", 6));
    EXPECT_TRUE(picture.Image().Empty());
    pixels = Capture(picture.Handle(), w, h);
    for (COLORREF c : pixels) ASSERT_EQ(c, face);
}

TEST(SunkenRule, DrawsAShadowLineOverAHighlightLine) {
    win::Sealed<HostForm> host;
    win::SunkenRule rule;
    rule.Create(host.Handle(), 10, 10, 50);
    RECT r = rule.Bounds();
    ASSERT_EQ(r.right - r.left, 50);
    ASSERT_EQ(r.bottom - r.top, 2);
    // The etched line is the static's edge: read it off the shown window.
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
    RedrawWindow(host.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 50, 2);
    HGDIOBJ old = SelectObject(mem, bmp);
    HDC ruleDC = GetWindowDC(rule.Handle());
    BitBlt(mem, 0, 0, 50, 2, ruleDC, 0, 0, SRCCOPY);
    ReleaseDC(rule.Handle(), ruleDC);
    for (int x = 0; x < 49; ++x) {  // the etched edge closes with a light corner
        ASSERT_EQ(GetPixel(mem, x, 0), GetSysColor(COLOR_BTNSHADOW)) << x;
        ASSERT_EQ(GetPixel(mem, x, 1), GetSysColor(COLOR_BTNHIGHLIGHT)) << x;
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST(LinkLabel, IsBlueUnderlinedWithTheHandCursorAndReportsClicks) {
    win::Sealed<HostForm> host;
    win::LinkLabel link;
    int clicks = 0;
    link.OnClick = [&] { ++clicks; };
    link.Create(host.Handle(), L"www.example.com", 7, 9);
    RECT r = link.Bounds();
    EXPECT_EQ(r.left, 7);
    EXPECT_EQ(r.top, 9);
    EXPECT_GT(r.right - r.left, 40);  // sized to its text

    LOGFONTW lf{}, base{};
    HFONT used = (HFONT)SendMessageW(link.Handle(), WM_GETFONT, 0, 0);
    ASSERT_EQ(used, link.LinkFont());
    GetObjectW(used, sizeof(lf), &lf);
    GetObjectW(host.Font(), sizeof(base), &base);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_EQ(lf.lfHeight, base.lfHeight);
    EXPECT_STREQ(lf.lfFaceName, base.lfFaceName);
    EXPECT_TRUE(GetWindowLongW(link.Handle(), GWL_STYLE) & SS_NOTIFY);

    HDC dc = GetDC(link.Handle());
    SendMessageW(host.Handle(), WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)link.Handle());
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(link.Handle(), dc);

    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(link.Handle(), WM_SETCURSOR, (WPARAM)link.Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link.Handle()), STN_CLICKED), (LPARAM)link.Handle());
    EXPECT_EQ(clicks, 1);
}
