// Temporary book files: never longer than the book's name and recognised exactly.
#include "jar/book_temp_file.h"
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

TEST(TempPathFor, BesideTheBookAndNotThereYet)
{
    test::TempDir dir;
    const std::string book = dir.Path("书.jar");
    std::uint16_t number = 0;
    const std::string first = TempPathFor(book, 0x1234, number);
    test::WriteFile(first, "taken");
    number = 0;
    const std::string second = TempPathFor(book, 0x1234, number);
    EXPECT_NE(first, second);
    EXPECT_EQ(number, 2);
    EXPECT_EQ(U8Path(second).parent_path(), U8Path(book).parent_path());
    EXPECT_EQ(TempFileOwner(Utf8Path(U8Path(second).filename()), "书.jar"), 0x1234u);
}

} // namespace
