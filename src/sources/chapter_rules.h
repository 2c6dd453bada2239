// The rules of one line that may be a chapter heading: which characters are spaces, end a
// sentence or may start a heading, and what a line says as a heading (its kind, its number,
// its title). The quick look at a line's bytes and the full reading of it both use these, so
// they never disagree. Whether a possible heading is one is decided for the whole book
// (chapters.h).
#pragma once

#include "sources/chinese_numbers.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A heading has at most this many characters (spaces around it not counted); a line that
// starts with an English key (Chapter, Part, Prologue...) may have up to kMaxEnglishHeadingChars.
inline constexpr std::size_t kMaxHeadingChars = 40;
inline constexpr std::size_t kMaxEnglishHeadingChars = 100;
// A title of a book of titles without numbers is shorter still.
inline constexpr std::size_t kMaxBareTitleChars = 20;

// ASCII and full-width spaces, tab, no-break space, the byte-order mark and line ends.
inline bool IsHeadingSpace(char32_t c);
// A line ending in one of these goes on as a sentence: prose, never a heading.
inline bool EndsSentence(char32_t c);
// A heading starts with any character but these: an opening quote (speech), a dash or an
// asterisk (an attribution, a list item).
inline bool CanStartHeading(char32_t c);
// A line ending in one of these after a sentence's end ("。”") closes speech: prose.
inline bool ClosesSpeech(char32_t c);

enum class HeadingKind {
    none,         // not a heading (refusal says why when the line looked like one)
    numbered,     // 第 + number + 章/回/节..., maybe after a volume: 第三册第二十章
    volume,       // 第 + number + 卷/部/集/册/季 alone, or 卷 + number
    english,      // Chapter + number, with or without a title
    special,      // 序 序章 楔子 引子 尾声 后记 番外 Prologue Epilogue...: opening or closing words
    plainNumber,  // a number without 第: "1. 雨夜", "12、标题", "Part 2", a bare "22"
    bare,         // a short line that is only a title; a heading if the book is made of such
};

enum class HeadingRefusal {
    none,
    runningText,  // starts like a heading, goes on as a sentence ("第三回里说过的那件事，后来又被")
    noTitleAfterMark,  // "第十章！"
};

struct HeadingLine {
    HeadingKind kind = HeadingKind::none;
    HeadingRefusal refusal = HeadingRefusal::none;
    std::int64_t number = -1;  // -1: none or unknown
    // What numbers run in: the unit ("章", "回"), "chapter", or a plain number's style
    // ("1.", "1、", "part", "1"); headings of one sequence share it.
    std::u32string sequence;
    std::string title;  // UTF-8, as the part's title
    // A heading only where its number continues the book's running sequence exactly (the
    // one before it n-1, the one after it n+1): a title with punctuation inside, one cut at
    // an advertisement, a number written unlike the book's others ("part38", "P art 47").
    bool weak = false;
};

// What a line says as a heading. `line` is the line without its end and without the spaces
// around it (IsHeadingSpace).
HeadingLine ReadHeadingLine(std::u32string_view line);

// A line with an advertisement glued to it may be this long (spaces around it not counted).
inline constexpr std::size_t kMaxAdvertisedChars = 80;

// What a line that ReadHeadingLine reads as no heading (or as a bare title) says when only
// the book's running sequence can make it one: kind none, or a weak heading. Its title is
// cut before an advertisement (a web address, or a 【】/[] holding one). Kind plainNumber
// with sequence "~" is a number of any style.
HeadingLine ReadSequenceLine(std::u32string_view line);

// A line longer than a bare title is a heading only with a key (第, Chapter, 序, a number...)
// at its start or after a short prefix: whether its first kKeyWindowChars characters (all of
// them when it has fewer) may hold one. False: ReadHeadingLine would read no heading.
inline constexpr std::size_t kKeyWindowChars = 12;
bool MayHoldKey(std::u32string_view start);

// The character classes are switches: they are asked of nearly every line of a book.
inline bool IsHeadingSpace(char32_t c)
{
    switch (c) {
    case ' ': case '\t': case '\r': case '\n': case 0xA0: case 0x3000: case 0xFEFF: return true;
    default: return false;
    }
}

inline bool EndsSentence(char32_t c)
{
    switch (c) {
    case U'。': case U'，': case U'、': case U'；': case U'：': case ',': case ';': case ':': return true;
    default: return false;
    }
}

inline bool CanStartHeading(char32_t c)
{
    switch (c) {
    case U'“': case U'「': case U'『': case U'‘': case '"': case '\'':
    case '-': case U'—': case U'―': case '*': case U'•': return false;
    default: return true;
    }
}

inline bool ClosesSpeech(char32_t c)
{
    switch (c) {
    case U'”': case U'」': case U'』': case U'’': case '"': case '\'': return true;
    default: return false;
    }
}
