#include "app/AddItem.h"

#include "app/Global.h"
#include "win/FolderPicker.h"
#include "win/Files.h"

const wchar_t* const EmptyFieldMessage =
    L"Alias or Path box was empty. Please enter some words in these box.";
const wchar_t* const BrowseTitle = L"Please select the directory to add Pathnook";

namespace {
constexpr int kClientWidth = 305, kClientHeight = 192;

// Asking about a drive with no disk in it must not bring up the system's
// own error box in front of ours.
bool FolderExists(const std::wstring& path) {
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    bool exists = win::DirectoryExists(path);
    SetErrorMode(old);
    return exists;
}
}  // namespace

ItemCheck CheckItem(bool separator, const std::wstring& alias, const std::wstring& path,
                    const std::function<bool(const std::wstring&)>& directoryExists) {
    if (separator) return ItemCheck::Accept;
    if (alias.empty() || path.empty()) return ItemCheck::EmptyField;
    return directoryExists(path) ? ItemCheck::Accept : ItemCheck::NoSuchFolder;
}

std::wstring NoSuchFolderMessage(const std::wstring& path) {
    return path + L"," + L"the input path does not exist.";
}

TfrmProperty::TfrmProperty(HWND owner, const std::wstring& alias, const std::wstring& path)
    : TDialogForm(L"TfrmProperty", L"Add Item", kClientWidth, kClientHeight, owner) {
    HWND h = Handle();
    GroupBox1.Create(h, L"", 8, 8, 291, 100);
    HWND g = GroupBox1.Handle();
    lAlias.Create(g, L"Alias", 12, 21);
    feName.Create(g, 46, 19, 203, 19, alias);
    lPath.Create(g, L"Path", 12, 64);
    fePath.Create(g, 46, 62, 203, 19, path);
    // Face colour for the flat look, then following the box's colour.
    for (flat::TFlatEdit* edit : {&feName, &fePath}) {
        edit->SetColorFlat(win::clBtnFace);
        edit->SetParentColor(true);
    }
    fsbBrowse.Create(g, 257, 61, 22, 22, L"...");
    fsbBrowse.SetControlFont(win::DeriveFont(Font(), -20, true), true);
    fsbBrowse.OnClick = [this] { fsbBrowseClick(); };

    cAddSeparator.Create(h, 8, 120, 145, 17, L"Add a Separator Line");
    cAddSeparator.OnClick = [this] { cAddSeparatorClick(); };
    fbOk.Create(h, 153, 154, 65, 25, L"&OK");
    fbOk.OnClick = [this] { fbOkClick(); };
    fbCancel.Create(h, 233, 154, 65, 25, L"&Cancel");
    fbCancel.ModalResult = win::mrCancel;

    if (alias == FolderEntry::SeparatorAlias && path == FolderEntry::SeparatorPath) {
        SetGroupEnabled(false);
        cAddSeparator.SetChecked(true);
    }
    SetActiveControl(feName.Handle());
}

void TfrmProperty::SetGroupEnabled(bool enabled) {
    GroupBox1.SetEnabled(enabled);
    lAlias.SetEnabled(enabled);
    lPath.SetEnabled(enabled);
    feName.SetEnabled(enabled);
    fePath.SetEnabled(enabled);
    fsbBrowse.SetEnabled(enabled);
}

void TfrmProperty::cAddSeparatorClick() { SetGroupEnabled(!cAddSeparator.Checked()); }

void TfrmProperty::fsbBrowseClick() {
    std::wstring folder;
    if (!win::BrowseForDirectory(BrowseTitle, L"", folder)) return;
    fePath.SetText(folder);
    feName.SetText(AliasFromPath(folder));
}

void TfrmProperty::fbOkClick() {
    std::wstring path = fePath.Text();
    switch (CheckItem(cAddSeparator.Checked(), feName.Text(), path, FolderExists)) {
    case ItemCheck::Accept: ModalResult = win::mrOk; break;
    case ItemCheck::EmptyField:
        MessageBoxW(GetActiveWindow(), EmptyFieldMessage, L"Pathnook", MB_OK | MB_ICONERROR);
        break;
    case ItemCheck::NoSuchFolder:
        MessageBoxW(GetActiveWindow(), NoSuchFolderMessage(path).c_str(), L"Pathnook", MB_OK | MB_ICONERROR);
        SetActiveControl(fePath.Handle());
        fePath.SetFocus();
        break;
    }
}

FolderEntry TfrmProperty::Entry() const {
    if (cAddSeparator.Checked()) return FolderEntry::Separator();
    return {feName.Text(), fePath.Text()};
}
