#include "app/result_line.h"

#include "platform/path.h"

#include <gtest/gtest.h>

namespace {

BookVolume Volume(const std::string& path, std::uint64_t bytes)
{
    BookVolume volume;
    volume.jarPath = path;
    volume.bytes = bytes;
    return volume;
}

const std::string kFolder = JoinPath(JoinPath("", "书库"), "");

TEST(ResultLine, SizesRoundUpInTheMenusUnits)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {307200, "300 KB"},
        {(1 << 20) - 1, "1024 KB"}, {1 << 20, "1.0 MB"}, {(1 << 20) + 1, "1.1 MB"},
        {2516582, "2.4 MB"}, {std::uint64_t(5) << 30, "5120.0 MB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatSize(bytes), text) << bytes;
}

TEST(ResultLine, OneJarNamesItsSizeAndFolder)
{
    BookResult book;
    book.volumes = {Volume(kFolder + "三国.jar", 300 << 10)};
    EXPECT_EQ(DescribeWrittenBook(book), "已生成 三国.jar（300 KB），位于 书库。");
}

TEST(ResultLine, VolumesGiveTheirCountTotalAndTheOlderVolumesRemoved)
{
    BookResult book;
    book.volumes = {Volume(kFolder + "三国(1).jar", 300 << 10), Volume(kFolder + "三国(2).jar", 300 << 10),
                    Volume(kFolder + "三国(3).jar", 100 << 10)};
    book.removed = {kFolder + "三国(4).jar", kFolder + "三国(4).jad"};
    EXPECT_EQ(DescribeWrittenBook(book),
              "已生成 3 卷：三国(1).jar 至 三国(3).jar，共 700 KB，位于 书库。已删除旧的分卷 三国(4).jar、三国(4).jad。");
}

// Only one jar over 1 MB gets the hint: volumes are within the limit the user chose.
TEST(ResultLine, LargeSingleJarSuggestsVolumes)
{
    const std::string hint = "超过 1 MB 的 jar 有些手机装不下，可用 工具 > 分卷大小 分卷。";
    BookResult book;
    book.volumes = {Volume(kFolder + "大.jar", kLargeJarBytes)};
    EXPECT_EQ(DescribeWrittenBook(book).find(hint), std::string::npos) << "exactly 1 MB is not over";
    book.volumes[0].bytes = 2516582;
    EXPECT_EQ(DescribeWrittenBook(book), "已生成 大.jar（2.4 MB），位于 书库。" + hint);
    book.volumes = {Volume(kFolder + "大(1).jar", 2 << 20), Volume(kFolder + "大(2).jar", 2 << 20)};
    EXPECT_EQ(DescribeWrittenBook(book).find(hint), std::string::npos);
}

#ifdef _WIN32
TEST(ResultLine, DriveRootKeepsItsSeparator)
{
    BookResult book;
    book.volumes = {Volume("D:\\书.jar", 2048)};
    EXPECT_EQ(DescribeWrittenBook(book), "已生成 书.jar（2 KB），位于 D:\\。");
}
#endif

} // namespace
