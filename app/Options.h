#pragma once
#include <functional>

#include "app/DialogForm.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"
#include "win/StdControls.h"

// The three options. OK stores them in AppOptions and saves all settings
// at once; a save that fails leaves the dialog open.
class TfrmOptions : public TDialogForm {
public:
    TfrmOptions(HWND owner, std::function<void()> saveSettings);

    win::GroupBox GroupBox1;
    flat::TFlatCheckBox cbExploreFolder;
    flat::TFlatCheckBox cbAskDelete;
    flat::TFlatCheckBox cbEnableImage;
    flat::TFlatButton bOK;
    flat::TFlatButton bCancel;

    void bOKClick();

protected:
    void DpiChanged(UINT, UINT) override { FitCaptions(); }

private:
    // Widens boxes whose captions need it, and the dialog with them.
    void FitCaptions();
    std::function<void()> saveSettings_;
};
