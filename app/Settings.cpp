#include "app/Settings.h"

#include "win/Files.h"

std::wstring SettingsFilePath(SettingsUse use) {
    return SettingsFilePath(use, win::ExeFolder(), win::AppDataFolder());
}

std::wstring SettingsFilePath(SettingsUse use, const std::wstring& exeFolder,
                              const std::wstring& appData) {
    std::wstring local = exeFolder + L"options.ini";
    if (win::CanCreateFileIn(exeFolder)) return local;
    std::wstring folder = appData + L"\\Pathnook";
    std::wstring roaming = folder + L"\\options.ini";
    if (use == SettingsUse::Read)
        return !win::FileExists(roaming) && win::FileExists(local) ? local : roaming;
    win::EnsureDirectory(folder);
    return roaming;
}

bool SizeUsable(int width, int height) {
    return width >= GetSystemMetrics(SM_CXMIN) && height >= GetSystemMetrics(SM_CYMIN);
}

bool PositionUsable(const RECT& bounds) {
    return MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL) != nullptr;
}
