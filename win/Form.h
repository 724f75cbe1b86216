#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "win/Action.h"
#include "win/Control.h"
#include "win/GraphicHost.h"
#include "win/NotifyTarget.h"
#include "win/Menu.h"
#include "win/Window.h"

namespace win {

enum ModalResult : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

// A top-level window: caption, font, actions, an optional menu bar, modal
// showing with a modal result, and routing of child notifications back to
// the wrappers of the children that sent them. It also hosts windowless
// controls.
class Form : public Window, public GraphicHost {
public:
    Form();
    ~Form() override;

    // Creates the window with the given outer (or, with clientSize, client)
    // size in 96-DPI pixels, scaled to the DPI it opens at; the owner is
    // another top-level window or null.
    void CreateForm(const wchar_t* className, const std::wstring& caption, int width, int height,
                    DWORD style, HWND owner, bool clientSize);

    // The DPI the window is shown at, and a 96-DPI length at it.
    UINT Dpi() const { return dpi_; }
    int Scale(int value) const { return MulDiv(value, (int)dpi_, 96); }
    // Takes a new DPI as WM_DPICHANGED brings it: the window's rectangle
    // (null: scaled about its top-left corner), the font, every child's
    // place and size, then DpiChanged for the rest.
    void ApplyDpi(UINT dpi, const RECT* suggested);

    ActionList& Actions() { return actions_; }
    MainMenu& Menu() { return menu_; }
    void AttachMenu();  // builds Menu() and sets it as the window's menu bar

    HFONT Font() const { return font_; }
    // The face at a size in points, at the window's DPI (again whenever the
    // DPI changes).
    void SetFormFont(const wchar_t* face, int points);

    void CenterOnScreen();
    void CenterOn(HWND other);

    // Destroys the window (Sealed does it before any member goes).
    void DestroyHandle();

    // Shows the form; the first time, FormShow and FirstShow run before.
    void Show(int showCommand = SW_SHOW);

    // Modal showing: other forms are disabled until ModalResult is set or
    // the window is closed (which counts as mrCancel).
    int ShowModal();
    int ModalResult = mrNone;

    void UpdateActions();
    // Short-cuts of the menu and the actions, then dialog keys. Returns true
    // when the message was consumed.
    virtual bool PreTranslate(MSG& msg);

    // Offers a character to the form's controls as an accelerator (Alt+key,
    // or a plain key when the focused control takes no characters).
    bool DialogChar(WPARAM ch);

    // Set for dialogs: Tab and arrow keys move the focus between tab stops.
    bool DialogKeys = false;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void FormShow() {}
    virtual void FirstShow() {}  // placing at the first showing
    virtual void FormClose() {}
    // After the children moved to a new DPI: what the form sized itself
    // (image lists, column widths, fonts of its own).
    virtual void DpiChanged(UINT from, UINT to) {}
    // A modal form's WM_CLOSE sets mrCancel; others are destroyed.
    virtual bool CanClose() { return true; }

private:
    // Only Sealed overrides it: a form is abstract until sealed.
    virtual void MadeSealed() = 0;

    ActionList actions_;
    MainMenu menu_;
    FontHandle font_;
    std::wstring fontFace_;
    int fontPoints_ = 8;
    UINT dpi_ = 96;
    bool modal_ = false;
    bool shown_ = false;
};


// A form as it is instantiated: `win::Sealed<TMyForm> form(args);` or
// `std::make_unique<win::Sealed<TMyForm>>(args)`. Its destructor runs
// before any of the form's own and destroys the window while every member
// still lives, so that children calling back into members while the window
// goes (list texts, painters) find them intact. Form is abstract until
// sealed, so no form can be made any other way.
template <typename T>
class Sealed final : public T {
public:
    using T::T;
    Sealed() = default;
    ~Sealed() override { this->DestroyHandle(); }

private:
    void MadeSealed() override {}
};

}  // namespace win
