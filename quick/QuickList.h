#pragma once
#include <string>

#include "store/Store.h"
#include "win/RegWatch.h"

// The list as the quick menu shows it: read from the store once, kept in
// memory, and read again only after the key has changed, so that opening
// the menu costs no registry call when nothing changed.
class QuickList {
public:
    explicit QuickList(std::wstring key = StoreKey);

    // Reads the list if the key changed since the last read (or it was
    // never read). Returns true when it read.
    bool Refresh();
    // Reads now; for the change event taken by the message loop.
    void Reload();
    // The events a message loop waits on; Reload() when one is signalled.
    std::array<HANDLE, 2> ChangeEvents() const { return watch_.Events(); }
    const win::RegWatch& Watch() const { return watch_; }

    const FolderList& Entries() const { return entries_; }
    bool PicView() const { return picView_; }
    bool ExploreFolder() const { return explore_; }
    // A value of the wrong type stops the reading where it stands; its
    // message is kept here rather than shown at every reload.
    const std::wstring& ReadError() const { return readError_; }
    int Reads() const { return reads_; }
    const std::wstring& Key() const { return key_; }

private:
    std::wstring key_;
    win::RegWatch watch_;
    FolderList entries_;
    bool picView_ = true, explore_ = true;
    bool loaded_ = false;
    std::wstring readError_;
    int reads_ = 0;
};
