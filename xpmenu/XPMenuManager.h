#pragma once
#include <windows.h>

#include <vector>

#include "win/Form.h"

namespace xpmenu {

class TXPMenu;

// One per process: knows every painter, picks the active one and paints the
// forms that own none with it as they appear.
class TXPMenuManager {
public:
    static TXPMenuManager* Instance() { return instance_; }
    static TXPMenuManager& Ensure();

    void RegisterPainter(TXPMenu* p);
    void UnregisterPainter(TXPMenu* p);
    void HandOver(TXPMenu* leaving);
    void QueueForms();
    void NoteForm(win::Form* form, bool inserted);
    void RestoreForm(win::Form& form);
    // Runs for every message the application takes from its queue.
    void OnAppMessage();

    TXPMenu* ActivePainter() const { return active_; }
    const std::vector<win::Form*>& PendingForms() const { return pending_; }
    const std::vector<win::Form*>& HandledForms() const { return handled_; }
    HWND AppWindow() const { return appWindow_; }

    // Every painter constructed, registered or not.
    void Constructed(TXPMenu* p);
    void Destroyed(TXPMenu* p);
    bool FormOwnsPainter(win::Form* form) const;

    void FrameMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    TXPMenuManager();
    ~TXPMenuManager();
    static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);

    static TXPMenuManager* instance_;
    std::vector<TXPMenu*> painters_, all_;
    std::vector<win::Form*> pending_, handled_;
    TXPMenu* active_ = nullptr;
    HWND appWindow_ = nullptr;
    int hook_ = 0, formListener_ = 0;
};

// Draws a flat frame with a drop shadow on a popup menu window, and hooks
// the window (SetWindowSubclass) until it hides.
void PaintFlatFrame(TXPMenu* painter, HWND w, bool rightToLeft);
// Whether a popup window is hooked for its flat frame.
bool HasFlatFrame(HWND w);

}  // namespace xpmenu
