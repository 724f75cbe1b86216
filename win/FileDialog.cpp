#include "win/FileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace win {

std::wstring FilterToWindows(const std::wstring& filter) {
    if (filter.empty()) return std::wstring(2, L'\0');
    std::wstring out = filter;
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

bool FileDialog::Execute(HWND owner) {
    // Long enough for the longest path Windows can hand back.
    std::vector<wchar_t> name(32768, L'\0');
    FileName.copy(name.data(), std::min(FileName.size(), name.size() - 1));
    std::wstring filter = FilterToWindows(Filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = (DWORD)name.size();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    BOOL ok = kind_ == Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    FileName = name.data();
    return true;
}

}  // namespace win
