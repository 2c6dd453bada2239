#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"

#include <gtest/gtest.h>

namespace {

int CauseOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CZipException& e) {
        return e.GetCause();
    }
    return 0;
}

TEST(ZipMemoryFile, WritesReadsAndSeeks)
{
    CZipMemoryFile file;
    EXPECT_TRUE(file.IsClosed());
    EXPECT_EQ(file.GetFilePath(), "");
    file.Write("hello world", 11);
    file.Write("", 0);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.GetPosition(), 11u);

    char buf[32] = {};
    EXPECT_EQ(file.Read(buf, 4), 0u) << "at the end";
    EXPECT_EQ(file.SeekToBegin(), 0u);
    EXPECT_EQ(file.Read(buf, 5), 5u);
    EXPECT_EQ(std::string(buf, 5), "hello");
    EXPECT_EQ(file.Read(buf, 32), 6u);
    EXPECT_EQ(std::string(buf, 6), " world");

    EXPECT_EQ(file.Seek(-5, CZipStream::end), 6u);
    file.Write("WORLD!", 6);
    EXPECT_EQ(file.GetLength(), 12u);
    EXPECT_EQ(file.Seek(3, CZipStream::current), 15u) << "beyond the size";
    EXPECT_EQ(file.GetLength(), 12u) << "seeking does not change the size";
    EXPECT_EQ(file.Seek(100, 7), 15u) << "an unknown origin leaves the position";
    file.Write("x", 1);
    EXPECT_EQ(file.GetLength(), 16u);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buf, 32), 16u);
    EXPECT_EQ(std::string(buf, 16), std::string("hello WORLD!\0\0\0x", 16)) << "the gap reads as zeros";

    file.Close();
    EXPECT_TRUE(file.IsClosed());
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
}

TEST(ZipMemoryFile, GrowsInWholeSteps)
{
    CZipMemoryFile file(1024);
    std::string big(3000, 'a');
    file.Write(big.data(), 3000);
    file.Write(big.data(), 3000);
    EXPECT_EQ(file.GetLength(), 6000u);
    EXPECT_EQ(std::string(file.Data(), 6000), big + big);
}

TEST(ZipMemoryFile, FailuresAreNoMemory)
{
    CZipMemoryFile file;
    file.Write("abc", 3);
    EXPECT_EQ(CauseOf([&] { file.Seek(-4, CZipStream::end); }), CZipException::ZE_NO_MEMORY);
    EXPECT_EQ(file.GetPosition(), 3u);
    CZipMemoryFile noGrowth(0);
    EXPECT_EQ(CauseOf([&] { noGrowth.Write("a", 1); }), CZipException::ZE_NO_MEMORY);
    EXPECT_EQ(CauseOf([&] { noGrowth.Write("", 0); }), 0);
}

} // namespace
