#pragma once
#include <string>

// "Edit the List...": brings the running manager forward, or starts it
// from the path it wrote to "Setting", or from Pathnook.exe beside this
// program. Returns false with the reason when there is none to start.
bool ShowManager(std::wstring& error);
