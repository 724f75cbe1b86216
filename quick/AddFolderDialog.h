#pragma once
#include <string>

#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatEditUnit.h"
#include "store/Store.h"
#include "win/Form.h"
#include "win/StdControls.h"

// "Add This Folder": the folder shown in the window the quick menu was
// opened over, with an alias proposed from its name. Laid out and painted
// like the manager's item dialog. Fields in, fields out: the caller stores
// the entry.
class TfrmAddFolder : public win::Form {
public:
    TfrmAddFolder(HWND owner, const std::wstring& folder);
    ~TfrmAddFolder() override;

    // What OK leaves: the alias as typed and the folder.
    FolderEntry Entry() const { return entry_; }

    static constexpr const wchar_t* Caption = L"Add This Folder";
    static constexpr const wchar_t* EmptyAliasMessage = L"The alias is empty. Please enter a name for the folder.";

    win::GroupBox gbFolder;
    win::Label lAlias, lPath;
    flat::TFlatEdit feAlias, fePath;
    flat::TFlatButton fbOk, fbCancel;

protected:
    void FormShow() override;
    bool PreTranslate(MSG& msg) override;

private:
    void fbOkClick();
    FolderEntry entry_;
};

// Appends the entry to the stored list under the writer lock, the list
// read afresh inside it. A refused write is told in one message box.
bool AppendToStore(HWND owner, const std::wstring& key, const FolderEntry& entry);
