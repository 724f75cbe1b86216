#pragma once
// The record a rewrite of the list leaves while it runs: what the positions
// are about to hold, kept under "<store key>\Rewrite" where the store's
// outside readers never look.
//
// It is REG_BINARY in chunks of at most RecordChunkBytes, because Windows
// keeps a value's data under 1 MB and a long list is more than that. Value
// "0" holds the header and the first chunk and is written last, after "1",
// "2", ...: written in one call, it is what makes a record exist, so the
// common list (under a megabyte, some 7,000 entries) costs exactly one
// registry call, and a longer one is never seen half-written. The header's
// lengths and checksum tell a damaged record from a sound one.
//
// Each rewrite first counts itself in "<store key>\Rewrites" (value
// "Started") and carries that number in its record. A reader that sees the
// count unchanged across its read knows that no rewrite began meanwhile;
// a record whose number is no longer the count is done with, and is never
// applied again, even when it could not be removed.
#include <cstdint>
#include <string>
#include <vector>

#include "store/Store.h"

struct RewriteRecord {
    size_t First = 0;      // Entries go to positions First, First + 1, ...
    FolderList Entries;
    size_t RemoveFrom = 0;  // then positions RemoveFrom .. RemoveTo-1 go
    size_t RemoveTo = 0;
    uint32_t Serial = 0;  // the rewrite's number; 0 in records of older versions

    bool operator==(const RewriteRecord&) const = default;
};

inline const std::wstring RewriteRecordKey = L"Rewrite";    // under the store key
inline const std::wstring RewriteCountKey = L"Rewrites";    // under the store key
inline const std::wstring RewriteCountValue = L"Started";
constexpr size_t RecordChunkBytes = 1000000;
constexpr size_t RecordHeaderBytes = 32;
// No list comes near this many positions; a record naming more is damaged.
constexpr size_t RecordMaxPosition = 1u << 24;

// Header and payload, before the split into chunks.
std::vector<uint8_t> EncodeRecord(const RewriteRecord& record);
// False for anything but a whole, consistent record.
bool DecodeRecord(const std::vector<uint8_t>& blob, RewriteRecord& record);

enum class RecordRead { None, Sound, Damaged };
RecordRead ReadRecord(const std::wstring& key, RewriteRecord& record);
void WriteRecord(const std::wstring& key, const RewriteRecord& record);  // raises when refused
bool RemoveRecord(const std::wstring& key);                              // false when refused

// How many rewrites of the store have started; counting one more returns
// its number (raises when refused).
uint32_t RewritesStarted(const std::wstring& key);
uint32_t StartRewrite(const std::wstring& key);
// A sound record of the rewrite that is running or was cut off: the one
// numbered `started` (or of an older version).
bool LiveRecord(const std::wstring& key, uint32_t started, RewriteRecord& record);

// The store's own hook before each change it makes (see SetStoreWriteHook).
void BeforeStoreWrite();
// Finishes the rewrite a record describes, exactly, and removes the record;
// called by the holder of the writer lock (StoreLock.h) only.
RecordState FinishRecordedRewrite(const std::wstring& key);
