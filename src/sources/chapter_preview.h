// What 工具 > 章节规则 shows for a file before the user keeps a rule: how many chapters the
// detection (自动) or the user's pattern finds in it, and their first titles.
#pragma once

#include "sources/source_files.h"

#include <cstddef>
#include <string>
#include <vector>

struct ChapterPreview {
    bool read = false;               // false: the file could not be read, or is no text
    std::size_t chapters = 0;        // headings found (the text before the first not counted)
    std::vector<std::string> first;  // their titles, at most `shown` of them
    std::size_t patternGaveUpLine = 0;  // the pattern ran into its limit on this line: given up
};

// reading.chapterPattern: the user's pattern, none for the detection.
ChapterPreview PreviewChapters(const std::string& path, const SourceReading& reading, std::size_t shown = 50);

// The preview as the dialog's box shows it: a first line with the count (or why there are
// none), then one title a line (CR LF).
std::string DescribePreview(const ChapterPreview& preview, bool byPattern);
