#include <gtest/gtest.h>

#include <set>

#include "app/About.h"
#include "support/TestSupport.h"
#include "win/Jpeg.h"

namespace {

struct Spot {
    const win::Window* control;
    int left, top;
};

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

// Colours of a picture, coarsely binned: a blank or one-colour picture has
// one or two bins, a drawn one many.
size_t ColourCount(const win::Bitmap& p) {
    std::set<COLORREF> bins;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) bins.insert(p.Pixel(x, y) & 0xE0E0E0);
    return bins.size();
}

class OwnerForm : public win::Form {
public:
    OwnerForm() { CreateForm(L"PathnookAboutOwner", L"Owner", 600, 500, WS_CAPTION | WS_SYSMENU, nullptr, false); }
};

}  // namespace

TEST(AboutPictures, BothEmbeddedJpegsDecodeToTheirSizesWithRealPictures) {
    HMODULE self = GetModuleHandleW(nullptr);
    win::Bitmap banner = win::LoadJpegResource(self, kBannerResource);
    win::Bitmap icon = win::LoadJpegResource(self, kIconResource);
    ASSERT_FALSE(banner.Empty());
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(banner.Width(), 360);
    EXPECT_EQ(banner.Height(), 50);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_GT(ColourCount(banner), 20u);
    EXPECT_GT(ColourCount(icon), 5u);
    // The banner is a blue band: its corners are blue, not black or white.
    for (COLORREF c : {banner.Pixel(0, 0), banner.Pixel(359, 49)}) {
        EXPECT_GT(GetBValue(c), GetRValue(c) + 40) << std::hex << c;
        EXPECT_LT(GetRValue(c), 200) << std::hex << c;
    }
    // The icon's folder is yellow at its middle.
    COLORREF folder = icon.Pixel(10, 20);
    EXPECT_GT(GetRValue(folder), 180) << std::hex << folder;
    EXPECT_GT(GetGValue(folder), 140) << std::hex << folder;
    EXPECT_LT(GetBValue(folder), 140) << std::hex << folder;
}

TEST(AboutBox, CaptionSizeFontAndEveryElementAtItsPlace) {
    win::Sealed<TfrmAbout> about(nullptr);
    EXPECT_EQ(about.Text(), L"About Pathnook");
    RECT client = about.ClientRect();
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 249);
    LONG style = GetWindowLongW(about.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);  // fixed dialog border
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongW(about.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    LOGFONTW lf{};
    GetObjectW(about.Font(), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, -11);

    const Spot spots[] = {
        {&about.imgBanner, 0, 0},     {&about.imgIcon, 20, 61},   {&about.lName, 80, 66},
        {&about.lVersion, 80, 91},    {&about.lOwner, 80, 116},   {&about.lEmail, 80, 141},
        {&about.bvLine, 80, 166},     {&about.lbEAddress, 80, 178},
        {&about.suitempbOK, 268, 208},
    };
    for (const Spot& s : spots) {
        RECT r = s.control->Bounds();
        EXPECT_EQ(r.left, s.left) << s.control->Text();
        EXPECT_EQ(r.top, s.top) << s.control->Text();
        EXPECT_EQ(GetParent(s.control->Handle()), about.Handle());
        EXPECT_TRUE(IsWindowVisible(s.control->Handle()) || !IsWindowVisible(about.Handle()));
    }
    // The address stands where the layout puts it, or further right when
    // its caption needs the room: a space clear of "Email:" either way.
    RECT email = about.lEmail.Bounds(), mail = about.lMail.Bounds();
    EXPECT_EQ(mail.top, 141);
    EXPECT_GE(mail.left, 112);
    EXPECT_GE(mail.left, email.right + win::TextExtent(about.lEmail.Handle(), L" ").cx);
    EXPECT_EQ(email.right - email.left, win::TextExtent(about.lEmail.Handle(), L"Email:").cx);
    if (mail.left > 112) {
        EXPECT_EQ(mail.left, email.right + win::TextExtent(about.lEmail.Handle(), L" ").cx);
    }
    auto size = [](const win::Window& w) {
        RECT r = w.Bounds();
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    EXPECT_EQ(size(about.imgBanner).cx, 360);
    EXPECT_EQ(size(about.imgBanner).cy, 50);
    EXPECT_EQ(size(about.imgIcon).cx, 32);
    EXPECT_EQ(size(about.imgIcon).cy, 32);
    EXPECT_EQ(size(about.bvLine).cx, 262);
    EXPECT_EQ(size(about.bvLine).cy, 2);
    EXPECT_EQ(size(about.suitempbOK).cx, 75);
    EXPECT_EQ(size(about.suitempbOK).cy, 25);

    EXPECT_EQ(about.lName.Text(), L"Pathnook");
    EXPECT_EQ(about.lVersion.Text().rfind(L"Version 1.8.3 (built 20", 0), 0u) << about.lVersion.Text();
    EXPECT_EQ(about.lOwner.Text(), kOwnerLine);
    EXPECT_EQ(about.lEmail.Text(), L"Email:");
    EXPECT_EQ(about.lMail.Text(), L"support@example.com");
    EXPECT_EQ(about.lbEAddress.Text(), L"http://www.example.com/pathnook/");
    EXPECT_EQ(about.suitempbOK.Text(), L"OK");
    EXPECT_EQ(ClassOf(about.suitempbOK.Handle()), L"Button");

    // Both pictures were decoded from the resources at creation.
    EXPECT_EQ(about.imgBanner.Image().Width(), 360);
    EXPECT_EQ(about.imgIcon.Image().Width(), 32);
    // The links look like links; the plain labels use the form's font.
    for (const win::LinkLabel* link : {&about.lMail, &about.lbEAddress}) {
        EXPECT_EQ(link->TextColor, RGB(0, 0, 255));
        LOGFONTW l{};
        GetObjectW(link->LinkFont(), sizeof(l), &l);
        EXPECT_TRUE(l.lfUnderline);
        EXPECT_EQ(l.lfHeight, -11);
    }
    EXPECT_EQ((HFONT)SendMessageW(about.lName.Handle(), WM_GETFONT, 0, 0), about.Font());
}

TEST(AboutBox, OpensCentredOnItsOwnerAndOkClosesIt) {
    win::Sealed<OwnerForm> owner;
    SetWindowPos(owner.Handle(), nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    owner.Show();
    win::Sealed<TfrmAbout> about(owner.Handle());
    static RECT seen;
    static HWND ok;
    seen = RECT{};
    ok = about.suitempbOK.Handle();
    // A thread timer runs inside the modal loop: it notes where the box
    // stands and presses OK as the user would.
    UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        GetWindowRect(GetParent(ok), &seen);
        SendMessageW(ok, BM_CLICK, 0, 0);
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(about.ShowModal(), win::mrOk);
    RECT o{};
    GetWindowRect(owner.Handle(), &o);
    int w = seen.right - seen.left, h = seen.bottom - seen.top;
    EXPECT_GT(w, 360);
    EXPECT_EQ(seen.left, o.left + ((o.right - o.left) - w) / 2);
    EXPECT_EQ(seen.top, o.top + ((o.bottom - o.top) - h) / 2);
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
}

TEST(AboutBox, EscapeClosesItAsCancel) {
    win::Sealed<TfrmAbout> about(nullptr);
    UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        HWND box = FindWindowW(L"TfrmAbout", L"About Pathnook");
        PostMessageW(GetFocus() ? GetFocus() : box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(about.ShowModal(), win::mrCancel);
}
