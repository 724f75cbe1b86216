// Seeded random list files and settings files: import and the settings load
// never crash, hang or raise, and import leaves the list and the store alike.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "app/BoxWatcher.h"
#include "app/ListFile.h"
#include "app/MainFormFixture.h"
#include "app/Settings.h"
#include "support/TestSupport.h"
#include "win/Files.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {
const std::wstring kKey = L"Software\\PathnookFuzzTest";
constexpr unsigned kSeed = 20240611;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string RandomBytes(std::mt19937& rng, size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = (char)(rng() & 0xFF);
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bom = true) {
    std::string out = bom ? "\xFF\xFE" : "";
    out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return out;
}

// A plausible list file with some text of its own.
std::wstring ListText(std::mt19937& rng) {
    int n = (int)(rng() % 6);
    std::wstring text = L"[Pathnook]\r\nCount=" + std::to_wstring(n) + L"\r\n";
    for (int i = 0; i < n; ++i) {
        std::wstring k = std::to_wstring(i), tag = std::to_wstring(rng() % 1000);
        text += L"N" + k + L"=alias " + tag + L"\r\nP" + k + L"=C:\\dir " + tag + L"\\\x6587\r\n";
    }
    return text;
}

std::string Mutated(std::mt19937& rng, std::string bytes) {
    int changes = 1 + (int)(rng() % 8);
    for (int i = 0; i < changes && !bytes.empty(); ++i) {
        size_t at = rng() % bytes.size();
        switch (rng() % 3) {
        case 0: bytes[at] = (char)(rng() & 0xFF); break;
        case 1: bytes.erase(at, 1 + rng() % 4); break;
        default: bytes.insert(at, RandomBytes(rng, 1 + rng() % 4)); break;
        }
    }
    return bytes;
}

class FuzzTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kKey); }
    void TearDown() override { DeleteKeyTree(kKey); }
};
}  // namespace

TEST_F(FuzzTest, ImportOfAnyListFileLeavesListAndStoreAlike) {
    std::mt19937 rng(kSeed);
    std::vector<std::pair<std::string, std::string>> files;  // what, bytes
    for (int i = 0; i < 100; ++i) files.push_back({"random bytes", RandomBytes(rng, rng() % 4096)});
    for (int i = 0; i < 60; ++i) {
        std::wstring text = ListText(rng);
        std::string bytes = rng() % 2 ? Utf16(text) : std::string(text.begin(), text.end());
        files.push_back({"mutated list", Mutated(rng, bytes)});
    }
    for (int i = 0; i < 40; ++i) {
        std::string whole = Utf16(ListText(rng));
        files.push_back({"truncated UTF-16", whole.substr(0, rng() % whole.size())});
    }
    std::wstring body = L"[Pathnook]\r\nCount=2\r\nN0=bom\r\nP0=C:\\bom\r\nN1=two\r\nP1=C:\\two\r\n";
    std::string ansi(body.begin(), body.end());
    for (const char* bom : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "\xFF\xFE\x00\x00", "\x00\x00\xFE\xFF",
                            "\xFF\xFE\xFF\xFE", "\xEF\xBB"}) {
        std::string mark(bom, bom[0] == 0 || (bom[2] == 0 && bom[0] == '\xFF') ? 4 : std::strlen(bom));
        files.push_back({"odd byte-order mark on ANSI", mark + ansi});
        files.push_back({"odd byte-order mark on UTF-16", mark + Utf16(body, false)});
        files.push_back({"mark alone", mark});
    }
    std::string mega(1 << 20, 'a');
    files.push_back({"1 MB alias", "[Pathnook]\r\nCount=1\r\nN0=" + mega + "\r\nP0=C:\\x\r\n"});
    files.push_back({"1 MB line without '='", "[Pathnook]\r\nCount=1\r\n" + mega + "\r\nN0=a\r\nP0=C:\\a\r\n"});
    files.push_back({"1 MB count", "[Pathnook]\r\nCount=" + std::string(1 << 20, '9') + "\r\nN0=a\r\nP0=C:\\a\r\n"});
    files.push_back({"1 MB section name", "[" + mega + "]\r\n[Pathnook]\r\nCount=1\r\nN0=a\r\nP0=C:\\a\r\n"});
    files.push_back({"1 MB UTF-16 path", Utf16(L"[Pathnook]\r\nCount=1\r\nN0=b\r\nP0=" + std::wstring(1 << 20, L'p') + L"\r\n")});

    TempDir dir;
    std::wstring file = dir.File(L"fuzz.pnx");
    BoxWatcher boxes;
    auto start = Clock::now();
    size_t imported = 0;
    for (size_t c = 0; c < files.size(); ++c) {
        SCOPED_TRACE(files[c].first + " #" + std::to_string(c));
        DeleteKeyTree(kKey);
        FolderList list{{L"home", L"C:\\home"}, FolderEntry::Separator()};
        RewriteSafely(kKey, list, 0, 1, 2);
        WriteFileText(file, files[c].second);
        auto one = Clock::now();
        EXPECT_NO_THROW(imported += ImportListFile(file, kKey, list));
        EXPECT_LT(Seconds(one), 5.0);
        FolderList stored;
        EXPECT_NO_THROW(LoadList(kKey, stored));
        EXPECT_EQ(stored, list);
        EXPECT_EQ(list[0].Alias, L"home");
    }
    EXPECT_TRUE(boxes.Texts.empty());
    EXPECT_GT(imported, 50u);  // the plausible files did import
    std::printf("%zu list files, %zu entries imported, in %.1f s\n", files.size(), imported, Seconds(start));
    EXPECT_LT(Seconds(start), 60.0);
}

TEST_F(FuzzTest, AnySettingsFileLoadsIntoAUsableWindow) {
    std::wstring ini = SettingsFilePath(SettingsUse::Read);
    ASSERT_FALSE(win::FileExists(ini)) << "a settings file is already there";
    SeedStore(1);
    std::mt19937 rng(kSeed + 1);
    {
        win::Sealed<TfrmMain> form;
        BoxWatcher boxes;
        auto start = Clock::now();
        for (int c = 0; c < 100; ++c) {
            SCOPED_TRACE("settings file #" + std::to_string(c));
            std::string bytes = RandomBytes(rng, rng() % 2048);
            if (c % 2) {
                // Inside the sections the load reads, with random numbers.
                std::string keys = "[Window]\r\nState=" + std::to_string((int)rng()) +
                                   "\r\nLeft=" + std::to_string((int)rng()) + "\r\nWidth=" + std::to_string((int)rng()) +
                                   "\r\n[ListView]\r\nC0=" + std::to_string((int)rng()) + "\r\n[Options]\r\nAskDelete=";
                bytes = Mutated(rng, keys + bytes);
            }
            if (c % 5 == 0) bytes = "\xFF\xFE" + bytes;
            WriteFileText(ini, bytes);
            EXPECT_NO_THROW(form.LoadSettings());
            RECT r = form.Bounds();
            EXPECT_TRUE(SizeUsable(r.right - r.left, r.bottom - r.top));
            EXPECT_TRUE(PositionUsable(r)) << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top << " from " << bytes.substr(0, 120);
        }
        EXPECT_TRUE(boxes.Texts.empty());
        EXPECT_LT(Seconds(start), 30.0);
    }
    DeleteFileW(ini.c_str());
    DeleteKeyTree(kFixtureStore);
}
