#include "sources/chapter_pattern.h"
#include "sources/chapters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::shared_ptr<const ChapterPattern> Compiled(const std::string& pattern)
{
    std::string error;
    auto compiled = ChapterPattern::Compile(pattern, error);
    EXPECT_TRUE(compiled) << pattern << ": " << error;
    return compiled;
}

std::vector<std::string> Titles(const ChapterList& list)
{
    std::vector<std::string> titles;
    for (const Chapter& c : list.chapters)
        titles.push_back(c.title);
    return titles;
}

// The user's pattern decides alone: the lines it matches (trimmed) are the headings, even
// where the detection would refuse them, and no line it does not match is one.
TEST(ChapterPattern, PatternsAgainstATextTheDetectionReadsOtherwise)
{
    const std::string p = "　　他说了很多话，大家都听着。\n";
    const std::string text = "说明\n" + p + "　　Episode 1 开始\n" + p + "第一章 甲\n" + p + "Episode 2：谁，在哪？\n" + p +
                             "第二章 乙\n" + p + std::string(300, ' ') + "Episode 3\n" + p;
    const struct {
        const char* pattern;
        std::vector<std::string> titles;  // empty: no chapters
    } cases[] = {
        {"^Episode \\d+", {"书", "Episode 1 开始", "Episode 2：谁，在哪？", "Episode 3"}},
        {"^第.{1,9}章", {"书", "第一章 甲", "第二章 乙"}},
        {"^[第Ee]", {"书", "Episode 1 开始", "第一章 甲", "Episode 2：谁，在哪？", "第二章 乙", "Episode 3"}},
        {"甲$", {"书", "第一章 甲"}},                     // one match is enough to cut
        {"^Episode 3$", {"书", "Episode 3"}},             // matched without the spaces around it
        {"^第[0-9]+章", {}},                              // matches no line: the text stays whole
        {"^\\s+Episode", {}},                             // the indent is not part of the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const ChapterList list = FindChapterList(text, "书", Compiled(c.pattern));
        EXPECT_EQ(Titles(list), c.titles);
        EXPECT_EQ(list.patternGaveUpLine, 0u);
        std::size_t at = 0;
        for (const Chapter& chapter : list.chapters) {
            EXPECT_EQ(chapter.begin, at);
            at = chapter.end;
        }
        if (!list.chapters.empty()) {
            EXPECT_EQ(at, text.size());
        }
    }
}

TEST(ChapterPattern, InvalidPatternsSayWhatIsWrongAndWhere)
{
    const struct {
        const char* pattern;
        const char* where;  // the place named in the message
    } cases[] = {
        {"第(章", "第 4 个字符处"},
        {"[第章", "第 4 个字符处"},
        {"第**章", "第 3 个字符处"},
        {"(?<名", "个字符处"},
        {"\\", "第 2 个字符处"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::string error;
        EXPECT_FALSE(ChapterPattern::Compile(c.pattern, error));
        EXPECT_NE(error.find(c.where), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(ChapterPattern::Compile("", error));
    EXPECT_FALSE(error.empty());
}

// A pattern that backtracks without end on a long line stops at its limit: the line is
// reported, the pattern given up for the text, and the text imported whole.
TEST(ChapterPattern, RunawayBacktrackingIsBoundedAndGivesThePatternUp)
{
    const std::string longLine = std::string(480, 'a') + "!";
    for (const char* pattern : {"^(a+)+$", "^(a|aa)+$", "^(\\w+\\s?)*$", "^(([a-z])+.)+[A-Z]([a-z])+$"}) {
        SCOPED_TRACE(pattern);
        const auto compiled = Compiled(pattern);
        ChapterPattern::Matcher match(*compiled);
        EXPECT_EQ(match(longLine), ChapterPattern::Match::tooComplex);
        EXPECT_NE(match("aaaa"), ChapterPattern::Match::tooComplex);
        const std::string text = "aaaa\n正文。\n" + longLine + "\n正文。\naa\n";
        const ChapterList list = FindChapterList(text, "书", compiled);
        EXPECT_TRUE(list.chapters.empty());
        EXPECT_EQ(list.patternGaveUpLine, 3u);
    }
}

} // namespace
