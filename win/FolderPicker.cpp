#include "win/FolderPicker.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "win/Error.h"
#include "win/Files.h"
#include "win/WindowLists.h"

namespace win {

namespace {

// Centres the picker's client-area size on the screen once it is up.
int CALLBACK CentreOnScreen(HWND window, UINT msg, LPARAM, LPARAM) {
    return Guarded([&]() -> int {
        if (msg != BFFM_INITIALIZED) return 0;
        RECT client{};
        int x = 0, y = 0;
        if (GetClientRect(window, &client)) {
            x = (GetSystemMetrics(SM_CXSCREEN) - (client.right - client.left)) / 2;
            y = (GetSystemMetrics(SM_CYSCREEN) - (client.bottom - client.top)) / 2;
        }
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    });
}

// While the picker is up, the program's other windows take no input and
// an empty drive shows no system error box; both are undone on every path.
class PickerModality {
public:
    PickerModality() : errorMode_(SetErrorMode(SEM_FAILCRITICALERRORS)) {
        for (HWND w : ThreadWindows())
            if (IsWindowVisible(w) && IsWindowEnabled(w)) disabled_.push_back(w);
        for (HWND w : disabled_) EnableWindow(w, FALSE);
    }
    ~PickerModality() {
        for (HWND w : disabled_)
            if (IsWindow(w)) EnableWindow(w, TRUE);
        // The picker handed the activation to a window that was disabled.
        if (owner_ && IsWindow(owner_) && IsWindowEnabled(owner_)) SetActiveWindow(owner_);
        SetErrorMode(errorMode_);
    }
    PickerModality(const PickerModality&) = delete;
    PickerModality& operator=(const PickerModality&) = delete;
    // The window to own the picker: the one that was active.
    HWND Owner() const { return owner_; }

private:
    HWND owner_ = GetActiveWindow();
    UINT errorMode_;
    std::vector<HWND> disabled_;
};

template <class T>
struct ComRelease {
    T* p = nullptr;
    ~ComRelease() {
        if (p) p->Release();
    }
};

}  // namespace

bool BrowseForDirectory(const std::wstring& title, const std::wstring& root, std::wstring& directory) {
    if (!DirectoryExists(directory)) directory.clear();
    ComRelease<IMalloc> shellMalloc;
    if (FAILED(SHGetMalloc(&shellMalloc.p)) || !shellMalloc.p) return false;
    auto* buffer = static_cast<wchar_t*>(shellMalloc.p->Alloc(MAX_PATH * sizeof(wchar_t)));
    if (!buffer) return false;
    buffer[0] = L'\0';

    LPITEMIDLIST rootItem = nullptr;
    if (!root.empty()) {
        ComRelease<IShellFolder> desktop;
        if (SUCCEEDED(SHGetDesktopFolder(&desktop.p)) && desktop.p) {
            std::wstring name = root;  // ParseDisplayName takes a writable string
            ULONG eaten = 0;
            if (FAILED(desktop.p->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, &rootItem, nullptr)))
                rootItem = nullptr;
        }
    }

    bool chosen = false;
    LPITEMIDLIST item = nullptr;
    {
        PickerModality modality;
        BROWSEINFOW info{};
        info.hwndOwner = modality.Owner();
        info.pidlRoot = rootItem;
        info.pszDisplayName = buffer;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = CentreOnScreen;
        item = SHBrowseForFolderW(&info);
    }
    if (item) {
        // A chosen item that is no file-system folder after all gives no path.
        chosen = SHGetPathFromIDListW(item, buffer) && buffer[0];
        if (chosen) directory = buffer;
        shellMalloc.p->Free(item);
    }
    if (rootItem) shellMalloc.p->Free(rootItem);
    shellMalloc.p->Free(buffer);
    return chosen;
}

}  // namespace win
