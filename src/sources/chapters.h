// Chapters of a novel: which lines are chapter headings, and the text cut at them.
//
// A heading is a line of at most kMaxHeadingChars characters (ASCII and full-width spaces
// trimmed) that does not end like a sentence and is one of:
//   第 + number + 章/回/节/卷/集/部/篇/幕/折/话/则, then nothing, a separator and a title, or
//   a title ("第一章 雨夜", "第十二回　宴桃园豪杰三结义", "第 3 章", "第１２章：归来", "第01回");
//   an opening or closing word: 序 序章 序言 前言 楔子 引子 引言 尾声 终章 后记 番外 (番外
//   with a number too), alone or with a separator and a title;
//   Chapter + a number (digits, Roman, English words), Prologue, Epilogue.
// Texts from the web put things before the heading: "正文", "卷一" or a volume heading stay
// in the title; a short prefix of anything else, set off by a space ("《》目录 第一回"), is
// left out of the title but not out of the text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kMaxHeadingChars = 40;

// The title of a heading line (the line without its end), or nothing for any other line.
std::optional<std::string> ChapterHeading(std::string_view line);

struct Chapter {
    std::string title;
    std::size_t begin = 0;  // byte offsets into the text: [begin, end)
    std::size_t end = 0;
};

// The chapters of a decoded text, in order, covering it without gap or overlap: the text
// before the first heading is a chapter titled sourceTitle (joined to the first chapter
// when it is only blank), every heading starts a chapter that runs to the next one. Two
// headings with only blank lines between make one ("第一卷 风起" and "第一章 …" give the
// title "第一卷 风起 第一章 …"); three or more are a table of contents and stay text.
// Fewer than two headings: no chapters (the text is not a novel in chapters).
std::vector<Chapter> FindChapters(const std::string& text, const std::string& sourceTitle);
