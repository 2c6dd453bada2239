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

// For a window too narrow for the whole line: the folder's first and last parts, and the
// older files counted once there are more than two.
TEST(ResultLine, BriefLineShortensTheFolderAndCountsTheOlderFiles)
{
    const struct {
        const char* folder;
        const char* shown;
    } folders[] = {
#ifdef _WIN32
        {"C:\\Users\\张三\\Desktop\\小说", "C:\\…\\小说"},
        {"\\\\server\\share\\books\\new", "\\\\server\\…\\new"},
        {"C:\\Users\\小说", "C:\\Users\\小说"},  // three parts: kept whole
#endif
        {"/home/user/books/novels", "/home/…/novels"},
        {"/home/user/books", "/home/user/books"},
        {"书库", "书库"},
    };
    for (const auto& f : folders)
        EXPECT_EQ(ShortenedFolder(f.folder), f.shown) << f.folder;

    const std::string folder = "/home/user/books/novels/";
    BookResult book;
    book.volumes = {Volume(folder + "三国(1).jar", 300 << 10), Volume(folder + "三国(2).jar", 300 << 10)};
    book.removed = {folder + "三国(3).jar", folder + "三国(3).jad"};
    EXPECT_EQ(DescribeWrittenBook(book, true),
              "已生成 2 卷：三国(1).jar 至 三国(2).jar，共 600 KB，位于 /home/…/novels。"
              "已删除旧的分卷 三国(3).jar、三国(3).jad。");
    book.removed.push_back(folder + "三国(4).jar");
    EXPECT_EQ(DescribeWrittenBook(book, true),
              "已生成 2 卷：三国(1).jar 至 三国(2).jar，共 600 KB，位于 /home/…/novels。"
              "已删除 3 个旧的分卷文件（三国(3).jar 等）。");
    EXPECT_NE(DescribeWrittenBook(book).find("/home/user/books/novels。已删除旧的分卷 三国(3).jar、三国(3).jad、三国(4).jar。"),
              std::string::npos);
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

namespace {

// What a killed build left and this one put right is counted in the line, never listed.
TEST(ResultLine, FilesPutRightAfterAKilledBuildAreCounted)
{
    BookResult book;
    book.volumes = {Volume(kFolder + "三国.jar", 300 << 10)};
    book.recovery.done = {{RecoveredFile::restored, kFolder + "三国.jar"},
                      {RecoveredFile::removedTemporary, kFolder + "a.tmp"},
                      {RecoveredFile::removedNew, kFolder + "b.jar"}};
    EXPECT_EQ(DescribeWrittenBook(book),
              "已生成 三国.jar（300 KB），位于 书库。已恢复中断的生成换下的 1 个旧文件。已删除中断的生成留下的 2 个文件。");
    book.recovery.done.resize(1);
    EXPECT_EQ(DescribeWrittenBook(book, true), "已生成 三国.jar（300 KB），位于 书库。已恢复中断的生成换下的 1 个旧文件。");
}

// Names for a box: all of them up to the limit, else one line fewer and the count.
TEST(ResultLine, ListedNamesFitABox)
{
    const std::vector<std::string> three {"a", "b", "c"};
    EXPECT_EQ(ListedNames(three, 3), "    a\r\n    b\r\n    c\r\n");
    EXPECT_EQ(ListedNames(three, 2, ""), "a\r\n……等 3 个文件\r\n");
    EXPECT_EQ(ListedNames({}, 2), "");
    std::vector<std::string> many(448, "书.jar");
    const std::string text = ListedNames(many, 12);
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    EXPECT_EQ(lines, 12u);
    EXPECT_NE(text.find("……等 448 个文件"), std::string::npos);
}

} // namespace
