#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "win/Error.h"
#include "win/RegWatch.h"
#include "win/Registry.h"

using namespace testing_support;

namespace {
const std::wstring kKey = L"Software\\PathnookTests\\Registry";

void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, (const BYTE*)data, bytes), ERROR_SUCCESS);
    RegCloseKey(key);
}

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kKey); }
    void TearDown() override { DeleteKeyTree(kKey); }
};
}  // namespace

// Values are read in one query into a small buffer, with a second round only
// for long ones: the lengths around that buffer's size must all come back whole.
TEST_F(RegKeyTest, ReadsStringsOfEveryLengthWhole) {
    win::RegKey key(kKey, true);
    ASSERT_TRUE(key.IsOpen());
    for (size_t length : {0u, 1u, 257u, 258u, 259u, 260u, 261u, 520u, 32767u}) {
        std::wstring text(length, L'x');
        for (size_t i = 0; i < length; ++i) text[i] = (wchar_t)(L'a' + i % 26);
        if (length) text.back() = L'\x4E2D';  // a character outside any code page's ASCII
        key.WriteString(L"V", text);
        EXPECT_EQ(key.ReadString(L"V"), text) << length;
    }
}

TEST_F(RegKeyTest, ReadsUnterminatedAndEmbeddedNulStringsUpToTheFirstNul) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    SetRaw(L"U", REG_SZ, unterminated, sizeof unterminated);
    std::wstring longer(300, L'q');
    SetRaw(L"L", REG_EXPAND_SZ, longer.data(), (DWORD)(longer.size() * sizeof(wchar_t)));
    const wchar_t embedded[] = L"one\0two";
    SetRaw(L"E", REG_SZ, embedded, sizeof embedded);
    win::RegKey key(kKey, false);
    EXPECT_EQ(key.ReadString(L"U"), L"abc");
    EXPECT_EQ(key.ReadString(L"L"), longer);
    EXPECT_EQ(key.ReadString(L"E"), L"one");
    EXPECT_EQ(key.ReadString(L"Missing"), L"");
}

TEST_F(RegKeyTest, OtherTypesRaiseUnlessEmpty) {
    DWORD number = 1;
    SetRaw(L"D", REG_DWORD, &number, sizeof number);
    std::vector<BYTE> big(4000, 7);
    SetRaw(L"B", REG_BINARY, big.data(), (DWORD)big.size());
    SetRaw(L"Empty", REG_BINARY, nullptr, 0);
    win::RegKey key(kKey, false);
    try {
        key.ReadString(L"D");
        ADD_FAILURE() << "a number read as a string";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'D'");
    }
    EXPECT_THROW(key.ReadString(L"B"), win::Error);
    EXPECT_EQ(key.ReadString(L"Empty"), L"");
}

TEST_F(RegKeyTest, AKeyThatIsNotThereReadsAndWritesNothing) {
    win::RegKey missing(kKey + L"\\Absent", false);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.ReadString(L"V"), L"");
    missing.WriteString(L"V", L"x");
    missing.DeleteValue(L"V");
    EXPECT_FALSE(win::RegKey(kKey + L"\\Absent", false).IsOpen());
}

// A watch that is armed at every reload must not pile up notifications:
// each of its two stays registered once, and only what fired is asked for
// again; the key deleted and made again is still watched.
TEST(RegWatchTest, KeepsOneRegistrationEachAndRenewsOnlyWhatFired) {
    const std::wstring key = L"Software\\PathnookWatchTest";
    DeleteKeyTree(key);
    win::RegWatch watch(key);
    ASSERT_TRUE(watch.Arm());
    const int armed = watch.Registrations();
    EXPECT_EQ(armed, 2);
    for (int i = 0; i < 50; ++i) watch.Arm();
    EXPECT_EQ(watch.Registrations(), armed);
    EXPECT_FALSE(watch.Changed());

    SetString(key, L"v", L"1");
    ASSERT_TRUE(WaitUntil([&] { return watch.Changed(); })) << "no change seen";
    watch.Arm();
    EXPECT_EQ(watch.Registrations(), armed + 1);  // the key's own, not its parent's
    EXPECT_FALSE(watch.Changed());

    DeleteKeyTree(key);
    ASSERT_TRUE(WaitUntil([&] { return watch.Changed(); })) << "the deletion went unseen";
    watch.Arm();
    watch.Arm();  // the key made again by the watch itself may fire once more
    SetString(key, L"v", L"2");
    EXPECT_TRUE(WaitUntil([&] { return watch.Changed(); })) << "the key made again is not watched";
    DeleteKeyTree(key);
}
