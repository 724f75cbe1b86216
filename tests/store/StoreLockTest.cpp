// The writers' lock and the record's number: a record is finished only when
// no writer holds the lock, read through while one does, and never applied
// again once its rewrite is done.
#include <gtest/gtest.h>

#include <thread>

#include "store/RewriteRecord.h"
#include "store/StoreLock.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {
const std::wstring kKey = L"Software\\PathnookLockTest";
const FolderList kStored{{L"a", L"C:\\a"}, {L"b", L"C:\\b"}};
const FolderList kTarget{{L"b", L"C:\\b"}, {L"a", L"C:\\a"}};

class StoreLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(kKey);
        RewriteEntries(kKey, kStored, 0, 1);
    }
    void TearDown() override { DeleteKeyTree(kKey); }
    static FolderList Load() {
        FolderList list;
        LoadList(kKey, list);
        return list;
    }
    static FolderList Raw() {
        FolderList list;
        for (size_t i = 0; i < 2; ++i) list.push_back({ReadKeyValues(kKey)[AliasName(i)], ReadKeyValues(kKey)[PathName(i)]});
        return list;
    }
    // A swap of the two positions recorded as a rewrite that has not begun writing.
    static void LeaveRecord() { WriteRecord(kKey, {0, kTarget, 0, 0, StartRewrite(kKey)}); }
};
}  // namespace

TEST_F(StoreLockTest, ARecordIsReadThroughWhileItsWriterRunsAndFinishedOnceItIsGone) {
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr), release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread writer([&] {
        StoreWriter lock(kKey);
        SetEvent(taken);
        WaitForSingleObject(release, 10000);
    });
    ASSERT_EQ(WaitForSingleObject(taken, 10000), WAIT_OBJECT_0);
    LeaveRecord();
    EXPECT_EQ(Load(), kTarget);  // the running rewrite's target, read through its record
    EXPECT_EQ(FinishOrphanedRewrite(kKey), RecordState::None);
    EXPECT_EQ(Raw(), kStored) << "a live rewrite was finished by a reader";
    SetEvent(release);
    writer.join();
    EXPECT_EQ(FinishOrphanedRewrite(kKey), RecordState::Finished);
    EXPECT_EQ(Raw(), kTarget);
    CloseHandle(taken);
    CloseHandle(release);
}

TEST_F(StoreLockTest, ARecordWhoseRewriteIsDoneIsNeverAppliedAgain) {
    LeaveRecord();
    StartRewrite(kKey);  // what a finished rewrite whose record stayed leaves
    EXPECT_EQ(Load(), kStored);
    EXPECT_EQ(FinishRewrite(kKey), RecordState::None);
    EXPECT_EQ(Raw(), kStored);
    RewriteRecord left;
    EXPECT_EQ(ReadRecord(kKey, left), RecordRead::None);  // and it is gone
}
