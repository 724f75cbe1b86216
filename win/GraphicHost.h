#pragma once
#include <windows.h>

#include <vector>

#include "win/GraphicControl.h"

namespace win {

// The windowless controls of one window. A window that hosts them gives
// every message to Handle first.
class GraphicHost {
public:
    virtual ~GraphicHost();
    static GraphicHost* Of(HWND window);

    void Add(GraphicControl* control);
    void Remove(GraphicControl* control);
    const std::vector<GraphicControl*>& Controls() const { return controls_; }
    // The topmost visible control at a client point.
    GraphicControl* ControlAtPoint(POINT client, bool allowDisabled) const;
    void PaintControls(HDC dc);
    // Notifications to all, pointer routing, painting on WM_PAINT with a DC.
    bool HandleHostMessage(HWND host, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    std::vector<GraphicControl*> controls_;
    GraphicControl* captured_ = nullptr;
    GraphicControl* under_ = nullptr;
};

}  // namespace win
