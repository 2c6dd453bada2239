#include "platform/utf16.h"
#include "sources/chapters.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "support/book_parts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        {"卷二‧金世成　　出自某某某某书的第二卷第三篇", "卷二‧金世成　　出自某某某某书的第二卷第三篇"},  // U+2027
        {"卷三・二商", "卷三・二商"},
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
    EXPECT_EQ(test::Titles(list), (std::vector<std::string> {"前言", "第一章 长(1)", "第一章 长(2)", "第二章 短"}));
    std::string joined;
    for (const std::string& part : test::Texts(list))
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
    EXPECT_EQ(test::Titles(chapters), test::Titles(plain));
    EXPECT_EQ(test::Texts(chapters), test::Texts(plain));
}

} // namespace

namespace {

struct BookCase {
    const char* what;
    std::string text;
    std::vector<std::string> titles;  // empty: no chapters
};

// Shapes of downloaded novels, each with the lines that must be headings and those that must
// not: the text is cut exactly at the expected titles (the part before the first heading
// titled "书"), and the parts joined are the text.
TEST(FindChapters, ShapesOfDownloadedBooks)
{
    const std::string p = "　　他说了很多话，大家都听着，没有人出声。\n";  // a paragraph
    const std::string q = "他说了很多话，大家都听着，没有人出声。\n";    // one without indent
    const BookCase table[] = {
        // A hard-wrapped line that starts like a heading and runs on is prose.
        {"wrapped line starting with 第N回 and a comma", "第一回 起\n" + p + "第三回里说过的那件事，后来又被\n人提起。\n第二回 承\n" + p,
         {"第一回 起", "第二回 承"}},
        {"wrapped line with a full stop inside", "第八章 起\n" + p + "第九章那首诗写得好。他又想……\n" + p + "第九章 承\n" + p,
         {"第八章 起", "第九章 承"}},
        {"a heading with a title joined to its key", "第五章雨夜归人\n" + p + "第六章风起\n" + p, {"第五章雨夜归人", "第六章风起"}},
        // Opening and closing words count before the first numbered chapter and after the last.
        {"序 inside chapter 2 is text", "第一章 甲\n" + p + "第二章 乙\n" + p + "\n序\n\n" + p + "第三章 丙\n" + p,
         {"第一章 甲", "第二章 乙", "第三章 丙"}},
        {"引子 before, 尾声 and 后记 after", "引子\n" + p + "第一章 甲\n" + p + "第二章 乙\n" + p + "尾声\n" + p + "后记\n" + p,
         {"引子", "第一章 甲", "第二章 乙", "尾声", "后记"}},
        {"番外 throughout the book", "第一章 甲\n" + p + "番外一\n" + p + "第二章 乙\n" + p + "番外二\n" + p + "第三章 丙\n" + p +
                                        "番外三\n" + p + "第四章 丁\n" + p,
         {"第一章 甲", "番外一", "第二章 乙", "番外二", "第三章 丙", "番外三", "第四章 丁"}},
        // Titles may end in a question or an exclamation.
        {"titles ending in ？ and ！", "第七十九章 来客\n" + p + "第八十章 谁在门外？\n" + p + "第八十一章 走！\n" + p,
         {"第七十九章 来客", "第八十章 谁在门外？", "第八十一章 走！"}},
        {"a key followed by ！ only is prose", "第一章 甲\n" + p + "第十章！\n" + p + "第二章 乙\n" + p, {"第一章 甲", "第二章 乙"}},
        // English chapters of any length; a contents list of mixed lengths stays text.
        {"long English chapter lines and a contents list",
         "CONTENTS\n\nCHAPTER I. Short\nCHAPTER II. In Which the Captain Comes Ashore at Last, and Is Seen\nCHAPTER III. Home\n\n\n"
         "CHAPTER I. Short\n\nIt was a dark night, and the wind blew hard.\n"
         "CHAPTER II. In Which the Captain Comes Ashore at Last, and Is Seen\n\nHe came, as he said he would.\n"
         "CHAPTER III. Home\n\nAnd so they went home.\n",
         {"书", "CHAPTER I. Short", "CHAPTER II. In Which the Captain Comes Ashore at Last, and Is Seen", "CHAPTER III. Home"}},
        // The first heading after a table of contents is the book's first chapter.
        {"contents with blank lines between, then 引子",
         "目录\n\n引子\n\n第一章 甲\n\n第二章 乙\n\n\n引子\n" + p + "第一章 甲\n" + p + "第二章 乙\n" + p,
         {"书", "引子", "第一章 甲", "第二章 乙"}},
        {"contents, then blank lines, then 第一章", "目录\n第一章 甲\n第二章 乙\n第三章 丙\n\n\n第一章 甲\n" + p + "第二章 乙\n" + p + "第三章 丙\n" + p,
         {"书", "第一章 甲", "第二章 乙", "第三章 丙"}},
        // Volume units joined to the chapter, zero digits.
        {"第三册第二十章 and 第二季第一章", "第三册第二十章 风雪夜归\n" + p + "第三册第二十一章 晴\n" + p + "第二季第一章 新\n" + p,
         {"第三册第二十章 风雪夜归", "第三册第二十一章 晴", "第二季第一章 新"}},
        {"○ 〇 零 as zeros", "第九十九章 甲\n" + p + "第一○○章 乙\n" + p + "第一〇一章 丙\n" + p + "第一零二章 丁\n" + p,
         {"第九十九章 甲", "第一○○章 乙", "第一〇一章 丙", "第一零二章 丁"}},
        // A 第一章 that breaks the running sequence inside the text is prose.
        {"a stray 第一章 inside chapter 6", "第五章 甲\n" + p + "第六章 乙\n" + p + "\n第一章\n\n" + p + "第七章 丙\n" + p,
         {"第五章 甲", "第六章 乙", "第七章 丙"}},
        {"volumes restart the numbers", "第一卷 风\n\n第一章 甲\n" + p + "第二章 乙\n" + p + "第二卷 雨\n\n第一章 丙\n" + p + "第二章 丁\n" + p,
         {"第一卷 风 第一章 甲", "第二章 乙", "第二卷 雨 第一章 丙", "第二章 丁"}},
        {"上 and 下 halves share a number", "第九章 甲\n" + p + "第十章 乙（上）\n" + p + "第十章 乙（下）\n" + p + "第十一章 丙\n" + p,
         {"第九章 甲", "第十章 乙（上）", "第十章 乙（下）", "第十一章 丙"}},
        // Numbers without 第, used through the book.
        {"1. 2． 3.", "\n1. 雨夜\n\n" + p + "\n2．归途\n\n" + p + "\n3. 远行\n\n" + p, {"1. 雨夜", "2．归途", "3. 远行"}},
        {"12、 13、 14、", "\n12、标题\n\n" + p + "\n13、另一个\n\n" + p + "\n14、最后\n\n" + p, {"12、标题", "13、另一个", "14、最后"}},
        {"Part 1 Part 2 part3", "Part 1\n" + p + "Part 2\n" + p + "part3 标题\n" + p, {"Part 1", "Part 2", "part3 标题"}},
        {"bare numbers on their own lines", "\n21\n\n" + p + "\n22\n\n" + p + "\n23\n\n" + p, {"21", "22", "23"}},
        {"a numbered list inside prose is text", "他列了三条：\n1. 早起\n2. 读书\n3. 睡觉\n" + p + p, {}},
        {"番外2 and 尾 声 with a space", "序 章\n" + p + "第一章 甲\n" + p + "第二章 乙\n" + p + "番外2：标题\n" + p + "尾 声\n" + p,
         {"序 章", "第一章 甲", "第二章 乙", "番外2：标题", "尾 声"}},
        // A book of bare titles: unindented titles among indented paragraphs, or blank lines around.
        {"bare titles, unindented", "狐狸\n" + p + p + "老虎\n" + p + p + "兔子\n" + p + p, {"狐狸", "老虎", "兔子"}},
        {"bare titles after paragraphs longer than a line is kept",
         "狐狸\n　　" + test::Repeat("很长的一段话", 40) + "。\n老虎\n　　" + test::Repeat("很长的一段话", 40) + "。　\n兔子\n　　" +
             test::Repeat("很长的一段话", 40) + "。\n",
         {"狐狸", "老虎", "兔子"}},
        {"bare titles between blank lines", "\n狐狸\n\n" + p + p + "\n老虎\n\n" + p + p + "\n兔子\n\n" + p, {"狐狸", "老虎", "兔子"}},
        {"numbers in brackets", "\n（1）\n\n" + p + "\n（2）\n\n" + p + "\n（3）\n\n" + p, {"（1）", "（2）", "（3）"}},
        {"two numbered chapters of a long book", "书名\n\n\n一 青衫磊落险峰行\n" + test::Repeat(p, 30) + "\n\n二 玉壁月华明\n" + test::Repeat(p, 30),
         {"书", "一 青衫磊落险峰行", "二 玉壁月华明"}},
        {"two numbered lines that begin no long chapters are text", "\n\n一 甲\n" + p + "\n\n二 乙\n" + p, {}},
        {"Letter 1 and 2 before Chapter 1 and 2", "Letter 1\n" + p + "Letter 2\n" + p + "Chapter 1\n" + p + "Chapter 2\n" + p,
         {"Letter 1", "Letter 2", "Chapter 1", "Chapter 2"}},
        {"an opening word after a decoration set off by a space",
         "◆ 《书》 楔子　熊姥姥的糖炒栗子 ◆\n" + p + "◆ 《书》 楔子　老实和尚 ◆\n" + p,
         {"楔子　熊姥姥的糖炒栗子 ◆", "楔子　老实和尚 ◆"}},
        {"contents whose last entry is not the first chapter", "目录\n第一回 甲\n第二回 乙\n第三回 丙\n\n网站\n\n第一回 甲\n" + p + "第二回 乙\n" + p,
         {"书", "第一回 甲", "第二回 乙"}},
        {"bare titles beside the numbered sections of one essay",
         "\n甲篇（代序）\n\n" + p + p + "\n乙篇\n\n" + p + p + "\n丙篇\n\n一\n\n" + p + "\n二\n\n" + p + "\n三\n\n" + p + "\n丁篇\n\n" + p + p +
             "\n戊篇\n\n" + p + p + "\n己篇\n\n" + p + p + "\n庚篇\n\n" + p + p,
         {"甲篇（代序）", "乙篇", "一", "二", "三", "丁篇", "戊篇", "己篇", "庚篇"}},
        {"attributions and list items start as no title does", "\n--《论语》\n\n" + p + p + "\n——苏轼\n\n" + p + p + "\n* 数字\n\n" + p + p, {}},
        {"a title does not end in a bracket it does not open", "\n甲）\n\n" + p + "\n乙）\n\n" + p + "\n丙）\n\n" + p, {}},
        {"no chapters: prose only", p + p + "　　后来\n" + p, {}},
        {"no chapters: hard-wrapped prose", "他说了很多话大家都听着没有人\n出声后来他走了再也没有回来过\n村里的人\n都记得他。\n", {}},
        // CR alone ends a line.
        {"CR-only line ends", "第一章 甲\r　　他走了。\r第二章 乙\r　　他来了。\r", {"第一章 甲", "第二章 乙"}},
        {"CR LF line ends", "第一章 甲\r\n　　他走了。\r\n第二章 乙\r\n　　他来了。\r\n", {"第一章 甲", "第二章 乙"}},
        // One set of character rules: an indent of U+00A0 or a leading U+FEFF is a space.
        // The running sequence: a line whose number continues the book's exactly is a heading
        // whatever its title holds; one whose number breaks it stays text.
        {"punctuation in titles that continue the sequence",
         "第十一章 甲\n" + p + "第十二章别走，师父\n" + p + "第十三章谁在说谎？\n" + p + "第十四章融合?终局\n" + p + "第十五章“宽”与“严”\n" + p +
             "第十六章 乙\n" + p,
         {"第十一章 甲", "第十二章别走，师父", "第十三章谁在说谎？", "第十四章融合?终局", "第十五章“宽”与“严”", "第十六章 乙"}},
        {"punctuation in the title of the last chapter", "第一章 甲\n" + p + "第二章 乙\n" + p + "第三章走吧，回家\n" + p,
         {"第一章 甲", "第二章 乙", "第三章走吧，回家"}},
        {"punctuation in the title of the first chapter", "第一章别哭，孩子\n" + p + "第二章 乙\n" + p + "第三章 丙\n" + p,
         {"第一章别哭，孩子", "第二章 乙", "第三章 丙"}},
        {"a number that breaks the sequence is text however its title reads",
         "第十一章 甲\n" + p + "第十五章别走，师父\n" + p + "第十二章 乙\n" + p + "第十二章里说的，都是真的\n" + p + "第十三章 丙\n" + p,
         {"第十一章 甲", "第十二章 乙", "第十三章 丙"}},
        {"an advertisement glued to a heading is cut off",
         "第42章 甲\n" + p + "第43章 初雪[http://www.example-pan.com]百度云搜索，找小说就来这里，最新章节全文免费下载阅读…\n" + p +
             "第44章 春【example-pan.com 手机用户请到这里阅读，更多好书等你来看】\n" + p + "第45章 乙\n" + p,
         {"第42章 甲", "第43章 初雪", "第44章 春", "第45章 乙"}},
        {"an advertised line out of sequence is text",
         "第42章 甲\n" + p + "第99章 初雪[http://www.example-pan.com]百度云搜索，找小说就来这里…\n" + p + "第43章 乙\n" + p,
         {"第42章 甲", "第43章 乙"}},
        {"bare numbers in a text without blank lines or indents",
         "三\n" + q + q + "四\n" + q + "五\n" + q + q + "六\n" + q, {"三", "四", "五", "六"}},
        {"a counted list in a text without blank lines is text", q + "他数着：\n一\n二\n三\n" + q + q, {}},
        {"numbered titles written inconsistently",
         "part 36 甲\n" + p + "part 37 乙\n" + p + "part38丙\n" + p + "part 39 丁\n" + p + "P art 40 戊\n" + p + "part 41 己\n" + p +
             "42\n" + p + "part 43 庚\n" + p + "44．\n" + p + "part 45 辛\n" + p,
         {"part 36 甲", "part 37 乙", "part38丙", "part 39 丁", "P art 40 戊", "part 41 己", "42", "part 43 庚", "44．", "part 45 辛"}},
        {"a number of another style out of sequence is text",
         "part 1 甲\n" + p + "part 2 乙\n" + p + "P art 7 丁\n" + p + "part 3 丙\n" + p + "2000年的冬天\n" + p + "part 4 庚\n" + p,
         {"part 1 甲", "part 2 乙", "part 3 丙", "part 4 庚"}},
        {"卷N‧title with a source after it, a sub-title under each",
         "卷一‧考城隍　　出自某某某某书的第一卷第一篇\n原题：某某\n" + p + "卷一‧耳中人　　出自某某某某书的第一卷第二篇\n原题：某某\n" + p +
             "卷二‧金世成　　出自某某某某书的第二卷第一篇\n原题：某某\n" + p,
         {"卷一‧考城隍　　出自某某某某书的第一卷第一篇", "卷一‧耳中人　　出自某某某某书的第一卷第二篇", "卷二‧金世成　　出自某某某某书的第二卷第一篇"}},
        {"a bare title with the list comma inside", "\n★柳条、木屐和灯笼\n\n" + p + p + "\n★老街\n\n" + p + p + "\n★小河\n\n" + p + p,
         {"★柳条、木屐和灯笼", "★老街", "★小河"}},
        {"the licence after a Project Gutenberg end line is no chapter",
         "CHAPTER I\n\nIt was dark.\n\nCHAPTER II\n\nIt was light.\n\nEpilogue\n\nAnd then it was over.\n\n"
         "*** END OF THE PROJECT GUTENBERG EBOOK A TALE ***\n\nSection 1. General Terms of Use\n\nBy reading this.\n\n"
         "Section 2. Information about the Mission\n\nVolunteers.\n\nSection 3. Information about the Foundation\n\nThe foundation.\n",
         {"CHAPTER I", "CHAPTER II", "Epilogue"}},
        {"an epilogue heading its own numbered chapters, with the licence after the book",
         "Chapter XIII.\nA Corrupter Of Thought\n\nIt was late.\n\nChapter XIV.\nThe Peasants Stand Firm\n\nIt was later.\n\n\n\n"
         "EPILOGUE\n\n\n\nChapter I.\nPlans For Escape\n\nVery early.\n\nChapter II.\nThe Lie\n\nAnd then.\n\n"
         "*** END OF THE PROJECT GUTENBERG EBOOK THE BROTHERS ***\n\nSection 1. General Terms of Use\n\nBy reading.\n\n"
         "Section 2. Information about the Mission\n\nVolunteers.\n\nSection 3. The Foundation\n\nThe foundation.\n",
         {"Chapter XIII.", "Chapter XIV.", "EPILOGUE Chapter I.", "Chapter II."}},
        {"an opening word between chapters followed by text stays text",
         "第一章 甲\n" + p + "\n尾声\n\n" + p + "第二章 乙\n" + p, {"第一章 甲", "第二章 乙"}},
        {"headings centred with hundreds of spaces",
         std::string(200, ' ') + "第一章 一个足足有四十个字的很长很长很长很长很长很长很长很长很长很长很长的标题呀" + std::string(200, ' ') + "\n" + p +
             std::string(300, ' ') + "第二章 乙" + std::string(300, ' ') + "\n" + p,
         {"第一章 一个足足有四十个字的很长很长很长很长很长很长很长很长很长很长很长的标题呀", "第二章 乙"}},
        {"contents listing two volumes a line: its last line is no volume heading",
         "目录\n第一卷 风起　第二卷 云涌\n第三卷 落叶　第四卷 归根\n第五卷 终\n\n第一章 甲\n" + p + "第二章 乙\n" + p,
         {"书", "第一章 甲", "第二章 乙"}},
        {"no-break space and BOM before headings", "\xEF\xBB\xBF序章 开端\n" + p + "\xC2\xA0\xC2\xA0" "Chapter 3\n" + p + "第四章 甲\n" + p,
         {"序章 开端", "Chapter 3", "第四章 甲"}},
    };
    for (const BookCase& c : table) {
        SCOPED_TRACE(c.what);
        const std::vector<Chapter> chapters = FindChapters(c.text, "书");
        EXPECT_EQ(Titles(chapters), c.titles);
        if (!chapters.empty()) {
            EXPECT_EQ(Joined(c.text, chapters), c.text);
        }
    }
}

// The finder fed a character at a time finds what it finds in the whole text, whatever
// falls at a piece's end (a CR of a CR LF, a heading's first byte).
TEST(ChapterFinder, PiecesGiveWhatTheWholeGives)
{
    const std::string spaces(300, ' ');
    const std::pair<std::string, std::vector<std::string>> texts[] = {
        {"前言\r\n说明。\r\n第一章 甲\r\n　　他走了。\r第二章 乙\r\r\n　　他来了。\n尾声", {"前言", "第一章 甲", "第二章 乙", "尾声"}},
        // Centred headings: the indent runs over several pieces.
        {"前言\r\n说明。\r\n" + spaces + "第一章 甲" + spaces + "\r\n　　他走了。\r" + spaces + "第二章 乙\r\r\n　　他来了。\n尾声",
         {"前言", "第一章 甲", "第二章 乙", "尾声"}},
    };
    for (const auto& [text, titles] : texts) {
    SCOPED_TRACE(text.substr(0, 20));
    const std::vector<Chapter> whole = FindChapters(text, "书");
    ASSERT_EQ(Titles(whole), titles);
    ChapterFinder finder("书");
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        finder.Feed(std::string_view(text).substr(i, n));
        i += n;
    }
    const std::vector<Chapter> pieces = finder.Finish().chapters;
    ASSERT_EQ(pieces.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(pieces[i].title, whole[i].title);
        EXPECT_EQ(pieces[i].begin, whole[i].begin);
        EXPECT_EQ(pieces[i].end, whole[i].end);
        EXPECT_EQ(pieces[i].line, whole[i].line);
    }
    EXPECT_EQ(whole[2].line, 5u) << "CR alone, CR LF and LF each end one line";
    }
}

// The lines refused as headings, and why.
TEST(FindChapterList, RefusedLinesSayWhy)
{
    const std::string p = "　　他说了很多话，大家都听着。\n";
    const std::string text = "目录\n第一章 甲\n第二章 乙\n第三章 丙\n\n第一章 甲\n" + p + "第三回里说过的事，后来\n" + p + "第二章 乙\n" + p +
                             "\n第九十章\n\n" + p + "\n楔子\n\n" + p + "第三章 丙\n" + p;
    const ChapterList list = FindChapterList(text, "书");
    EXPECT_EQ(Titles(list.chapters), (std::vector<std::string> {"书", "第一章 甲", "第二章 乙", "第三章 丙"}));
    std::vector<std::pair<std::size_t, ChapterRefusal>> refused;
    for (const RefusedHeading& r : list.refused)
        refused.emplace_back(r.line, r.reason);
    EXPECT_EQ(refused, (std::vector<std::pair<std::size_t, ChapterRefusal>> {
                           {2, ChapterRefusal::tableOfContents},
                           {3, ChapterRefusal::tableOfContents},
                           {4, ChapterRefusal::tableOfContents},
                           {8, ChapterRefusal::runningText},
                           {13, ChapterRefusal::outOfSequence},
                           {17, ChapterRefusal::insideTheBook},
                       }));
}

TEST(NumberValue, NumbersAsHeadingsWriteThem)
{
    const std::pair<std::u32string_view, std::int64_t> cases[] = {
        {U"12", 12}, {U"１２", 12}, {U"十", 10}, {U"十二", 12}, {U"二十", 20}, {U"一百零八", 108}, {U"一〇〇", 100},
        {U"一○○", 100}, {U"一零二", 102}, {U"两千", 2000}, {U"壹佰", 100}, {U"三千零五", 3005}, {U"一万二千", 12000},
        {U"", -1},
    };
    for (const auto& [digits, value] : cases)
        EXPECT_EQ(NumberValue(digits), value);
}

// Ctrl+C reaches the import: the progress callback is called while the text is decoded and
// while it is cut, and what it throws stops the import there.
TEST(ImportChapters, ProgressRunsThroughDecodingAndCuttingAndMayStopIt)
{
    const std::string text = "第一章 甲\n" + test::Repeat("　　长长的一段话。\n", 40000) + "第二章 乙\n短";
    std::vector<std::size_t> done;
    CSourceList list;
    ImportChapters(list, "书", text.data(), text.size(), false, EncodingUtf8,
                   [&](std::size_t d, std::size_t total) {
                       EXPECT_EQ(total, 2 * text.size());
                       done.push_back(d);
                   });
    ASSERT_GE(done.size(), 2 * (text.size() / (64 * 1024)));
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_EQ(done.back(), 2 * text.size());
    for (const std::size_t stopAt : {std::size_t {1}, done.size() / 2 + 1, done.size()}) {
        SCOPED_TRACE(stopAt);
        CSourceList stopped;
        std::size_t calls = 0;
        struct Stop {};
        EXPECT_THROW(ImportChapters(stopped, "书", text.data(), text.size(), false, EncodingUtf8,
                                    [&](std::size_t, std::size_t) {
                                        if (++calls == stopAt)
                                            throw Stop {};
                                    }),
                     Stop);
        EXPECT_EQ(calls, stopAt);
    }
}

} // namespace

namespace {

std::u32string U32(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    std::u32string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        out += c;
    }
    return out;
}

// A line longer than a bare title is only decoded whole when its first characters may hold a
// key: every such heading must pass that look, and prose must not need the whole reading.
TEST(MayHoldKey, LongHeadingsHoldTheirKeyNearTheirStart)
{
    for (const char* line : {"第一百二十回 甄士隐详说太虚情 贾雨村归结红楼梦", "CHAPTER II. In Which the Captain Comes Ashore at Last",
                             "正文 第一回 宴桃园豪杰三结义 斩黄巾英雄首立功", "◆ 《陆小凤传奇》 楔子　熊姥姥的糖炒栗子 ◆",
                             "卷一 第三章 山雨欲来风满楼，黑云压城城欲摧", "12、一个很长很长很长很长很长很长很长的标题",
                             "（3） 一个很长很长很长很长很长很长很长的标题", "《》目录 第十四回　心猿归正　六贼无踪　另一半",
                             "序章 一个很长很长很长很长很长很长很长的标题"}) {
        SCOPED_TRACE(line);
        const std::u32string s = U32(line);
        ASSERT_GT(s.size(), kMaxBareTitleChars);
        EXPECT_NE(ReadHeadingLine(s).kind, HeadingKind::none);
        EXPECT_TRUE(MayHoldKey(std::u32string_view(s).substr(0, kKeyWindowChars)));
    }
    for (const char* line : {"他说了很多话，大家都听着，没有人出声，后来他走了", "樊迟曰：“何谓也？”子曰：“生，事之以礼；死，葬之以礼。”"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(MayHoldKey(std::u32string_view(U32(line)).substr(0, kKeyWindowChars)));
    }
}

} // namespace
