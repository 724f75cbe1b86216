// The main window's office-style look: the painter with its settings.
#include "app/Main.h"
#include "look/MenuLook.h"

namespace {
constexpr COLORREF kFormColor = RGB(214, 223, 247);  // as the window paints itself
}

void TfrmMain::CreateLook() {
    // The list view's flat border takes its colour from the window's.
    xpmenu::SetControlColor(Handle(), kFormColor);
    XPMenu1 = std::make_unique<xpmenu::TXPMenu>(*this);
    ApplyMenuLook(*XPMenu1);
    XPMenu1->Loaded();
}
