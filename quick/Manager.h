#pragma once
#include <string>

// "Edit the List...": brings the running manager forward, or starts it
// from the path it wrote to "Setting", or from Pathnook.exe beside this
// program. Returns false with the reason when there is none to start.
bool ShowManager(std::wstring& error);

constexpr const wchar_t* ManagerWindowClass = L"Pathnook Made by Orvell Software";
constexpr unsigned ManagerActivateMessage = 0x1403;
