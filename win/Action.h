#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace win {

// A key with its modifiers, encoded as virtual key | modifier bits.
using ShortCut = UINT;
constexpr ShortCut kShift = 0x2000;
constexpr ShortCut kCtrl = 0x4000;
constexpr ShortCut kAlt = 0x8000;

std::wstring ShortCutText(ShortCut sc);  // "Ctrl+A"
// The short-cut a key-down message makes with the modifier keys held now.
ShortCut ShortCutFromKey(WPARAM vk);

// One command shared by menu items, tool-bar buttons and short-cuts. Its
// enabled state is computed by OnUpdate at idle time, never by commands.
class Action {
public:
    UINT Id = 0;
    std::wstring Caption;
    std::wstring Hint;
    int ImageIndex = -1;
    ShortCut Key = 0;
    std::function<void()> OnExecute;
    std::function<bool()> OnUpdate;  // returns whether the action is enabled

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetHint(std::wstring hint);
    void Update();
    // Refreshes the enabled state first, as a click or a short-cut may come
    // before the next idle time; runs only when enabled.
    bool Execute();

    std::function<void(Action&)> OnChange;  // set by the owning list

private:
    bool enabled_ = true;
};

class ActionList {
public:
    Action& Add(UINT id, std::wstring caption, std::wstring hint, int image, ShortCut key,
                std::function<void()> execute, std::function<bool()> update = {});
    Action* Find(UINT id) const;
    Action* FindShortCut(ShortCut key) const;
    void Update();
    const std::vector<std::unique_ptr<Action>>& Items() const { return actions_; }

    // Called whenever an action's enabled state or hint changes.
    void AddChangeListener(std::function<void(Action&)> listener);

private:
    std::vector<std::unique_ptr<Action>> actions_;
    std::vector<std::function<void(Action&)>> listeners_;
};

}  // namespace win
