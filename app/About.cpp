#include "app/About.h"

#include <algorithm>
#include <cstring>

#include "app/Version.h"
#include "win/Jpeg.h"
#include "win/Shell.h"

namespace {
constexpr int kClientWidth = 360, kClientHeight = 249;

// __DATE__ ("Dec  8 2026") as 2026-12-08.
std::wstring BuildDate() {
    const char* d = __DATE__;
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const char* m = std::strstr(months, std::string(d, 3).c_str());
    int month = m ? (int)(m - months) / 3 + 1 : 0;
    int day = (d[4] == ' ' ? 0 : d[4] - '0') * 10 + (d[5] - '0');
    wchar_t text[16];
    swprintf(text, 16, L"%.4hs-%02d-%02d", d + 7, month, day);
    return text;
}
}  // namespace

std::wstring PictureForDpi(const wchar_t* name, UINT dpi) {
    for (UINT scale : {192u, 144u, 120u})
        if (dpi >= scale) return std::wstring(name) + L"_" + std::to_wstring(scale);
    return name;
}

std::wstring TfrmAbout::VersionLine() {
    return L"Version " PATHNOOK_VERSION_W L" (built " + BuildDate() + L")";
}

TfrmAbout::TfrmAbout(HWND owner) : owner_(owner) {
    CreateForm(L"TfrmAbout", L"About Pathnook", kClientWidth, kClientHeight,
               WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, true);
    DialogKeys = true;
    HWND h = Handle();

    imgBanner.Create(h, 0, 0, 360, 50);
    imgIcon.Create(h, 20, 61, 32, 32);
    ShowPictures();

    lName.Create(h, L"Pathnook", 80, 66);
    lVersion.Create(h, VersionLine(), 80, 91);
    lOwner.Create(h, kOwnerLine, 80, 116);
    lEmail.Create(h, L"Email:", 80, 141);
    lMail.OnClick = [this] { lMailClick(); };
    lMail.Create(h, kSupportMail, 112, 141);
    PlaceMail();
    bvLine.Create(h, 80, 166, 262, 2);
    lbEAddress.OnClick = [this] { lbEAddressClick(); };
    lbEAddress.Create(h, kHomePage, 80, 178);
    suitempbOK.OnClick = [this] { suitempbOKClick(); };
    suitempbOK.Create(h, L"OK", 268, 208, 75, 25, BS_DEFPUSHBUTTON);
    SetFocus(suitempbOK.Handle());
}

void TfrmAbout::FirstShow() { CenterOn(owner_); }

void TfrmAbout::ShowPictures() {
    HMODULE self = GetModuleHandleW(nullptr);
    imgBanner.SetPicture(win::LoadJpegResource(self, PictureForDpi(kBannerResource, Dpi()).c_str()));
    imgIcon.SetPicture(win::LoadJpegResource(self, PictureForDpi(kIconResource, Dpi()).c_str()));
}

// The address follows its caption after at least a space, even in a face
// wider than the one the layout was made for.
void TfrmAbout::PlaceMail() {
    RECT email = lEmail.Bounds(), mail = lMail.Bounds();
    int x = std::max<int>(Scale(112), email.right + win::TextExtent(lEmail.Handle(), L" ").cx);
    lMail.SetBounds(x, mail.top, mail.right - mail.left, mail.bottom - mail.top);
}

void TfrmAbout::DpiChanged(UINT, UINT) {
    ShowPictures();
    PlaceMail();
}

void TfrmAbout::suitempbOKClick() { ModalResult = win::mrOk; }

// The shell's answer is not reported: a machine without a mail program or
// browser simply opens nothing.
void TfrmAbout::lMailClick() { win::ShellOpen(Handle(), std::wstring(L"mailto:") + kSupportMail, SW_SHOW); }

void TfrmAbout::lbEAddressClick() { win::ShellOpen(Handle(), kHomePage, SW_SHOW); }

LRESULT TfrmAbout::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r = ClientRect();
        FillRect((HDC)wp, &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_COMMAND:
        // Enter and Escape from the dialog keys.
        if (lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
            ModalResult = LOWORD(wp) == IDOK ? win::mrOk : win::mrCancel;
            return 0;
        }
        break;
    }
    return Form::WndProc(msg, wp, lp);
}
