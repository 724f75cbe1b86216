#include "app/Options.h"

#include "app/Global.h"

namespace {
constexpr int kClientWidth = 340, kClientHeight = 188;
}

TfrmOptions::TfrmOptions(HWND owner, std::function<void()> saveSettings)
    : TDialogForm(L"TfrmOptions", L"Options", kClientWidth, kClientHeight, owner),
      saveSettings_(std::move(saveSettings)) {
    HWND h = Handle();
    GroupBox1.Create(h, L"", 9, 6, 321, 131);
    HWND g = GroupBox1.Handle();
    // Created in their tab order, which is not their order on the screen.
    cbExploreFolder.Create(g, 16, 56, 291, 17, L"Explore folder when opening it in a stand alone window");
    cbAskDelete.Create(g, 16, 88, 257, 17, L"Ask before removing a selected item from list");
    cbEnableImage.Create(g, 16, 24, 209, 17, L"Enable preview image");
    bOK.Create(h, 168, 149, 75, 25, L"&OK");
    bOK.OnClick = [this] { bOKClick(); };
    bCancel.Create(h, 254, 149, 75, 25, L"&Cancel");
    bCancel.ModalResult = win::mrCancel;

    cbEnableImage.SetChecked(AppOptions.EnableImage);
    cbExploreFolder.SetChecked(AppOptions.ExploreFolder);
    cbAskDelete.SetChecked(AppOptions.AskDelete);
    SetActiveControl(cbExploreFolder.Handle());
}

void TfrmOptions::bOKClick() {
    AppOptions.EnableImage = cbEnableImage.Checked();
    AppOptions.ExploreFolder = cbExploreFolder.Checked();
    AppOptions.AskDelete = cbAskDelete.Checked();
    // A failed write raises and ends the click here: the dialog stays open.
    if (saveSettings_) saveSettings_();
    ModalResult = win::mrOk;
}
