#pragma once
// The record a rewrite of several positions leaves while it runs: what the
// positions are about to hold, kept under "<store key>\Rewrite" where the
// readers of the list never look.
//
// It is REG_BINARY in chunks of at most RecordChunkBytes, because Windows
// keeps a value's data under 1 MB and a long list is more than that. Value
// "0" holds the header and the first chunk and is written last, after "1",
// "2", ...: written in one call, it is what makes a record exist, so the
// common list (under a megabyte, some 7,000 entries) costs exactly one
// registry call, and a longer one is never seen half-written. The header's
// lengths and checksum tell a damaged record from a sound one.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "store/Store.h"

struct RewriteRecord {
    size_t First = 0;      // Entries go to positions First, First + 1, ...
    FolderList Entries;
    size_t RemoveFrom = 0;  // then positions RemoveFrom .. RemoveTo-1 go
    size_t RemoveTo = 0;

    bool operator==(const RewriteRecord&) const = default;
};

inline const std::wstring RewriteRecordKey = L"Rewrite";  // under the store key
constexpr size_t RecordChunkBytes = 1000000;
constexpr size_t RecordHeaderBytes = 32;
// No list comes near this many positions; a record naming more is damaged.
constexpr size_t RecordMaxPosition = 1u << 24;

// Header and payload, before the split into chunks.
std::vector<uint8_t> EncodeRecord(const RewriteRecord& record);
// False for anything but a whole, consistent record.
bool DecodeRecord(const std::vector<uint8_t>& blob, RewriteRecord& record);

enum class RecordRead { None, Sound, Damaged };
RecordRead ReadRecord(HKEY store, RewriteRecord& record);
void WriteRecord(HKEY store, const RewriteRecord& record);  // raises when refused
void RemoveRecord(HKEY store);

// The store's own hook before each change it makes (see SetStoreWriteHook).
void BeforeStoreWrite();
// Finishes the rewrite a failure of this process left recorded, if any.
void FinishPendingRewrite(const std::wstring& key);
