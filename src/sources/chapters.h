// Chapters of a novel: which lines are chapter headings, and the text cut at them.
//
// Each line is read by itself first (chapter_rules.h): 第N章/回/节 with or without a title,
// a volume (第N卷/部/集/册/季, 卷N), Chapter N, an opening or closing word (序, 楔子, 尾声,
// 番外2, Prologue...), a number without 第 ("1. 雨夜", "（3）", "Part 2", "Letter 1", a bare
// "22"), or a short line that is only a title. Then the book as a whole decides:
//   - 第N and Chapter N headings are headings wherever they stand, but a number that breaks
//     a running sequence (…5, 6, "第一章", 7…) is text, and so is a unit used once where
//     another runs through the book;
//   - without two such, numbers without 第 of one style that run in sequence and are set
//     off from the text (three or more; two when they are 1 and 2 and begin long chapters);
//     beside them an English word's sequence ("Letter 1" to "Letter 4");
//   - without either, bare titles set off by blank lines or by indentation and followed by
//     text (three or more), also beside numbers that stay in one part of the book;
//   - three or more headings with nothing but blank lines between are a table of contents
//     and stay text, except the last (with the volume heading before it) when the contents
//     began with it or do not list its kind: the first heading of the book after them;
//   - an opening or closing word is a heading before the first numbered heading, after the
//     last, or when the book has three or more of them between;
//   - two headings with only blank lines between make one ("第一卷 风起" and "第一章 …"
//     give the title "第一卷 风起 第一章 …").
// Lines end at LF, CR LF or CR alone. Texts from the web put things before the heading:
// "正文", "卷一" or a volume heading stay in the title; a short prefix of anything else, set
// off by a space ("《》目录 第一回"), is left out of the title but not out of the text.
#pragma once

#include "sources/chapter_pattern.h"
#include "sources/chapter_rules.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The title of a line that is a heading by itself (第N章, a volume, Chapter N, an opening or
// closing word; the line without its end), or nothing.
std::optional<std::string> ChapterHeading(std::string_view line);

struct Chapter {
    std::string title;
    std::size_t begin = 0;  // byte offsets into the text: [begin, end)
    std::size_t end = 0;
    std::size_t line = 1;   // the line it begins on, from 1
};

// Why a line that looks like a heading is not one.
enum class ChapterRefusal {
    runningText,        // it goes on as a sentence
    noTitleAfterMark,   // "第十章！"
    outOfSequence,      // its number breaks the running sequence around it
    tableOfContents,    // an entry of a table of contents
    insideTheBook,      // an opening or closing word between numbered chapters
    notTheBooksPattern, // the book's headings are of another kind
};

struct RefusedHeading {
    std::size_t line = 0;
    std::string text;
    ChapterRefusal reason;
};

struct ChapterList {
    // In order, covering the text without gap or overlap: the text before the first
    // heading is a chapter titled with the source's title (joined to the first chapter when
    // it is only blank), every heading starts a chapter that runs to the next one. Empty
    // when fewer than two headings are found (the text is not a novel in chapters).
    std::vector<Chapter> chapters;
    std::vector<RefusedHeading> refused;  // in order of lines
    // With the user's pattern: the line where a match ran into the pattern's limit (the
    // pattern was given up for this text, which has no chapters then); 0: none.
    std::size_t patternGaveUpLine = 0;
};

// Finds the chapters of a text fed piece by piece, keeping only the lines that may be
// headings: memory is small beside the text, time linear in its length.
// With the user's pattern (chapter_pattern.h) the lines it matches are the headings, and no
// others: one is enough to cut the text; lines longer than 512 bytes are never headings.
class ChapterFinder {
public:
    explicit ChapterFinder(std::string sourceTitle, std::shared_ptr<const ChapterPattern> pattern = nullptr);
    ~ChapterFinder();

    // The next piece of the text: well-formed UTF-8, ending between characters.
    void Feed(std::string_view piece);
    ChapterList Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

ChapterList FindChapterList(std::string_view text, const std::string& sourceTitle,
                            std::shared_ptr<const ChapterPattern> pattern = nullptr);
std::vector<Chapter> FindChapters(std::string_view text, const std::string& sourceTitle);
