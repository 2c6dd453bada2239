#include "sources/chapters.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ChapterHeading, LinesThatAreHeadingsAndTheirTitles)
{
    const struct {
        const char* line;
        const char* title;
    } cases[] = {
        {"第一章 雨夜", "第一章 雨夜"},
        {"第十二回　宴桃园豪杰三结义", "第十二回　宴桃园豪杰三结义"},
        {"第 3 章", "第 3 章"},
        {"第１２章：归来", "第１２章：归来"},
        {"第01回 开端", "第01回 开端"},
        {"第一百二十回 甄士隐详说太虚情", "第一百二十回 甄士隐详说太虚情"},
        {"第壹佰零捌章", "第壹佰零捌章"},
        {"第两千节", "第两千节"},
        {"　　第三卷　风起云涌\r", "第三卷　风起云涌"},  // indented, CR of a CR LF line
        {"第五章雨夜归人", "第五章雨夜归人"},           // a title right after the unit
        {"第七话", "第七话"},
        {"第九幕 终", "第九幕 终"},
        {"序", "序"},
        {"序章 开端", "序章 开端"},
        {"楔子", "楔子"},
        {"引子：旧事", "引子：旧事"},
        {"尾声", "尾声"},
        {"后记", "后记"},
        {"番外", "番外"},
        {"番外三 月下", "番外三 月下"},
        {"番外篇：小时候", "番外篇：小时候"},
        {"Chapter 12", "Chapter 12"},
        {"CHAPTER XII", "CHAPTER XII"},
        {"Chapter Twelve: The Storm", "Chapter Twelve: The Storm"},
        {"Chapter Twenty-One", "Chapter Twenty-One"},
        {"Prologue", "Prologue"},
        {"Epilogue - Home", "Epilogue - Home"},
        // Prefixes: 正文, 卷X and a volume heading stay; a short prefix set off by a space goes.
        {"正文 第一回 宴桃园豪杰三结义 斩黄巾英雄首立功", "正文 第一回 宴桃园豪杰三结义 斩黄巾英雄首立功"},
        {"正文第二回", "正文第二回"},
        {"卷一 第三章 山雨", "卷一 第三章 山雨"},
        {"第一卷 风起 第一章 雨夜", "第一卷 风起 第一章 雨夜"},
        {"《》目录 第一回　宴桃园", "第一回　宴桃园"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::optional<std::string> title = ChapterHeading(c.line);
        ASSERT_TRUE(title.has_value());
        EXPECT_EQ(*title, c.title);
    }
}

TEST(ChapterHeading, LinesThatAreNot)
{
    const char* const cases[] = {
        "第一章说的是他小时候的事，",               // prose that goes on
        "第二天一早，他就出门了。",
        "他翻到第三章。",
        "我读完第三章",                             // a prefix not set off by a space
        "第一次见面",                               // no unit
        "第三者",
        "第章",                                     // no number
        "这是第一章的开始，也是一个很长很长很长很长很长很长很长很长很长很长很长的句子没有标点",
        "序幕拉开了",                               // 序 followed by more words
        "后记得他",
        "前言不搭后语",
        "一个很长的前缀一个很长的前缀 第一章",      // prefix too long
        "Chapters of my life",
        "Chapter and verse",
        "Prologues",
        "",
        "　　",
        "第十章！",
    };
    for (const char* line : cases)
        EXPECT_FALSE(ChapterHeading(line).has_value()) << line;
}

std::vector<std::string> Titles(const std::vector<Chapter>& chapters)
{
    std::vector<std::string> titles;
    for (const Chapter& c : chapters)
        titles.push_back(c.title);
    return titles;
}

std::string Joined(const std::string& text, const std::vector<Chapter>& chapters)
{
    std::string joined;
    std::size_t at = 0;
    for (const Chapter& c : chapters) {
        EXPECT_EQ(c.begin, at) << c.title;
        joined += text.substr(c.begin, c.end - c.begin);
        at = c.end;
    }
    return joined;
}

// A web novel as users download it: a site's notes, a table of contents, a volume heading
// before the first chapter, update-time lines, and paragraphs that mention chapters.
TEST(FindChapters, ANovelAsDownloaded)
{
    const std::string text =
        "《风起》 作者：某人\r\n本书来自网络\r\n\r\n"
        "目录\r\n第一章 雨夜\r\n第二章 归人\r\n第三章 远行\r\n\r\n"
        "第一卷 风起\r\n\r\n"
        "正文 第一章 雨夜\r\n更新时间:2007-11-16 7:55:51 本章字数:4804\r\n"
        "　　第一章说的是他小时候的事，那年下着雨。\r\n　　他翻到第三章。\r\n\r\n"
        "第二章 归人\r\n　　他回来了。\r\n"
        "第三章 远行\r\n　　又走了。";
    const std::vector<Chapter> chapters = FindChapters(text, "风起");
    EXPECT_EQ(Titles(chapters), (std::vector<std::string> {"风起", "第一卷 风起 正文 第一章 雨夜", "第二章 归人", "第三章 远行"}));
    EXPECT_EQ(Joined(text, chapters), text);
    ASSERT_EQ(chapters.size(), 4u);
    EXPECT_TRUE(text.substr(chapters[1].begin).starts_with("第一卷 风起")) << "the heading stays at the top of its part";
    EXPECT_NE(text.substr(0, chapters[0].end).find("第三章 远行"), std::string::npos) << "the contents stay text";
}

TEST(FindChapters, BlankTextBeforeTheFirstHeadingJoinsIt)
{
    const std::string text = "\r\n　　\r\n序\r\n开头\r\n第一回\r\n正文";
    const std::vector<Chapter> chapters = FindChapters(text, "书");
    EXPECT_EQ(Titles(chapters), (std::vector<std::string> {"序", "第一回"}));
    EXPECT_EQ(Joined(text, chapters), text);
}

TEST(FindChapters, FewerThanTwoHeadingsIsNoNovel)
{
    EXPECT_TRUE(FindChapters("第一章 雨夜\n正文", "书").empty());
    EXPECT_TRUE(FindChapters("没有标题的文字", "书").empty());
    EXPECT_TRUE(FindChapters("", "书").empty());
    // Only a table of contents: its headings stay text.
    EXPECT_TRUE(FindChapters("第一章\n第二章\n第三章\n正文", "书").empty());
}

TEST(ImportChapters, LongChaptersAreCutAndEverythingIsKept)
{
    const std::string text = "前言\n" + test::Repeat("中", 10) + "\n第一章 长\n" + test::Repeat("长", 200000) + "\n第二章 短\n短";
    CSourceList list;
    const ImportedChapters imported = ImportChapters(list, "书", text.data(), text.size(), false, EncodingUtf8);
    EXPECT_EQ(imported.chapters, 3u);
    EXPECT_EQ(imported.parts, 4u);
    EXPECT_EQ(list.GetTitles(), (std::vector<std::string> {"前言", "第一章 长(1)", "第一章 长(2)", "第二章 短"}));
    std::string joined;
    for (const std::string& part : list.GetTexts())
        joined += part;
    EXPECT_EQ(joined, text);
}

TEST(ImportChapters, WithoutChaptersAsImportText)
{
    const std::string text = "第一章\n" + test::Repeat("x", 200000);
    CSourceList chapters, plain;
    const ImportedChapters imported = ImportChapters(chapters, "书", text.data(), text.size(), false, EncodingAnsi);
    EXPECT_EQ(imported.chapters, 0u);
    EXPECT_EQ(imported.parts, ImportText(plain, "书", text.data(), text.size(), false, EncodingAnsi));
    EXPECT_EQ(chapters.GetTitles(), plain.GetTitles());
    EXPECT_EQ(chapters.GetTexts(), plain.GetTexts());
}

} // namespace
