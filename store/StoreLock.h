#pragma once
#include <windows.h>

#include <string>

#include "store/Store.h"

// One writer at a time for a store, across every Pathnook program of this
// user: a named mutex per store key. Whoever takes it while no one holds it
// first finishes a rewrite that a writer which died (or failed) left
// recorded, so that nothing is ever written over half a rewrite. The same
// thread may take it again; only its outermost hold waits and finishes.
class StoreWriter {
public:
    explicit StoreWriter(const std::wstring& key);  // raises when the list stays busy
    ~StoreWriter();
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;

    // What the outermost hold found and did with a record left behind.
    RecordState Finished() const { return finished_; }

    // How long a writer waits for another one before it gives up.
    static constexpr DWORD WaitMs = 15000;

private:
    std::wstring key_;
    RecordState finished_ = RecordState::None;
};

// True while this thread holds the writer lock of the store: a record found
// then belongs to its own rewrite, which is live.
bool HoldsStoreWriter(const std::wstring& key);

// For readers: finishes a recorded rewrite when no writer holds the lock
// (its writer died), without waiting; does nothing while a writer runs.
RecordState FinishOrphanedRewrite(const std::wstring& key);
