#include "app/Settings.h"

#include "win/Files.h"

std::wstring SettingsFilePath() {
    std::wstring local = win::ExeFolder() + L"options.ini";
    if (win::CanCreateFileIn(win::ExeFolder())) return local;
    std::wstring folder = win::AppDataFolder() + L"\\Pathnook";
    std::wstring roaming = folder + L"\\options.ini";
    if (win::FileExists(roaming)) return roaming;
    if (win::FileExists(local)) return local;  // read-only defaults shipped beside the program
    win::EnsureDirectory(folder);
    return roaming;
}

bool SizeUsable(int width, int height) {
    return width >= GetSystemMetrics(SM_CXMIN) && height >= GetSystemMetrics(SM_CYMIN);
}

bool PositionUsable(const RECT& bounds) {
    return MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL) != nullptr;
}
