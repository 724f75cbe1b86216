#pragma once
#include <functional>
#include <string>

#include "app/DialogForm.h"
#include "store/Store.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"
#include "flatctrls/TFlatEditUnit.h"
#include "flatctrls/TFlatSpeedButtonUnit.h"
#include "win/BackgroundWork.h"
#include "win/StdControls.h"

// What OK makes of the dialog, checked in this order: a separator needs no
// fields; both fields must be filled; the path must be an existing folder.
enum class ItemCheck { Accept, EmptyField, NoSuchFolder };
ItemCheck CheckItem(bool separator, const std::wstring& alias, const std::wstring& path,
                    const std::function<bool(const std::wstring&)>& directoryExists);

extern const wchar_t* const EmptyFieldMessage;
std::wstring NoSuchFolderMessage(const std::wstring& path);
extern const wchar_t* const BrowseTitle;

// The add and edit dialog for one entry: alias and path, or a separator.
class TfrmProperty : public TDialogForm {
public:
    // A separator entry opens with the box checked and the fields disabled.
    TfrmProperty(HWND owner, const std::wstring& alias, const std::wstring& path);

    win::GroupBox GroupBox1;
    win::Label lAlias;
    flat::TFlatEdit feName;
    win::Label lPath;
    flat::TFlatEdit fePath;
    flat::TFlatSpeedButton fsbBrowse;
    flat::TFlatCheckBox cAddSeparator;
    flat::TFlatButton fbOk;
    flat::TFlatButton fbCancel;

    void cAddSeparatorClick();
    void fsbBrowseClick();
    void fbOkClick();

    // What the dialog holds: the separator entry when the box is checked.
    FolderEntry Entry() const;
    // Whether OK's folder check is still waiting for its answer.
    bool Checking() const { return checking_; }

protected:
    // F4 or Alt+Down in either field opens the folder picker, as they open
    // a combo box's list: "..." never takes the focus.
    bool PreTranslate(MSG& msg) override;
    void DpiChanged(UINT from, UINT to) override;

private:
    void SetBrowseFont();
    void Refuse(ItemCheck check, const std::wstring& path);

    // The group box alone would take the input away from its controls but
    // leave them looking usable; each of them shows the state too.
    void SetGroupEnabled(bool enabled);

    bool checking_ = false;
    win::BackgroundWork work_;  // last: an answer after the dialog is gone is dropped
};
