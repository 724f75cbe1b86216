#include "app/AddItem.h"

#include "app/Global.h"
#include "win/Dpi.h"
#include "win/FolderPicker.h"
#include "win/PathCheck.h"

const wchar_t* const EmptyFieldMessage =
    L"Alias or Path box was empty. Please enter some words in these box.";
const wchar_t* const BrowseTitle = L"Please select the directory to add Pathnook";

namespace {
constexpr int kClientWidth = 305, kClientHeight = 192;
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
    SetBrowseFont();
    fsbBrowse.OnClick = [this] { fsbBrowseClick(); };
    fsbBrowse.AccessibleName = L"Browse for folder";
    fsbBrowse.AccessibleShortcut = L"F4";

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

// The browse button's dots: 15 points, bold, at the dialog's DPI.
void TfrmProperty::SetBrowseFont() {
    fsbBrowse.SetControlFont(win::DeriveFont(Font(), win::FontHeightForPoints(15, Dpi()), true), true);
}

void TfrmProperty::DpiChanged(UINT, UINT) { SetBrowseFont(); }

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

bool TfrmProperty::PreTranslate(MSG& msg) {
    const bool f4 = msg.message == WM_KEYDOWN && msg.wParam == VK_F4;
    const bool altDown = msg.message == WM_SYSKEYDOWN && msg.wParam == VK_DOWN;
    if ((f4 || altDown) && (msg.hwnd == feName.Handle() || msg.hwnd == fePath.Handle()) &&
        fsbBrowse.Enabled()) {
        fsbBrowseClick();
        return true;
    }
    return TDialogForm::PreTranslate(msg);
}

void TfrmProperty::fbOkClick() {
    // The answer of the check under way decides; another OK adds nothing.
    if (checking_) return;
    bool separator = cAddSeparator.Checked();
    std::wstring alias = feName.Text(), path = fePath.Text();
    // The fields first; the folder is asked for on a worker, since a share
    // can take long to answer and the dialog must stay usable meanwhile.
    auto fieldsOnly = [](const std::wstring&) { return true; };
    if (CheckItem(separator, alias, path, fieldsOnly) == ItemCheck::EmptyField) {
        Refuse(ItemCheck::EmptyField, path);
        return;
    }
    if (separator) {
        ModalResult = win::mrOk;
        return;
    }
    checking_ = true;
    win::CheckPaths(work_, {path}, [this, alias, path](const std::vector<win::PathKind>& kinds) {
        checking_ = false;
        // Closed meanwhile (Cancel), or the path changed since: this answer
        // is about nothing the dialog shows now.
        if (ModalResult != win::mrNone || fePath.Text() != path) return;
        bool exists = kinds.at(0) == win::PathKind::Folder;
        ItemCheck check = CheckItem(false, alias, path, [exists](const std::wstring&) { return exists; });
        if (check == ItemCheck::Accept) ModalResult = win::mrOk;
        else Refuse(check, path);
    });
}

void TfrmProperty::Refuse(ItemCheck check, const std::wstring& path) {
    if (check == ItemCheck::EmptyField) {
        MessageBoxW(GetActiveWindow(), EmptyFieldMessage, L"Pathnook", MB_OK | MB_ICONERROR);
        return;
    }
    MessageBoxW(GetActiveWindow(), NoSuchFolderMessage(path).c_str(), L"Pathnook", MB_OK | MB_ICONERROR);
    SetActiveControl(fePath.Handle());
    fePath.SetFocus();
}

FolderEntry TfrmProperty::Entry() const {
    if (cAddSeparator.Checked()) return FolderEntry::Separator();
    return {feName.Text(), fePath.Text()};
}
