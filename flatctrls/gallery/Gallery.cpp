// Puts every flat control in each of its states on one form and saves a
// picture of the window, so that the look can be checked by eye.
// Usage: flatctrls_gallery.exe picture.bmp
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"
#include "flatctrls/TFlatEditUnit.h"
#include "flatctrls/TFlatSpeedButtonUnit.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/Form.h"
#include "win/Gdi.h"
#include "win/StdControls.h"

using namespace flat;

namespace {

// Shows a button frozen in one state.
class ShownButton : public TFlatButton {
public:
    void Show(ButtonState s, bool hot) {
        state_ = s;
        Hovered = hot;
        Invalidate(false);
    }
};
class ShownSpeedButton : public TFlatSpeedButton {
public:
    void Show(ButtonState s, bool hot) {
        state_ = s;
        Hovered = hot;
        Invalidate();
    }
};

class GalleryForm : public win::Form {
public:
    GalleryForm() {
        CreateForm(L"PathnookFlatGallery", L"Flat controls", 640, 400, WS_CAPTION | WS_SYSMENU, nullptr,
                   true);
    }
};

// A picture 16 pixels square at 96 DPI, drawn at `size` (never a small
// picture stretched): a folder-like shape in black and yellow on a magenta
// field (the transparent colour, taken from the bottom-left pixel).
void MakeGlyph(win::Bitmap& glyph, int slices, int size) {
    glyph.SetSize(size * slices, size);
    // The shape's edges in pixels at `size`: the 96-DPI ones scaled.
    auto at = [size](int v) { return (v * size + 15) / 16; };
    const int L = at(1), R = at(15), T = at(4), B = at(14), tabRight = at(7), tabTop = at(3);
    const int unit = std::max(1, (size + 8) / 16);
    for (int s = 0; s < slices; ++s)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                COLORREF c = RGB(255, 0, 255);
                bool inside = x >= L && x < R && y >= T && y < B;
                bool tab = x >= L && x < tabRight && y >= tabTop && y < T;
                if (inside || tab) {
                    bool edge = tab || x < L + unit || x >= R - unit || y < T + unit || y >= B - unit;
                    c = edge ? RGB(0, 0, 0) : (s == 1 ? RGB(160, 160, 160) : RGB(255, 210, 60));
                }
                glyph.SetPixel(s * size + x, y, c);
            }
}

bool SaveBitmap(const win::Bitmap& bmp, const wchar_t* path) {
    const int w = bmp.Width(), h = bmp.Height();
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof(ih);
    ih.biWidth = w;
    ih.biHeight = h;  // bottom-up rows
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    ih.biSizeImage = stride * h;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> rows(ih.biSizeImage);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = bmp.Pixel(x, y);
            unsigned char* p = &rows[(h - 1 - y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    bool ok = fwrite(&fh, sizeof(fh), 1, f) == 1 && fwrite(&ih, sizeof(ih), 1, f) == 1 &&
              fwrite(rows.data(), rows.size(), 1, f) == 1;
    return fclose(f) == 0 && ok;
}

void Settle(int ms) {
    DWORD end = GetTickCount() + ms;
    while ((int)(end - GetTickCount()) > 0) {
        win::Application::Instance().ProcessMessages();
        Sleep(10);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring out = argc > 1 ? argv[1] : L"flat-controls.bmp";
    // "high-contrast": the controls under a scheme like the system's High
    // Contrast Black, put back before the gallery ends.
    const bool highContrast = argc > 2 && std::wstring(argv[2]) == L"high-contrast";
    const int schemeIndices[] = {COLOR_BTNFACE,   COLOR_BTNTEXT,       COLOR_WINDOW,   COLOR_WINDOWTEXT,
                                 COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT, COLOR_BTNSHADOW,
                                 COLOR_BTNHIGHLIGHT};
    const COLORREF scheme[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 0, 0),     RGB(255, 255, 255),
                               RGB(26, 235, 255), RGB(0, 0, 0),       RGB(63, 242, 63), RGB(128, 128, 128),
                               RGB(255, 255, 255)};
    COLORREF saved[std::size(schemeIndices)];
    for (size_t i = 0; i < std::size(schemeIndices); ++i) saved[i] = GetSysColor(schemeIndices[i]);
    if (highContrast) {
        SetSysColors((int)std::size(schemeIndices), schemeIndices, scheme);
        win::SetHighContrastOverride(1);
    }
    SetCursorPos(1270, 1010);  // out of the way: no control turns hot by itself

    win::Sealed<GalleryForm> form;
    HWND f = form.Handle();
    std::vector<std::unique_ptr<win::Label>> labels;
    auto label = [&](const std::wstring& text, int x, int y) {
        auto l = std::make_unique<win::Label>();
        l->Create(f, text, x, y);
        labels.push_back(std::move(l));
    };

    // Flat buttons: up, hot, pressed, latched, default, disabled, glyphs, transparent.
    label(L"TFlatButton", 8, 8);
    const wchar_t* names[] = {L"Up", L"Hot", L"Pressed", L"Latched", L"Default", L"Disabled"};
    ShownButton buttons[6];
    for (int i = 0; i < 6; ++i) buttons[i].Create(f, 8 + i * 78, 26, 70, 25, names[i]);
    buttons[1].Show(ButtonState::Up, true);
    buttons[2].Show(ButtonState::Pressed, false);
    buttons[3].SetGroupIndex(1);
    buttons[3].SetDown(true);
    buttons[4].SetDefault(true);
    buttons[5].SetEnabled(false);

    win::Bitmap glyph, strip;
    MakeGlyph(glyph, 1, form.Scale(16));
    MakeGlyph(strip, 2, form.Scale(16));
    ShownButton glyphButtons[4];
    const wchar_t* glyphNames[] = {L"&Open", L"Left", L"Disabled", L"Two slices"};
    for (int i = 0; i < 4; ++i) {
        glyphButtons[i].Create(f, 8 + i * 78, 58, 70, 44, glyphNames[i]);
        glyphButtons[i].SetGlyph(i == 3 ? strip : glyph);
    }
    glyphButtons[1].SetLayout(blGlyphLeft);
    glyphButtons[1].Show(ButtonState::Up, true);
    glyphButtons[2].SetEnabled(false);
    glyphButtons[3].SetEnabled(false);
    ShownButton transparent;
    transparent.Create(f, 320, 58, 70, 44, L"tmAlways");
    transparent.SetTransparentMode(tmAlways);
    ShownButton adv;
    adv.Create(f, 398, 58, 70, 44, L"AdvColors");
    adv.SetUseAdvColors(true);
    adv.Show(ButtonState::Up, true);

    // Flat speed buttons, painted on the form's surface.
    label(L"TFlatSpeedButton", 8, 112);
    ShownSpeedButton speed[5];
    const wchar_t* speedNames[] = {L"Up", L"Hot", L"Pressed", L"Disabled", L"..."};
    for (int i = 0; i < 5; ++i) speed[i].Create(f, 8 + i * 62, 130, 56, 25, speedNames[i]);
    speed[1].Show(ButtonState::Up, true);
    speed[2].Show(ButtonState::Pressed, false);
    speed[3].SetEnabled(false);
    speed[4].SetControlFont(win::DeriveFont(form.Font(), win::FontHeightForPoints(15, form.Dpi()), true), true);

    // Check boxes.
    label(L"TFlatCheckBox", 8, 166);
    TFlatCheckBox boxes[6];
    const wchar_t* boxNames[] = {L"Unchecked", L"Checked", L"Hot", L"Pressed", L"Disabled",
                                 L"Right layout"};
    for (int i = 0; i < 6; ++i) boxes[i].Create(f, 8 + (i % 3) * 110, 184 + (i / 3) * 22, 104, 17, boxNames[i]);
    boxes[1].SetChecked(true);
    boxes[2].Hovered = true;
    boxes[4].SetChecked(true);
    boxes[4].SetEnabled(false);
    boxes[5].SetLayout(checkboxRight);
    boxes[5].SetChecked(true);
    TFlatCheckBox wrapped;
    wrapped.Create(f, 340, 184, 150, 40, L"Explore folder when opening it in a stand alone window");

    // Edits, and the item dialog's group box with a speed button inside.
    label(L"TFlatEdit", 8, 234);
    TFlatEdit edits[3];
    const wchar_t* editTexts[] = {L"At rest", L"Focused", L"Disabled"};
    for (int i = 0; i < 3; ++i) edits[i].Create(f, 8 + i * 128, 252, 120, 19, editTexts[i]);
    edits[2].SetEnabled(false);

    win::GroupBox group;
    group.Create(f, L"In a group box", 8, 284, 291, 100);
    win::Label alias, path;
    alias.Create(group.Handle(), L"Alias", 12, 21);
    path.Create(group.Handle(), L"Path", 12, 64);
    TFlatEdit feName, fePath;
    feName.Create(group.Handle(), 46, 19, 203, 19, L"Windows");
    fePath.Create(group.Handle(), 46, 62, 203, 19, L"C:\\windows");
    feName.SetColorFlat(clBtnFace);
    fePath.SetColorFlat(clBtnFace);
    TFlatSpeedButton browse;
    browse.Create(group.Handle(), 257, 61, 22, 22, L"...");
    browse.SetControlFont(win::DeriveFont(form.Font(), win::FontHeightForPoints(15, form.Dpi()), true), true);
    TFlatCheckBox sep;
    sep.Create(f, 310, 300, 145, 17, L"Add a Separator Line");
    ShownButton ok, cancel;
    ok.Create(f, 310, 340, 65, 25, L"&OK");
    cancel.Create(f, 390, 340, 65, 25, L"&Cancel");

    form.CenterOnScreen();
    form.Show(SW_SHOW);
    SetForegroundWindow(f);
    Settle(200);
    // Pressed box: the left button held on it (this also takes the focus).
    SendMessageW(boxes[3].Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    boxes[3].Hovered = true;
    edits[1].SetFocus();
    RedrawWindow(f, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Settle(300);
    boxes[3].PaintCheckSquare();
    boxes[2].PaintCheckSquare();
    GdiFlush();

    // The client area only: the frame is the window manager's, not ours.
    RECT r = form.ClientRect();
    win::Bitmap shot(r.right, r.bottom);
    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), win::WindowDC(f), 0, 0, SRCCOPY);
    const bool written = SaveBitmap(shot, out.c_str());
    if (highContrast) SetSysColors((int)std::size(schemeIndices), schemeIndices, saved);
    LocalFree(argv);
    return written ? 0 : 1;
}
