#include "platform/file_exception.h"
#include "support/test_support.h"
#include "zip/zip_container.h"
#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"
#include "zip/zip_records.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Every fixture of the open folder, its expected result taken from its name.
class OpenFixture : public testing::TestWithParam<std::string> {};

TEST_P(OpenFixture, GivesTheResultItIsNamedAfter)
{
    const std::string name = GetParam();
    const std::string expected = name.substr(0, name.find('-'));
    test::TempDir dir;
    const std::string path = dir.Path("archive.zip");
    const std::string original = test::ReadFile(test::FixturePath("zip/open/" + name));
    test::WriteFile(path, original);

    CZipContainer zip;
    if (expected != "ok" && expected != "refused") {
        try {
            zip.Open(path);
            FAIL() << "opened";
        } catch (const CZipException& e) {
            EXPECT_EQ(std::to_string(e.GetCause()), expected);
            EXPECT_EQ(e.GetPath(), path);
        }
        zip.Close(CZipContainer::closeAfterException);
        EXPECT_EQ(test::ReadFile(path), original) << "a failed open changes nothing";
        return;
    }

    ASSERT_TRUE(zip.Open(path));
    const std::size_t before = zip.GetCount();
    CZipMemoryFile data;
    data.Write("new entry text", 14);
    if (expected == "refused") {
        EXPECT_FALSE(zip.AddNewEntry(data, "new.txt"));
        zip.Close();
        EXPECT_EQ(test::ReadFile(path), original);
        return;
    }
    ASSERT_TRUE(zip.AddNewEntry(data, "new.txt"));
    zip.Close();

    ASSERT_TRUE(zip.Open(path)) << "the result opens again";
    ASSERT_EQ(zip.GetCount(), before + 1);
    EXPECT_EQ(zip.GetEntry(before).GetFileName(), "new.txt");
    zip.Close();
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OpenFixture, testing::ValuesIn(test::FixtureNames("zip/open")),
                         [](const testing::TestParamInfo<std::string>& param) { return test::FixtureTestName(param.param); });

TEST(ZipOpen, MissingFileIsAFileExceptionNotAZipOne)
{
    test::TempDir dir;
    CZipContainer zip;
    try {
        zip.Open(dir.Path("missing.jar"));
        FAIL() << "opened";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::fileNotFound);
        EXPECT_EQ(e.GetPath(), dir.Path("missing.jar"));
    }
    EXPECT_TRUE(zip.IsClosed());
}

TEST(ZipOpen, OpenTwiceReturnsFalseAndKeepsTheArchive)
{
    test::TempDir dir;
    const std::string a = dir.Path("a.zip"), b = dir.Path("b.zip");
    test::WriteFile(a, test::BuildStoredZip({{"one.txt", "1"}}));
    test::WriteFile(b, test::BuildStoredZip({{"x", "x"}, {"y", "y"}}));
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(a));
    EXPECT_FALSE(zip.Open(b));
    ASSERT_EQ(zip.GetCount(), 1u);
    EXPECT_EQ(zip.GetEntry(0).GetFileName(), "one.txt");
}

TEST(ZipOpen, PrefixBeforeTheArchiveIsMeasuredAndOffsetsStayRelative)
{
    test::TempDir dir;
    const std::string path = dir.Path("sfx.zip");
    const std::string prefix(1234, 'S');
    test::WriteFile(path, test::BuildStoredZip({{"a.txt", "alpha"}, {"b.txt", "beta"}}, "", prefix));
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path));
    EXPECT_EQ(zip.GetBytesBeforeZip(), 1234u);
    EXPECT_EQ(zip.GetEntry(0).m_uOffset, 0u);
    zip.Close();

    test::WriteFile(path, test::BuildStoredZip({{"a.txt", "alpha"}}));
    ASSERT_TRUE(zip.Open(path));
    EXPECT_EQ(zip.GetBytesBeforeZip(), 0u);
}

TEST(ZipOpen, HeadersAreSortedByLocalOffsetAndTheFirstInFileSetsTheSystem)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.zip");
    test::WriteFile(path, test::ReadFile(test::FixturePath("zip/open/ok-headers-out-of-file-order.zip")));
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path));
    ASSERT_EQ(zip.GetCount(), 2u);
    EXPECT_EQ(zip.GetEntry(0).GetFileName(), "a.txt");
    EXPECT_EQ(zip.GetEntry(1).GetFileName(), "b.txt");
    EXPECT_EQ(zip.GetSystemCompatibility(), 3);

    // A first entry of a system the engine has no converter for leaves the engine's own.
    zip.Close();
    test::WriteFile(path, test::BuildStoredZip({{"a", "a", 11}, {"b", "b", 3}}));
    ASSERT_TRUE(zip.Open(path));
    EXPECT_EQ(zip.GetSystemCompatibility(), 0);
}

TEST(ZipOpen, CodePageRecordIsRead)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.zip");
    test::WriteFile(path, test::ReadFile(test::FixturePath("zip/open/ok-strings-record-with-name-and-code-pages.zip")));
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path));
    const CZipEntryHeader& e = zip.GetEntry(0);
    EXPECT_EQ(e.m_uNameCodePage, 936u);
    EXPECT_EQ(e.m_uCommentCodePage, 65001u);
    EXPECT_TRUE(e.m_bNameInExtra);
    EXPECT_EQ(e.GetFileName(), "A.TXT") << "the name of the record wins";
}

TEST(ZipOpen, SignatureStraddlingTwoSearchChunksIsFound)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.zip");
    const std::string plain = test::BuildStoredZip({{"a.txt", "alpha"}});
    // With 1024-byte chunks the end record's "PK" falls in the second chunk and its
    // "\5\6" in the first, for every split point tried.
    constexpr std::size_t kEnd = zip::kEndRecordSize;
    for (std::size_t commentSize : {1024 - kEnd + 1, 1024 - kEnd + 2, 1024 - kEnd + 3, 2048 - kEnd + 2}) {
        test::WriteFile(path, test::BuildStoredZip({{"a.txt", "alpha"}}, std::string(commentSize, 'c')));
        CZipContainer zip;
        zip.SetBufferSizes(1024, 1024, 1024);
        ASSERT_TRUE(zip.Open(path)) << commentSize;
        EXPECT_EQ(zip.GetDirectoryInfo().m_comment.GetSize(), commentSize);
        EXPECT_EQ(zip.GetDirectoryInfo().m_uEndOffset, plain.size() - kEnd);
    }
}

TEST(ZipOpen, BufferSizesHaveAFloorAndAreFixedWhileOpen)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.zip");
    test::WriteFile(path, test::BuildStoredZip({{"a.txt", "alpha"}}));
    CZipContainer zip;
    zip.SetBufferSizes(100, 100, 100);
    EXPECT_EQ(zip.GetStorage().m_uWriteBufferSize, 1024u);
    EXPECT_EQ(zip.GetStorage().m_uLocateBufferSize, 1024u);
    ASSERT_TRUE(zip.Open(path));
    zip.SetBufferSizes(15000000, 65536, 32768);
    EXPECT_EQ(zip.GetStorage().m_uWriteBufferSize, 1024u);
    zip.Close();
    zip.SetBufferSizes(15000000, 65536, 32768);
    EXPECT_EQ(zip.GetStorage().m_uWriteBufferSize, 15000000u);
}

TEST(ZipOpen, ReadOnlyOpenNeverWrites)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.zip");
    const std::string original = test::BuildStoredZip({{"a.txt", "alpha"}});
    test::WriteFile(path, original);
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path, CZipContainer::zipOpenReadOnly));
    EXPECT_EQ(zip.GetCount(), 1u);
    zip.Close();
    EXPECT_EQ(test::ReadFile(path), original);
    EXPECT_FALSE(zip.Open(path, CZipContainer::zipCreate)) << "creating archives is not supported";
}

} // namespace
