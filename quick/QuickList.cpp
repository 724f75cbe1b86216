#include "quick/QuickList.h"

#include "store/StoreNames.h"
#include "win/Error.h"
#include "win/Registry.h"

QuickList::QuickList(std::wstring key) : key_(std::move(key)), watch_(key_) {}

bool QuickList::Refresh() {
    if (loaded_ && !watch_.Changed()) return false;
    Reload();
    return true;
}

void QuickList::Reload() {
    // Armed before reading: a change made while reading brings another read.
    watch_.Arm();
    loaded_ = true;
    ++reads_;
    readError_.clear();
    FolderList list;
    try {
        LoadList(key_, list);
    } catch (const win::Error& e) {
        // LoadList has appended what came before the bad value.
        readError_ = e.Message();
    }
    entries_ = std::move(list);
    // The options read as the manager reads them: anything but "0" is on.
    auto option = [&](const wchar_t* name, bool& out) {
        try {
            win::RegKey reg(key_, win::RegKey::Read);
            out = !reg.IsOpen() || OptionOn(reg.ReadString(name));
        } catch (const win::Error& e) {
            out = true;
            if (readError_.empty()) readError_ = e.Message();
        }
    };
    option(PicViewValue, picView_);
    option(ExploreFolderValue, explore_);
}
