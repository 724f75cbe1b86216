#include "quick/AddFolderDialog.h"

#include "store/StoreLock.h"
#include "win/Error.h"

namespace {
// The manager's item dialog, less its browse button and separator box.
constexpr int kClientWidth = 305, kClientHeight = 152;
}  // namespace

TfrmAddFolder::TfrmAddFolder(HWND owner, const std::wstring& folder) : entry_{AliasFromPath(folder), folder} {
    DialogKeys = true;
    CreateForm(L"TfrmAddFolder", Caption, kClientWidth, kClientHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner,
               true);
    HWND h = Handle();
    gbFolder.Create(h, L"", 8, 8, 291, 100);
    HWND g = gbFolder.Handle();
    lAlias.Create(g, L"Alias", 12, 21);
    feAlias.Create(g, 46, 19, 233, 19, entry_.Alias);
    lPath.Create(g, L"Path", 12, 64);
    fePath.Create(g, 46, 62, 233, 19, folder);
    // The folder is the one shown where the menu was opened; only the
    // alias is the user's to choose.
    fePath.SetReadOnly(true);
    for (flat::TFlatEdit* edit : {&feAlias, &fePath}) {
        edit->SetColorFlat(win::clBtnFace);
        edit->SetParentColor(true);
    }
    fbOk.Create(h, 153, 118, 65, 25, L"&OK");
    fbOk.SetDefault(true);
    fbOk.OnClick = [this] { fbOkClick(); };
    fbCancel.Create(h, 233, 118, 65, 25, L"&Cancel");
    fbCancel.ModalResult = win::mrCancel;
}

TfrmAddFolder::~TfrmAddFolder() { DestroyHandle(); }

void TfrmAddFolder::FormShow() {
    CenterOnScreen();
    // Opened from another program's window: come forward to take the keys.
    SetForegroundWindow(Handle());
    feAlias.SetFocus();
    feAlias.SelectAll();
}

bool TfrmAddFolder::PreTranslate(MSG& msg) {
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
        (msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd))) {
        if (msg.wParam == VK_RETURN) fbOkClick();
        else ModalResult = win::mrCancel;
        return true;
    }
    return Form::PreTranslate(msg);
}

void TfrmAddFolder::fbOkClick() {
    std::wstring alias = feAlias.Text();
    if (alias.find_first_not_of(L" \t") == std::wstring::npos) {
        MessageBoxW(Handle(), EmptyAliasMessage, L"Pathnook", MB_OK | MB_ICONERROR);
        feAlias.SetFocus();
        return;
    }
    entry_.Alias = alias;
    ModalResult = win::mrOk;
}

bool AppendToStore(HWND owner, const std::wstring& key, const FolderEntry& entry) {
    try {
        StoreWriter lock(key);  // nothing lands between the reading and the append
        FolderList list;
        LoadList(key, list);
        AppendEntry(key, list, entry);
        return true;
    } catch (const win::Error& e) {
        std::wstring text = L"\"" + entry.Alias + L"\" could not be added to the list.\n\n" + win::ErrorBoxText(e.Message());
        MessageBoxW(owner, text.c_str(), L"Pathnook", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        return false;
    }
}
