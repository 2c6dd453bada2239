#include "sources/book_info_guess.h"

#include <gtest/gtest.h>

namespace {

TEST(BookInfoFromTitle, NamesAndAuthorsInFileNames)
{
    const struct {
        const char* title;
        const char* name;
        const char* author;
    } cases[] = {
        {"《风起云涌》作者：某人", "风起云涌", "某人"},
        {"《风起云涌》 作者:某人", "风起云涌", "某人"},
        {"《风起云涌》某人", "风起云涌", "某人"},
        {"《风起云涌》", "风起云涌", ""},
        {"风起云涌 作者：某人", "风起云涌", "某人"},
        {"风起云涌作者：某 人", "风起云涌", "某 人"},
        {"风起云涌_某人", "风起云涌", "某人"},
        {"风起云涌(某人)", "风起云涌", "某人"},
        {"风起云涌（某人）", "风起云涌", "某人"},
        // Brackets and underscores that hold no author.
        {"风起云涌(上)", "", ""},
        {"风起云涌（精校版）", "", ""},
        {"风起云涌(12)", "", ""},
        {"风起云涌_第二卷", "", ""},
        {"风起云涌_完结", "", ""},
        {"(某人)", "", ""},
        {"风起云涌", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const GuessedBookInfo info = BookInfoFromTitle(c.title);
        EXPECT_EQ(info.name, c.name);
        EXPECT_EQ(info.author, c.author);
    }
}

TEST(BookInfoFromFirstLines, LabelledLinesAtTheStart)
{
    const struct {
        const char* text;
        const char* name;
        const char* author;
    } cases[] = {
        {"\xEF\xBB\xBF书名：风起云涌\r\n作者：某人\r\n\r\n第一章", "风起云涌", "某人"},
        {"\n\n　　书名: 《风起云涌》\n　　作者: 某人\n", "风起云涌", "某人"},
        {"《风起云涌》 作者：某人\n本书来自网络\n", "风起云涌", "某人"},
        {"作者：某人\n正文", "", "某人"},
        {"第一章\n他的书名：风起云涌。\n作者：某人说过的话很长很长很长很长很长很长很长", "", ""},  // not at a line's start, or too long
        {"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n书名：太晚了\n", "", ""},   // past the first lines
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const GuessedBookInfo info = BookInfoFromFirstLines(c.text);
        EXPECT_EQ(info.name, c.name);
        EXPECT_EQ(info.author, c.author);
    }
}

TEST(GuessBookInfo, FileNameFirstThenFirstLinesThenTheTitle)
{
    EXPECT_EQ(GuessBookInfo("《甲》作者：乙", "书名：丙\n作者：丁").name, "甲");
    EXPECT_EQ(GuessBookInfo("《甲》作者：乙", "书名：丙\n作者：丁").author, "乙");
    EXPECT_EQ(GuessBookInfo("《甲》", "作者：丁").author, "丁");
    EXPECT_EQ(GuessBookInfo("download123", "书名：丙\n作者：丁").name, "丙");
    EXPECT_EQ(GuessBookInfo("风起(上)", "正文").name, "风起(上)");
    EXPECT_EQ(GuessBookInfo("风起(上)", "正文").author, "");
}

} // namespace
