#include "app/Options.h"

#include <algorithm>

#include "app/Global.h"
#include "win/Gdi.h"

namespace {
constexpr int kClientWidth = 340, kClientHeight = 188;
constexpr int kGroupWidth = 321, kBoxMargin = 14;  // a box's right edge to the group box's

// A box whose caption needs more than its one line in the face the system
// resolved keeps its place and grows to the right, so the caption shows whole.
void GrowToCaption(flat::TFlatCheckBox& box) {
    const std::wstring text = box.Text();
    RECT need{0, 0, 0, 0};
    {
        win::WindowDC dc(box.Handle());
        win::Selection font(dc, box.Font());
        DrawTextW(dc, text.c_str(), (int)text.size(), &need, DT_CALCRECT | DT_SINGLELINE);
    }
    RECT caption = box.CaptionRect();
    int extra = need.right - (caption.right - caption.left);
    if (extra <= 0) return;
    RECT b = box.Bounds();
    box.SetBounds(b.left, b.top, b.right - b.left + extra, b.bottom - b.top);
}
}  // namespace

TfrmOptions::TfrmOptions(HWND owner, std::function<void()> saveSettings)
    : TDialogForm(L"TfrmOptions", L"Options", kClientWidth, kClientHeight, owner),
      saveSettings_(std::move(saveSettings)) {
    HWND h = Handle();
    GroupBox1.Create(h, L"", 9, 6, kGroupWidth, 131);
    HWND g = GroupBox1.Handle();
    // Created in their tab order, which is not their order on the screen.
    cbExploreFolder.Create(g, 16, 56, 291, 17, L"Explore folder when opening it in a stand alone window");
    cbAskDelete.Create(g, 16, 88, 257, 17, L"Ask before removing a selected item from list");
    cbEnableImage.Create(g, 16, 24, 209, 17, L"Enable preview image");
    bOK.Create(h, 168, 149, 75, 25, L"&OK");
    bOK.OnClick = [this] { bOKClick(); };
    bCancel.Create(h, 254, 149, 75, 25, L"&Cancel");
    bCancel.ModalResult = win::mrCancel;
    FitCaptions();

    cbEnableImage.SetChecked(AppOptions.EnableImage);
    cbExploreFolder.SetChecked(AppOptions.ExploreFolder);
    cbAskDelete.SetChecked(AppOptions.AskDelete);
    SetActiveControl(cbExploreFolder.Handle());
}

// Boxes that grew take the group box, the dialog and its right-aligned
// buttons along, keeping the box's margin on the right. Run again at a new
// DPI, where the face may need more than its share.
void TfrmOptions::FitCaptions() {
    RECT group = GroupBox1.Bounds();
    const int groupWidth = group.right - group.left;
    int grow = 0;
    for (auto* box : {&cbExploreFolder, &cbAskDelete, &cbEnableImage}) {
        GrowToCaption(*box);
        grow = std::max<int>(grow, box->Bounds().right + Scale(kBoxMargin) - groupWidth);
    }
    if (grow <= 0) return;
    RECT w{};
    GetWindowRect(Handle(), &w);
    SetWindowPos(Handle(), nullptr, 0, 0, w.right - w.left + grow, w.bottom - w.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GroupBox1.SetBounds(group.left, group.top, groupWidth + grow, group.bottom - group.top);
    for (auto* b : {&bOK, &bCancel}) {
        RECT r = b->Bounds();
        b->SetBounds(r.left + grow, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void TfrmOptions::bOKClick() {
    AppOptions.EnableImage = cbEnableImage.Checked();
    AppOptions.ExploreFolder = cbExploreFolder.Checked();
    AppOptions.AskDelete = cbAskDelete.Checked();
    // A failed write raises and ends the click here: the dialog stays open.
    if (saveSettings_) saveSettings_();
    ModalResult = win::mrOk;
}
