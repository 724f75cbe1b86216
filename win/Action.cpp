#include "win/Action.h"

namespace win {

std::wstring ShortCutText(ShortCut sc) {
    if (!sc) return {};
    std::wstring text;
    if (sc & kShift) text += L"Shift+";
    if (sc & kCtrl) text += L"Ctrl+";
    if (sc & kAlt) text += L"Alt+";
    UINT vk = sc & 0xFF;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        text += (wchar_t)vk;
    } else if (vk >= VK_F1 && vk <= VK_F24) {
        text += L"F" + std::to_wstring(vk - VK_F1 + 1);
    } else {
        wchar_t name[64] = {};
        LONG scan = (LONG)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16;
        if (vk == VK_DELETE || vk == VK_INSERT || (vk >= VK_PRIOR && vk <= VK_DOWN)) scan |= 1 << 24;
        GetKeyNameTextW(scan, name, 64);
        text += name;
    }
    return text;
}

ShortCut ShortCutFromKey(WPARAM vk) {
    ShortCut sc = (ShortCut)(vk & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0) sc |= kShift;
    if (GetKeyState(VK_CONTROL) < 0) sc |= kCtrl;
    if (GetKeyState(VK_MENU) < 0) sc |= kAlt;
    return sc;
}

void Action::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (OnChange) OnChange(*this);
}

void Action::SetHint(std::wstring hint) {
    if (hint == Hint) return;
    Hint = std::move(hint);
    if (OnChange) OnChange(*this);
}

// An action without a command to run stays disabled.
void Action::Update() { SetEnabled(OnExecute && (!OnUpdate || OnUpdate())); }

bool Action::Execute() {
    Update();
    if (!enabled_ || !OnExecute) return false;
    OnExecute();
    return true;
}

Action& ActionList::Add(UINT id, std::wstring caption, std::wstring hint, int image, ShortCut key,
                        std::function<void()> execute, std::function<bool()> update) {
    auto a = std::make_unique<Action>();
    a->Id = id;
    a->Caption = std::move(caption);
    a->Hint = std::move(hint);
    a->ImageIndex = image;
    a->Key = key;
    a->OnExecute = std::move(execute);
    a->OnUpdate = std::move(update);
    a->OnChange = [this](Action& changed) {
        for (auto& l : listeners_) l(changed);
    };
    actions_.push_back(std::move(a));
    return *actions_.back();
}

Action* ActionList::Find(UINT id) const {
    for (auto& a : actions_)
        if (a->Id == id) return a.get();
    return nullptr;
}

Action* ActionList::FindShortCut(ShortCut key) const {
    for (auto& a : actions_)
        if (a->Key && a->Key == key) return a.get();
    return nullptr;
}

void ActionList::Update() {
    for (auto& a : actions_) a->Update();
}

void ActionList::AddChangeListener(std::function<void(Action&)> listener) {
    listeners_.push_back(std::move(listener));
}

}  // namespace win
