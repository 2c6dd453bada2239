#include "support/test_support.h"
#include "zip/zip_container.h"
#include "zip/zip_memory_file.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

bool Add(CZipContainer& zip, const std::string& name, const std::string& data)
{
    CZipMemoryFile file;
    file.Write(data.data(), static_cast<std::uint32_t>(data.size()));
    return zip.AddNewEntry(file, name);
}

TEST(ZipClose, NothingAddedLeavesTheFileUnchanged)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.jar");
    for (const std::string& original :
         {test::BuildStoredZip({{"a.txt", "alpha"}, {"b/", ""}}, "comment"),
          test::BuildStoredZip({{"x", "x"}}, "", std::string(77, 'p')),
          test::BuildStoredZip({})}) {
        test::WriteFile(path, original);
        CZipContainer zip;
        ASSERT_TRUE(zip.Open(path));
        zip.Close();
        EXPECT_TRUE(zip.IsClosed());
        EXPECT_EQ(test::ReadFile(path), original);
    }
}

TEST(ZipClose, LongCommentAndOldDirectoryLeaveNoTrace)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.jar");
    const std::string comment(60000, '#');
    const std::string original = test::BuildStoredZip({{"a.txt", "alpha"}}, comment);
    test::WriteFile(path, original);
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path));
    ASSERT_TRUE(Add(zip, "n", "x"));
    zip.Close();
    const std::string bytes = test::ReadFile(path);
    const test::ParsedZip z = test::ParseZip(bytes);
    EXPECT_EQ(z.total, 2);
    EXPECT_EQ(z.comment, comment);
    const std::string endSignature("PK\x05\x06", 4);
    EXPECT_EQ(bytes.find(endSignature), z.endAt) << "only one end record";
    EXPECT_EQ(bytes.size(), 40 + 32 + (46 + 5) + (46 + 1) + 22 + comment.size());
}

TEST(ZipClose, PrefixIsKeptAndNewOffsetsAreRelative)
{
    test::TempDir dir;
    const std::string path = dir.Path("sfx.jar");
    const std::string prefix(4096, 'S');
    const std::string original = test::BuildStoredZip({{"a.txt", "alpha"}}, "", prefix);
    test::WriteFile(path, original);
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path));
    ASSERT_TRUE(Add(zip, "new.txt", "new entry data"));
    zip.Close();
    const std::string bytes = test::ReadFile(path);
    EXPECT_EQ(bytes.substr(0, prefix.size() + 40), original.substr(0, prefix.size() + 40));
    const test::ParsedZip z = test::ParseZip(bytes, prefix.size());
    ASSERT_EQ(z.entries.size(), 2u);
    EXPECT_EQ(z.entries[1].offset, 40u) << "right after the old entry, counted from the archive start";
    EXPECT_EQ(test::LocalData(bytes, z.entries[1], prefix.size()).size(), z.entries[1].compressed);
    EXPECT_EQ(z.cdOffset + prefix.size() + z.cdSize, z.endAt);
}

TEST(ZipClose, AfterExceptionModeWritesNoDirectory)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.jar");
    const std::string original = test::BuildStoredZip({{"a.txt", "alpha"}});
    test::WriteFile(path, original);
    {
        CZipContainer zip;
        ASSERT_TRUE(zip.Open(path));
        ASSERT_TRUE(Add(zip, "n.txt", "payload payload"));
        zip.Close(CZipContainer::closeAfterException);
        EXPECT_TRUE(zip.IsClosed());
    }
    const std::string bytes = test::ReadFile(path);
    EXPECT_EQ(bytes.substr(0, 40), original.substr(0, 40));
    EXPECT_EQ(bytes.find(std::string("PK\x01\x02", 4)), std::string::npos) << "no directory";
    EXPECT_EQ(bytes.find(std::string("PK\x05\x06", 4)), std::string::npos) << "no end record";
    EXPECT_EQ(bytes.find("n.txt"), 40u + 30) << "the entry itself stays";
}

TEST(ZipClose, DestructorWithoutCloseNeverWrites)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.jar");
    const std::string original = test::BuildStoredZip({{"a.txt", "alpha"}});
    test::WriteFile(path, original);
    {
        CZipContainer zip;
        ASSERT_TRUE(zip.Open(path));
        ASSERT_TRUE(Add(zip, "n.txt", "payload"));
    }
    const std::string bytes = test::ReadFile(path);
    EXPECT_EQ(bytes.find(std::string("PK\x05\x06", 4)), std::string::npos);
    test::WriteFile(dir.Path("b.jar"), original);
    {
        CZipContainer untouched;
        ASSERT_TRUE(untouched.Open(dir.Path("b.jar")));
    }
    EXPECT_EQ(test::ReadFile(dir.Path("b.jar")), original) << "open and destroy: unchanged";
}

TEST(ZipClose, CloseTwiceAndReopen)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.jar");
    test::WriteFile(path, test::BuildStoredZip({{"a.txt", "alpha"}}));
    CZipContainer zip;
    ASSERT_TRUE(zip.Open(path));
    ASSERT_TRUE(Add(zip, "1.txt", "first"));
    zip.Close();
    zip.Close();
    zip.Close(CZipContainer::closeAfterException);
    ASSERT_TRUE(zip.Open(path));
    EXPECT_EQ(zip.GetCount(), 2u);
    ASSERT_TRUE(Add(zip, "2.txt", "second"));
    zip.Close();
    const test::ParsedZip z = test::ParseZip(test::ReadFile(path));
    ASSERT_EQ(z.entries.size(), 3u);
    EXPECT_EQ(z.entries[2].name, "2.txt");
}

TEST(ZipClose, UpdateTimeSetsTheNewestEntryTime)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.jar");
    test::WriteFile(path, test::BuildStoredZip({{"a.txt", "alpha"}}));  // 2024-01-01 12:00
    CZipContainer zip;
    zip.SetClock(test::FixedTime);  // 2024-05-17
    ASSERT_TRUE(zip.Open(path));
    ASSERT_TRUE(Add(zip, "n.txt", "newer"));
    zip.Close(CZipContainer::closeNormal, true);
    const auto written = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(path));
    EXPECT_EQ(std::chrono::system_clock::to_time_t(written), test::FixedTime() - 1)
        << "31 s is stored as 30 s";
}

} // namespace
