#include "win/FontFallback.h"

#include <vector>

namespace win {

namespace {
// Faces the system links to `face`, in order: "file,face[,scaling]" entries.
std::vector<std::wstring> LinkedFaces(const std::wstring& face) {
    std::vector<std::wstring> faces;
    DWORD size = 0;
    const wchar_t* key = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, face.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return faces;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    size = (DWORD)(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, face.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) !=
        ERROR_SUCCESS)
        return faces;
    for (const wchar_t* p = data.data(); *p; p += wcslen(p) + 1) {
        std::wstring entry = p;
        size_t comma = entry.find(L',');
        if (comma == std::wstring::npos) continue;
        std::wstring name = entry.substr(comma + 1);
        name = name.substr(0, name.find(L','));
        if (!name.empty()) faces.push_back(name);
    }
    return faces;
}

// How many characters of `text` the font selected into `dc` lacks.
size_t Missing(HDC dc, const std::wstring& text) {
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(dc, text.c_str(), (int)text.size(), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return 0;
    size_t missing = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        // Controls and surrogate halves are no glyphs of their own.
        if (c < L' ' || (c >= 0xD800 && c <= 0xDFFF)) continue;
        missing += glyphs[i] == 0xFFFF;
    }
    return missing;
}
}  // namespace

FontHandle FontForText(HFONT font, const std::wstring& text) {
    if (!font || text.empty()) return FontHandle();
    LOGFONTW lf{};
    if (!GetObjectW(font, sizeof(lf), &lf)) return FontHandle();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    FontHandle found;
    size_t fewest = Missing(dc, text);
    if (fewest > 0) {
        // The face asked for and the face it came out as may each have links.
        wchar_t realised[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, realised);
        std::vector<std::wstring> faces = LinkedFaces(realised);
        for (const std::wstring& f : LinkedFaces(lf.lfFaceName)) faces.push_back(f);
        // The first face with every character; failing that, the one that
        // lacks the fewest (a path mixing scripts no single face covers).
        for (const std::wstring& face : faces) {
            LOGFONTW linked = lf;
            lstrcpynW(linked.lfFaceName, face.c_str(), LF_FACESIZE);
            linked.lfCharSet = DEFAULT_CHARSET;
            FontHandle candidate(CreateFontIndirectW(&linked));
            SelectObject(dc, candidate.Get());
            const size_t missing = Missing(dc, text);
            SelectObject(dc, font);
            if (missing < fewest) {
                fewest = missing;
                found = std::move(candidate);
            }
            if (fewest == 0) break;
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return found;
}

}  // namespace win
