#pragma once
#include <string>

#include "win/Form.h"
#include "win/LinkLabel.h"
#include "win/Picture.h"
#include "win/StdControls.h"

// Where the help menu and the about box send the user.
constexpr const wchar_t* kHomePage = L"http://www.example.com/pathnook/";
constexpr const wchar_t* kSupportMail = L"support@example.com";
constexpr const wchar_t* kOwnerLine = L"Copyright (C) 2026 The Pathnook developers";
// The about box's pictures: JPEGs in the program's resources, drawn for
// 96 DPI under these names and for 120, 144 and 192 DPI with "_<dpi>" added.
constexpr const wchar_t* kBannerResource = L"ABOUT_BANNER";
constexpr const wchar_t* kIconResource = L"ABOUT_ICON";
// The name of the picture drawn for the largest scale not above `dpi`.
std::wstring PictureForDpi(const wchar_t* name, UINT dpi);

// The about box: banner, icon, name, version, owner, mail and web links.
class TfrmAbout : public win::Form {
public:
    explicit TfrmAbout(HWND owner);

    win::Picture imgBanner;
    win::Picture imgIcon;
    win::Label lName;
    win::Label lVersion;
    win::Label lOwner;
    win::Label lEmail;
    win::LinkLabel lMail;
    win::SunkenRule bvLine;
    win::LinkLabel lbEAddress;
    win::PushButton suitempbOK;

    void suitempbOKClick();
    void lMailClick();
    void lbEAddressClick();

    // "Version 1.8.3 (built 2026-12-08)"
    static std::wstring VersionLine();

private:
    void ShowPictures();
    void PlaceMail();

protected:
    void DpiChanged(UINT from, UINT to) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void FirstShow() override;

private:
    HWND owner_;
};
