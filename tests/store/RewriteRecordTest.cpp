// The record that makes a rewrite of several positions survive a crash:
// its encoding, what a start does with a sound or a damaged one, and what
// it costs, against the real registry under a key of the tests' own.
#include <gtest/gtest.h>

#include "store/RewriteRecord.h"
#include "store/Store.h"
#include "support/TestSupport.h"
#include "win/Error.h"
#include "win/Registry.h"

using namespace testing_support;

namespace {
const std::wstring kKey = L"Software\\PathnookRecordTest";
const std::wstring kRecord = kKey + L"\\" + RewriteRecordKey;

FolderList Entries(int n, const std::wstring& tag = L"a") {
    FolderList list;
    for (int i = 0; i < n; ++i) list.push_back({tag + std::to_wstring(i), L"C:\\" + tag + std::to_wstring(i)});
    return list;
}

bool RecordExists() {
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRecord.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void PutBinary(const std::wstring& name, const std::vector<uint8_t>& data, DWORD type = REG_BINARY) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kRecord.c_str(), name.c_str(), type, data.data(), (DWORD)data.size());
}

// Counts the store's changes; throws at the one numbered `failAt` (0-based).
struct CountingHook {
    int calls = 0;
    int failAt = -1;
    CountingHook() {
        SetStoreWriteHook([this] {
            if (calls++ == failAt) throw win::Error(L"crash");
        });
    }
    ~CountingHook() { SetStoreWriteHook(nullptr); }
};

class RewriteRecordTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kKey); }
    void TearDown() override {
        SetStoreWriteHook(nullptr);
        FinishRewrite(kKey);  // nothing pending for the next test
        DeleteKeyTree(kKey);
    }
    void Store(const FolderList& list) {
        for (size_t i = 0; i < list.size(); ++i) {
            SetString(kKey, AliasName(i), list[i].Alias);
            SetString(kKey, PathName(i), list[i].Path);
        }
    }
    FolderList Load() {
        FolderList list;
        LoadList(kKey, list);
        return list;
    }
    void Write(const RewriteRecord& record) {
        WriteRecord(kKey, record);
    }
};
}  // namespace

TEST_F(RewriteRecordTest, EncodingRoundTripsAndRejectsEveryTruncation) {
    RewriteRecord record{3, {{L"Έγγραφα", L"C:\\Документы"}, FolderEntry::Separator()}, 5, 6};
    std::vector<uint8_t> blob = EncodeRecord(record);
    RewriteRecord back;
    ASSERT_TRUE(DecodeRecord(blob, back));
    EXPECT_EQ(back, record);
    for (size_t n = 0; n < blob.size(); ++n) {
        std::vector<uint8_t> cut(blob.begin(), blob.begin() + (std::ptrdiff_t)n);
        EXPECT_FALSE(DecodeRecord(cut, back)) << "cut at " << n;
    }
    std::vector<uint8_t> longer = blob;
    longer.push_back(0);
    EXPECT_FALSE(DecodeRecord(longer, back));
    for (size_t at : {size_t(0), size_t(9), RecordHeaderBytes + 9, blob.size() - 1}) {
        std::vector<uint8_t> flipped = blob;
        flipped[at] ^= 0x40;
        EXPECT_FALSE(DecodeRecord(flipped, back)) << "byte " << at;
    }
}

TEST_F(RewriteRecordTest, ALeftRecordIsFinishedExactlyThenRemoved) {
    Store(Entries(5));
    SetString(kKey, L"PicView", L"1");
    // A delete of position 1 of 5 stopped after writing position 1.
    FolderList after = Entries(5);
    after.erase(after.begin() + 1);
    SetString(kKey, L"N1", after[1].Alias);
    SetString(kKey, L"P1", after[1].Path);
    Write({1, {after.begin() + 1, after.end()}, 4, 5});
    EXPECT_EQ(FinishRewrite(kKey), RecordState::Finished);
    EXPECT_EQ(Load(), after);
    auto values = ReadKeyValues(kKey);
    EXPECT_EQ(values.size(), 9u);  // four entries and PicView; N4/P4 gone
    EXPECT_EQ(values.count(L"N4"), 0u);
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(FinishRewrite(kKey), RecordState::None);
}

TEST_F(RewriteRecordTest, ADamagedRecordIsRemovedAndTheStoreLeftAsItStands) {
    RewriteRecord record{0, Entries(3, L"new"), 3, 4};
    std::vector<uint8_t> blob = EncodeRecord(record);
    std::vector<uint8_t> impossible = EncodeRecord({0, Entries(1, L"x"), 0, 0});
    impossible[RecordHeaderBytes + 8] = 0xFF;  // count: more entries than the bytes hold
    struct Case {
        const char* name;
        std::function<void()> put;
    } cases[] = {
        {"truncated", [&] { PutBinary(L"0", {blob.begin(), blob.end() - 3}); }},
        {"header only", [&] { PutBinary(L"0", {blob.begin(), blob.begin() + RecordHeaderBytes}); }},
        {"empty", [&] { PutBinary(L"0", {}); }},
        {"string, not binary", [&] { PutBinary(L"0", blob, REG_SZ); }},
        {"impossible count", [&] { PutBinary(L"0", impossible); }},
        {"chunks without the first", [&] { PutBinary(L"1", blob); }},
        {"a chunk missing", [&] {
             std::vector<uint8_t> twoChunks = blob;
             twoChunks[8] = 2;  // says a second chunk follows; none does
             PutBinary(L"0", twoChunks);
         }},
        {"positions past any list", [&] { PutBinary(L"0", EncodeRecord({RecordMaxPosition, Entries(1), 0, 0})); }},
        {"removal before the written positions", [&] { PutBinary(L"0", EncodeRecord({2, Entries(2), 1, 2})); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(kKey);
        Store(Entries(4));
        auto before = ReadKeyValues(kKey);
        c.put();
        ASSERT_TRUE(RecordExists());
        EXPECT_EQ(FinishRewrite(kKey), RecordState::Damaged);
        EXPECT_FALSE(RecordExists());
        EXPECT_EQ(ReadKeyValues(kKey), before);
    }
}

TEST_F(RewriteRecordTest, ARecordOverAMegabyteIsSplitAndReadWhole) {
    // Long paths make about three chunks' worth.
    FolderList list;
    for (int i = 0; i < 6000; ++i)
        list.push_back({L"alias " + std::to_wstring(i), L"C:\\" + std::wstring(240, L'p') + std::to_wstring(i)});
    RewriteRecord record{0, list, 6000, 6001};
    size_t bytes = EncodeRecord(record).size();
    ASSERT_GT(bytes, 2 * RecordChunkBytes);
    int chunks = (int)((bytes + RecordChunkBytes - 1) / RecordChunkBytes);
    CountingHook hook;
    Write(record);
    EXPECT_EQ(hook.calls, chunks);  // one call per chunk
    auto values = ReadKeyValues(kRecord);
    EXPECT_EQ(values.size(), (size_t)chunks);
    RewriteRecord back;
    ASSERT_EQ(ReadRecord(kKey, back), RecordRead::Sound);
    EXPECT_EQ(back, record);

    // The first chunk is written last: a crash before it leaves no record.
    DeleteKeyTree(kKey);
    hook.calls = 0;
    hook.failAt = 2;
    EXPECT_THROW(Write(record), win::Error);
    EXPECT_EQ(ReadKeyValues(kRecord).count(L"0"), 0u);
    EXPECT_EQ(ReadKeyValues(kRecord).size(), 2u);  // the last two chunks
    hook.failAt = -1;
    EXPECT_EQ(FinishRewrite(kKey), RecordState::Damaged);  // the stray chunks go
    EXPECT_FALSE(RecordExists());
}

TEST_F(RewriteRecordTest, ARewriteCostsTheBareWritesPlusOneCallEachForTheRecord) {
    FolderList list = Entries(6);
    Store(list);
    CountingHook hook;
    list.erase(list.begin() + 1);  // delete position 1 of 6
    RewriteSafely(kKey, list, 1, 4, 6);
    EXPECT_EQ(hook.calls, 1 + 1 + 4 * 2 + 2 + 1);  // count, record, 4 positions, one removed, record gone
    EXPECT_EQ(Load(), list);
    EXPECT_EQ(ReadKeyValues(kKey).size(), 10u);
    EXPECT_FALSE(RecordExists());

    // One position needs no record.
    hook.calls = 0;
    list.pop_back();
    RewriteSafely(kKey, list, 4, 3, 5);  // delete the last entry
    EXPECT_EQ(hook.calls, 2);
    EXPECT_EQ(Load(), list);
    hook.calls = 0;
    RewriteSafely(kKey, list, 2, 1, list.size());  // nothing to do
    EXPECT_EQ(hook.calls, 0);
}

TEST_F(RewriteRecordTest, AfterAFailedRewriteTheNextChangeFinishesItFirst) {
    FolderList list = Entries(4);
    Store(list);
    list.erase(list.begin());  // delete position 0 of 4; fails after the record and one value
    {
        CountingHook hook;
        hook.failAt = 2;
        EXPECT_THROW(RewriteSafely(kKey, list, 0, 2, 4), win::Error);
    }
    EXPECT_TRUE(RecordExists());
    // The add that follows lands on position 3, which the delete's record
    // removes: the record is finished before the add, not after it.
    AppendEntry(kKey, list, {L"added", L"C:\\added"});
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(Load(), list);
    EXPECT_EQ(list.back().Alias, L"added");
    EXPECT_EQ(FinishRewrite(kKey), RecordState::None);
    EXPECT_EQ(Load(), list);
}
