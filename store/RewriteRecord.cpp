#include "store/RewriteRecord.h"

#include <algorithm>
#include <cstring>

#include "win/Error.h"

namespace {

constexpr uint32_t kMagic = 0x57524E50;  // "PNRW"
constexpr uint32_t kVersion = 1;

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

// The data of one value of the record key, if it is binary.
bool ReadChunk(HKEY record, size_t i, std::vector<uint8_t>& out) {
    DWORD type = 0, size = 0;
    std::wstring name = ChunkName(i);
    if (RegQueryValueExW(record, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return false;
    out.resize(size);
    DWORD got = size;
    if (RegQueryValueExW(record, name.c_str(), nullptr, &type, size ? out.data() : nullptr, &got) !=
            ERROR_SUCCESS ||
        type != REG_BINARY || got != size)
        return false;
    return true;
}

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
    if (magic != kMagic || version != kVersion || payload != blob.size() - RecordHeaderBytes ||
        chunks != (blob.size() + RecordChunkBytes - 1) / RecordChunkBytes ||
        checksum != Checksum(blob.data() + RecordHeaderBytes, payload))
        return false;
    Reader in(blob.data() + RecordHeaderBytes, payload);
    uint64_t first, count, from, to;
    if (!in.U64(first) || !in.U64(count) || !in.U64(from) || !in.U64(to)) return false;
    // Each entry takes at least two lengths and two characters.
    if (count > in.Left() / 12 || first > RecordMaxPosition || first + count > RecordMaxPosition ||
        from > to || to > RecordMaxPosition || (from < to && from < first + count))
        return false;
    RewriteRecord out;
    out.First = first;
    out.RemoveFrom = from;
    out.RemoveTo = to;
    out.Entries.resize(count);
    for (FolderEntry& e : out.Entries)
        if (!in.Text(e.Alias) || !in.Text(e.Path)) return false;
    if (in.Left() != 0) return false;
    record = std::move(out);
    return true;
}

RecordRead ReadRecord(HKEY store, RewriteRecord& record) {
    HKEY key;
    if (RegOpenKeyExW(store, RewriteRecordKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return RecordRead::None;
    std::vector<uint8_t> blob, chunk;
    bool sound = ReadChunk(key, 0, blob) && blob.size() >= 12;
    if (sound) {
        uint32_t chunks = 0;
        for (int i = 0; i < 4; ++i) chunks |= (uint32_t)blob[8 + i] << (8 * i);
        // Every chunk but the last is full; the header checks the rest.
        sound = chunks >= 1 && chunks <= RecordMaxPosition / 64 &&
                (chunks == 1 || blob.size() == RecordChunkBytes);
        for (uint32_t i = 1; sound && i < chunks; ++i) {
            sound = ReadChunk(key, i, chunk) && !chunk.empty() && chunk.size() <= RecordChunkBytes &&
                    (i + 1 == chunks || chunk.size() == RecordChunkBytes);
            blob.insert(blob.end(), chunk.begin(), chunk.end());
        }
    }
    RegCloseKey(key);
    return sound && DecodeRecord(blob, record) ? RecordRead::Sound : RecordRead::Damaged;
}

void WriteRecord(HKEY store, const RewriteRecord& record) {
    std::vector<uint8_t> blob = EncodeRecord(record);
    size_t chunks = (blob.size() + RecordChunkBytes - 1) / RecordChunkBytes;
    // The first chunk last: until it is there, no record exists.
    for (size_t i = chunks; i-- > 0;) {
        size_t at = i * RecordChunkBytes;
        size_t size = std::min(RecordChunkBytes, blob.size() - at);
        BeforeStoreWrite();
        if (RegSetKeyValueW(store, RewriteRecordKey.c_str(), ChunkName(i).c_str(), REG_BINARY,
                            blob.data() + at, (DWORD)size) != ERROR_SUCCESS)
            throw win::Error(win::Format(L"Failed to set data for '%s'", RewriteRecordKey));
    }
}

void RemoveRecord(HKEY store) {
    BeforeStoreWrite();
    RegDeleteKeyW(store, RewriteRecordKey.c_str());
}
