// Prints the face and cell height that each font the program asks for
// resolves to in this prefix, and fails when one lands on another face or
// height than the prefix set-up pins. Run by the scripts right after they
// make a prefix: a host font must never decide how the dialogs look.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

struct Request {
    const wchar_t* face;    // as the program asks for it
    int height;             // lfHeight
    const wchar_t* wantFamily;  // the font file's family (scripts/common.sh, pn_prefix_fonts)
    int wantHeight;         // tmHeight
};

// The dialogs' and list's face (at the form's height and at the cell height
// the flat control tests ask for), the system's message face, and the menu
// painter's face.
const Request kRequests[] = {
    {L"MS Sans Serif", -11, L"Tahoma", 13},
    {L"MS Sans Serif", 13, L"Tahoma", 13},
    {L"Tahoma", -11, L"Tahoma", 13},
    {L"\u5b8b\u4f53", -12, L"DejaVu Serif", 14},
};

// One letter of each script that aliases and paths are expected in: each must
// come from the face or a linked one, never as the missing-glyph box.
const wchar_t kScripts[] = L"\u6587\u30c9\u0388\u0414";
constexpr wchar_t kUnassigned = L'\u0378';  // in no font: drawn as the missing glyph

std::string Utf8(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

struct Resolved {
    std::wstring face;      // the name the DC reports
    std::wstring family;    // the font file's own family name
    int height = 0;
    std::wstring missing;   // letters of kScripts drawn as the missing glyph
    bool yen = false;       // the backslash drawn as a yen sign, as Japanese faces do
    bool wideGreek = false; // Greek set full width, as CJK faces do
};

// The pixels of one character drawn black on white in a 64 x 64 cell.
std::string Picture(HDC dc, wchar_t c) {
    RECT r{0, 0, 64, 64};
    FillRect(dc, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, 8, 8, 0, nullptr, &c, 1, nullptr);
    std::string out;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) out += GetPixel(dc, x, y) == RGB(255, 255, 255) ? '.' : '#';
    return out;
}

// The longest run of ink in one row of a picture.
int LongestRow(const std::string& picture) {
    int longest = 0, run = 0;
    for (size_t i = 0; i < picture.size(); ++i) {
        run = (i % 64 == 0 || picture[i] != '#') ? (picture[i] == '#') : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

Resolved Resolve(HDC dc, const Request& r) {
    HFONT font = CreateFontW(r.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, r.face);
    HGDIOBJ old = SelectObject(dc, font);
    Resolved out;
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    out.face = face;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    out.height = tm.tmHeight;
    // A face reached through a substitute reports the name asked for; the
    // outline metrics name the file's own family.
    if (UINT size = GetOutlineTextMetricsW(dc, 0, nullptr)) {
        std::string buf(size, '\0');
        auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buf.data());
        if (GetOutlineTextMetricsW(dc, size, otm))
            out.family = reinterpret_cast<const wchar_t*>(buf.data() + (size_t)otm->otmpFamilyName);
    }
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 64, 64);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HGDIOBJ oldMemFont = SelectObject(mem, font);
    std::string box = Picture(mem, kUnassigned);
    for (const wchar_t* c = kScripts; *c; ++c)
        if (Picture(mem, *c) == box) out.missing += *c;
    // Paths and Greek aliases must read as they do anywhere else.
    out.yen = LongestRow(Picture(mem, L'\\')) > 3;  // a diagonal has no bar across
    SIZE latin{}, greek{};
    GetTextExtentPoint32W(mem, L"A", 1, &latin);
    GetTextExtentPoint32W(mem, L"\u0391", 1, &greek);
    out.wideGreek = greek.cx > latin.cx * 3 / 2;
    SelectObject(mem, oldMemFont);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    SelectObject(dc, old);
    DeleteObject(font);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool check = !(argc > 1 && std::wstring(argv[1]) == L"--list");
    HDC dc = GetDC(nullptr);
    int wrong = 0;
    for (const Request& r : kRequests) {
        Resolved got = Resolve(dc, r);
        std::wstring family = got.family.empty() ? L"(bitmap) " + got.face : got.family;
        bool ok = family == r.wantFamily && got.height == r.wantHeight && got.missing.empty() && !got.yen &&
                  !got.wideGreek;
        std::printf("%s %d -> %s, tmHeight %d%s%s%s%s%s\n", Utf8(r.face).c_str(), r.height,
                    Utf8(family).c_str(), got.height, got.missing.empty() ? "" : ", no glyph for ",
                    Utf8(got.missing).c_str(), got.yen ? ", backslash as yen" : "",
                    got.wideGreek ? ", Greek full width" : "", !check || ok ? "" : "  WRONG");
        if (!ok) {
            ++wrong;
            if (check)
                std::fprintf(stderr,
                             "fontcheck: \"%s\" at %d must resolve to %s, tmHeight %d, with a glyph for each "
                             "of %s, a backslash and Greek of Latin width\n",
                             Utf8(r.face).c_str(), r.height, Utf8(r.wantFamily).c_str(), r.wantHeight,
                             Utf8(kScripts).c_str());
        }
    }
    ReleaseDC(nullptr, dc);
    return check && wrong ? 1 : 0;
}
