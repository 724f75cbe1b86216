#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "win/Control.h"
#include "win/GraphicHost.h"
#include "win/NotifyTarget.h"
#include "win/Window.h"
#include "win/Window.h"

namespace win {

// A static text label; transparent over its parent unless given a colour.
class Label : public Window, public NotifyTarget {
public:
    void Create(HWND parent, const std::wstring& text, int x, int y, int w = 0, int h = 0,
                DWORD extraStyle = 0);
    COLORREF TextColor = CLR_INVALID;  // CLR_INVALID: the window text colour
    std::function<void()> OnClick;     // set before Create to get clicks (SS_NOTIFY)
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Sizes a label made without a width or height to its text again.
    void FitToText();

private:
    bool fitWidth_ = false, fitHeight_ = false;
};

// A standard push button; with a ModalResult it closes its modal form.
class PushButton : public Window, public NotifyTarget {
public:
    void Create(HWND parent, const std::wstring& text, int x, int y, int w, int h,
                DWORD extraStyle = 0);
    std::function<void()> OnClick;
    int ModalResult = 0;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A standard group box that is also a parent: it passes its children's
// notifications on to their wrappers, as a form does, and hosts windowless
// controls.
class GroupBox : public Window, public GraphicHost {
public:
    void Create(HWND parent, const std::wstring& text, int x, int y, int w, int h);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// Measures a text in a window's font, for labels sized to their caption.
SIZE TextExtent(HWND window, const std::wstring& text);

}  // namespace win
