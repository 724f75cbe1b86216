#pragma once
// What the manager, the quick menu, the installer and the tests agree on,
// beside the store's names (StoreNames.h). The build reads the two window
// classes from this file for the installer, so they are written here only.
#include "win/Messages.h"

// The manager's main window; a second start finds the running one by it.
constexpr const wchar_t* MainWindowClass = L"Pathnook Made by Orvell Software";
// The quick menu's hidden window; its one instance is found by it.
constexpr const wchar_t* QuickWindowClass = L"PathnookQuick";

// The manager's messages. A second start posts WM_ACTIVATEINSTANCE (both
// parameters 0) to bring the running one forward.
constexpr UINT ManagerMessages = win::ProgramMessages.First;
constexpr UINT WM_ACTIVATEINSTANCE = ManagerMessages + 0x03;
// The quick menu's messages, numbered from here.
constexpr UINT QuickMessages = win::ProgramMessages.First + 0x80;
static_assert(WM_ACTIVATEINSTANCE == 0x1403 && win::ProgramMessages.Holds(QuickMessages + 0x7F));
