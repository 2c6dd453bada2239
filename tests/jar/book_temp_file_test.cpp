// Temporary book files: never longer than the book's name, recognised exactly, and removed
// by a later build only when the process that made them is gone.
#include "jar/book_temp_file.h"
#include "platform/file_exception.h"
#include "platform/process.h"
#include "platform/utf16.h"
#include "platform/path.h"
#include "platform/utf8_sequence.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

TEST(TempFileName, NeverLongerThanTheBooksName)
{
    const std::string names[] = {
        "书.jar", "a.jar", test::Repeat("a", 12) + ".jar", test::Repeat("a", 13) + ".jar", test::Repeat("a", 251) + ".jar",
        test::Repeat("书", 83) + ".jar", test::Repeat("书", 20) + ".jar", test::Repeat("\xF0\x9F\x93\x96", 30) + ".jar",
        test::Repeat("a", 14) + "书书.jar",
    };
    constexpr std::size_t kSuffix = 19;  // ".bm" + 12 hex digits + ".tmp"
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string temp = TempFileName(name, 0xFFFFFFFFu, 0xFFFF);
        EXPECT_TRUE(IsValidUtf8(temp.data(), temp.size()));  // cut between characters
        EXPECT_LE(temp.size(), std::max(name.size(), kSuffix));
        EXPECT_LE(Utf8ToUtf16(temp).size(), std::max(Utf8ToUtf16(name).size(), kSuffix));
        EXPECT_EQ(TempFileOwner(temp, name), 0xFFFFFFFFu);
    }
    EXPECT_EQ(TempFileName("书.jar", 0x1234, 7), ".bm000012340007.tmp");
    EXPECT_EQ(TempFileName(test::Repeat("a", 30) + ".jar", 0x1234, 7), test::Repeat("a", 15) + ".bm000012340007.tmp");
}

TEST(TempFileOwner, OnlyTheExactPattern)
{
    const std::string book = test::Repeat("a", 30) + ".jar";
    const std::string prefix = test::Repeat("a", 15);
    const struct {
        std::string name;
        std::optional<std::uint32_t> owner;
    } table[] = {
        {prefix + ".bm00abcdef0001.tmp", 0x00abcdefu},
        {prefix + ".bm00ABCDEF0001.tmp", std::nullopt},  // capitals: not ours
        {prefix + ".bm00abcdef001.tmp", std::nullopt},
        {prefix + ".bm00abcdef00012.tmp", std::nullopt},
        {prefix + ".bm00abcdefxxxx.tmp", std::nullopt},
        {prefix + ".bm00abcdef0001.tmp.jar", std::nullopt},
        {"b" + prefix.substr(1) + ".bm00abcdef0001.tmp", std::nullopt},  // another book's
        {prefix + "a.bm00abcdef0001.tmp", std::nullopt},
        {book, std::nullopt},
        {book + ".0badcafe.tmp", std::nullopt},  // the names of earlier versions stay alone
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TempFileOwner(c.name, book), c.owner);
    }
}

TEST(RemoveStaleTempFiles, OnlyThoseOfProcessesThatAreGone)
{
    test::TempDir dir;
    const std::string book = dir.Path("书.jar");
    const std::uint32_t gone = 0x7FFFFFF0u;  // above any process id in use
    ASSERT_FALSE(IsProcessRunning(gone));
    ASSERT_TRUE(IsProcessRunning(CurrentProcessId()));
    const std::string stale = TempFileName("书.jar", gone, 3);
    const std::string mine = TempFileName("书.jar", CurrentProcessId(), 0);
    const std::string staleFolder = TempFileName("书.jar", gone, 4);
    const std::string users[] = {"书.jar", "书.jar.tmp", ".bm7ffffff00005.TMP", "x" + stale};
    for (const std::string& name : {stale, mine})
        test::WriteFile(dir.Path(name), "temporary");
    for (const std::string& name : users)
        test::WriteFile(dir.Path(name), "the user's");
    fs::create_directory(U8Path(dir.Path(staleFolder)));

    RemoveStaleTempFiles(book);

    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(U8Path(dir.Path(""))))
        left.insert(Utf8Path(entry.path().filename()));
    std::set<std::string> expected(std::begin(users), std::end(users));
    expected.insert(mine);
    expected.insert(staleFolder);
    EXPECT_EQ(left, expected);
}

TEST(TempPathFor, BesideTheBookAndNotThereYet)
{
    test::TempDir dir;
    const std::string book = dir.Path("书.jar");
    const std::string first = TempPathFor(book);
    test::WriteFile(first, "taken");
    const std::string second = TempPathFor(book);
    EXPECT_NE(first, second);
    EXPECT_EQ(U8Path(second).parent_path(), U8Path(book).parent_path());
    EXPECT_EQ(TempFileOwner(Utf8Path(U8Path(second).filename()), "书.jar"), CurrentProcessId());
}

// The new files take the places of the old ones and the retired files go, all together;
// no temporary file stays.
TEST(CommitBookFiles, AllNewFilesInPlaceAndTheRetiredGone)
{
    test::TempDir dir;
    const std::string folder = dir.Path("books");
    fs::create_directories(U8Path(folder));
    const std::string jar = JoinPath(folder, "书.jar"), jad = JoinPath(folder, "书.jad"),
                      old = JoinPath(folder, "书(3).jar");
    test::WriteFile(jar, "older book");
    test::WriteFile(old, "older volume");
    std::vector<PendingBookFile> files;
    for (const std::string& target : {jar, jad}) {
        files.push_back({TempPathFor(target), target});
        test::WriteFile(files.back().tempPath, "new " + FileNameOfPath(target));
    }
    CommitBookFiles(files, {old});
    EXPECT_EQ(test::ReadFile(jar), "new 书.jar");
    EXPECT_EQ(test::ReadFile(jad), "new 书.jad");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(U8Path(folder)))
        names.insert(Utf8Path(entry.path().filename()));
    EXPECT_EQ(names, (std::set<std::string> {"书.jar", "书.jad"}));
}

// A file that cannot be put in place undoes everything: the new files already placed are
// gone, the old ones have their names back, the retired one stays; the failure names the
// target.
TEST(CommitBookFiles, AFailureLeavesTheOldFilesAsTheyWere)
{
    test::TempDir dir;
    const std::string folder = dir.Path("books");
    fs::create_directories(U8Path(folder));
    const std::string targets[] = {JoinPath(folder, "书(1).jar"), JoinPath(folder, "书(1).jad"),
                                   JoinPath(folder, "书(2).jar")};
    const std::string old = JoinPath(folder, "书(3).jar");
    test::WriteFile(targets[0], "older first volume");
    test::WriteFile(targets[2], "older second volume");
    test::WriteFile(old, "older third volume");
    std::vector<PendingBookFile> files;
    for (const std::string& target : targets)
        files.push_back({TempPathFor(target), target});
    test::WriteFile(files[0].tempPath, "new");
    test::WriteFile(files[1].tempPath, "new");
    // The last temporary file is missing: its rename fails after two were placed.
    try {
        CommitBookFiles(files, {old});
        FAIL() << "committed";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetPath(), targets[2]);
    }
    EXPECT_EQ(test::ReadFile(targets[0]), "older first volume");
    EXPECT_FALSE(fs::exists(U8Path(targets[1])));
    EXPECT_EQ(test::ReadFile(targets[2]), "older second volume");
    EXPECT_EQ(test::ReadFile(old), "older third volume");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(U8Path(folder)))
        names.insert(Utf8Path(entry.path().filename()));
    EXPECT_EQ(names, (std::set<std::string> {"书(1).jar", "书(2).jar", "书(3).jar"}))
        << "the new files placed are removed again";
}

} // namespace
