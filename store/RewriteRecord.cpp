#include "store/RewriteRecord.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "win/Error.h"
#include "win/Registry.h"

namespace {

constexpr uint32_t kMagic = 0x57524E50;  // "PNRW"
constexpr uint32_t kVersion = 2;  // 1: without the serial

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((uint8_t)(v >> (8 * i)));
}
void PutU64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back((uint8_t)(v >> (8 * i)));
}
void PutU64At(std::vector<uint8_t>& out, size_t at, uint64_t v) {
    for (int i = 0; i < 8; ++i) out[at + i] = (uint8_t)(v >> (8 * i));
}
void PutText(std::vector<uint8_t>& out, const std::wstring& text) {
    PutU32(out, (uint32_t)text.size());
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.data());
    out.insert(out.end(), bytes, bytes + text.size() * sizeof(wchar_t));
}

uint64_t Checksum(const uint8_t* data, size_t size) {  // FNV-1a
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// Reads the blob front to back; any read past its end spoils it.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool U32(uint32_t& v) {
        if (end_ - p_ < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i) v |= (uint32_t)p_[i] << (8 * i);
        p_ += 4;
        return true;
    }
    bool U64(uint64_t& v) {
        if (end_ - p_ < 8) return false;
        v = 0;
        for (int i = 0; i < 8; ++i) v |= (uint64_t)p_[i] << (8 * i);
        p_ += 8;
        return true;
    }
    bool Text(std::wstring& text) {
        uint32_t n;
        if (!U32(n) || n == 0 || (size_t)(end_ - p_) / sizeof(wchar_t) < n) return false;
        text.resize(n);
        std::memcpy(text.data(), p_, n * sizeof(wchar_t));
        p_ += n * sizeof(wchar_t);
        return text.find(L'\0') == std::wstring::npos;
    }
    size_t Left() const { return (size_t)(end_ - p_); }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

std::wstring ChunkName(size_t i) { return std::to_wstring(i); }

std::wstring RecordPath(const std::wstring& key) { return key + L"\\" + RewriteRecordKey; }
std::wstring CountPath(const std::wstring& key) { return key + L"\\" + RewriteCountKey; }

}  // namespace

std::vector<uint8_t> EncodeRecord(const RewriteRecord& record) {
    std::vector<uint8_t> blob;
    size_t bytes = RecordHeaderBytes + 32;
    for (const FolderEntry& e : record.Entries) bytes += 8 + (e.Alias.size() + e.Path.size()) * sizeof(wchar_t);
    blob.reserve(bytes);
    PutU32(blob, kMagic);
    PutU32(blob, kVersion);
    PutU32(blob, 0);  // chunk count, below
    PutU32(blob, 0);
    PutU64(blob, 0);  // payload bytes
    PutU64(blob, 0);  // checksum
    PutU64(blob, record.First);
    PutU64(blob, record.Entries.size());
    PutU64(blob, record.RemoveFrom);
    PutU64(blob, record.RemoveTo);
    PutU64(blob, record.Serial);
    for (const FolderEntry& e : record.Entries) {
        PutText(blob, e.Alias);
        PutText(blob, e.Path);
    }
    size_t payload = blob.size() - RecordHeaderBytes;
    uint32_t chunks = (uint32_t)((blob.size() + RecordChunkBytes - 1) / RecordChunkBytes);
    for (int i = 0; i < 4; ++i) blob[8 + i] = (uint8_t)(chunks >> (8 * i));
    PutU64At(blob, 16, payload);
    PutU64At(blob, 24, Checksum(blob.data() + RecordHeaderBytes, payload));
    return blob;
}

bool DecodeRecord(const std::vector<uint8_t>& blob, RewriteRecord& record) {
    Reader header(blob.data(), blob.size());
    uint32_t magic, version, chunks, reserved;
    uint64_t payload, checksum;
    if (!header.U32(magic) || !header.U32(version) || !header.U32(chunks) || !header.U32(reserved) ||
        !header.U64(payload) || !header.U64(checksum))
        return false;
    if (magic != kMagic || (version != 1 && version != kVersion) || payload != blob.size() - RecordHeaderBytes ||
        chunks != (blob.size() + RecordChunkBytes - 1) / RecordChunkBytes ||
        checksum != Checksum(blob.data() + RecordHeaderBytes, payload))
        return false;
    Reader in(blob.data() + RecordHeaderBytes, payload);
    uint64_t first, count, from, to, serial = 0;
    if (!in.U64(first) || !in.U64(count) || !in.U64(from) || !in.U64(to)) return false;
    if (version == kVersion && (!in.U64(serial) || serial > UINT32_MAX)) return false;
    // Each entry takes at least two lengths and two characters.
    if (count > in.Left() / 12 || first > RecordMaxPosition || first + count > RecordMaxPosition ||
        from > to || to > RecordMaxPosition || (from < to && from < first + count))
        return false;
    RewriteRecord out;
    out.First = first;
    out.RemoveFrom = from;
    out.RemoveTo = to;
    out.Serial = (uint32_t)serial;
    out.Entries.resize(count);
    for (FolderEntry& e : out.Entries)
        if (!in.Text(e.Alias) || !in.Text(e.Path)) return false;
    if (in.Left() != 0) return false;
    record = std::move(out);
    return true;
}

RecordRead ReadRecord(const std::wstring& key, RewriteRecord& record) {
    win::RegKey rec(RecordPath(key), win::RegKey::Read);
    if (!rec.IsOpen()) return RecordRead::None;
    std::vector<uint8_t> blob, chunk;
    bool sound = rec.ReadBinary(L"0", blob) && blob.size() >= 12;
    if (sound) {
        uint32_t chunks = 0;
        for (int i = 0; i < 4; ++i) chunks |= (uint32_t)blob[8 + i] << (8 * i);
        // Every chunk but the last is full; the header checks the rest.
        sound = chunks >= 1 && chunks <= RecordMaxPosition / 64 &&
                (chunks == 1 || blob.size() == RecordChunkBytes);
        for (uint32_t i = 1; sound && i < chunks; ++i) {
            sound = rec.ReadBinary(ChunkName(i), chunk) && !chunk.empty() && chunk.size() <= RecordChunkBytes &&
                    (i + 1 == chunks || chunk.size() == RecordChunkBytes);
            blob.insert(blob.end(), chunk.begin(), chunk.end());
        }
    }
    return sound && DecodeRecord(blob, record) ? RecordRead::Sound : RecordRead::Damaged;
}

void WriteRecord(const std::wstring& key, const RewriteRecord& record) {
    std::vector<uint8_t> blob = EncodeRecord(record);
    size_t chunks = (blob.size() + RecordChunkBytes - 1) / RecordChunkBytes;
    std::optional<win::RegKey> rec;
    // The first chunk last: until it is there, no record exists.
    for (size_t i = chunks; i-- > 0;) {
        size_t at = i * RecordChunkBytes;
        BeforeStoreWrite();
        if (!rec) rec.emplace(RecordPath(key), win::RegKey::Create);  // the key comes with its first value
        if (!rec->IsOpen()) throw win::Error(win::Format(L"Failed to set data for '%s'", RewriteRecordKey));
        rec->WriteBinary(ChunkName(i), blob.data() + at, std::min(RecordChunkBytes, blob.size() - at));
    }
}

bool RemoveRecord(const std::wstring& key) {
    BeforeStoreWrite();
    return win::RegKey(key, win::RegKey::Write).DeleteSubKey(RewriteRecordKey);
}

uint32_t RewritesStarted(const std::wstring& key) {
    return win::RegKey(CountPath(key), win::RegKey::Read).ReadDword(RewriteCountValue, 0);
}

uint32_t StartRewrite(const std::wstring& key) {
    win::RegKey count(CountPath(key), win::RegKey::Create);
    uint32_t next = count.ReadDword(RewriteCountValue, 0) + 1;
    if (next == 0) next = 1;  // 0 is the older records' number
    BeforeStoreWrite();
    if (!count.IsOpen()) throw win::Error(win::Format(L"Failed to set data for '%s'", RewriteCountValue));
    count.WriteDword(RewriteCountValue, next);
    return next;
}

bool LiveRecord(const std::wstring& key, uint32_t started, RewriteRecord& record) {
    return ReadRecord(key, record) == RecordRead::Sound && (record.Serial == 0 || record.Serial == started);
}
