// Text import: the bytes of one source become one or more entries of the source list,
// decoded to UTF-8 and cut into parts of at most kPartSize UTF-16 code units.
#pragma once

#include "platform/exception.h"
#include "platform/user_texts.h"
#include "sources/chapters.h"
#include "sources/encoding_detect.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CSourceList;
class CTextConverter;

constexpr std::size_t kPartSize = 150000;  // UTF-16 code units per part

class CImportException : public CException {
public:
    std::string Message() const override { return kImportFailedMessage; }
};

// Bytes in the given encoding to UTF-8: byte-order marks removed, NUL characters dropped,
// undecodable bytes as U+FFFD; with a converter, converted as ImportText converts.
std::string DecodeText(const char* data, std::size_t size, TextEncoding encoding,
                       const CTextConverter* converter = nullptr);

// Cuts well-formed UTF-8 text into parts of at most kPartSize UTF-16 units, never inside a
// surrogate pair nor between CR and LF (the part ends one unit earlier). Always at least one
// part, empty for an empty text.
std::vector<std::string> SplitText(const std::string& text);

// Called as a text is imported, after every piece of at most 64 KiB, with the work done and
// the whole work (in bytes of the source); may throw to stop the import (Ctrl+C).
using ImportProgress = std::function<void(std::size_t done, std::size_t total)>;

// Adds the parts of a source to the list: one entry titled `title`, or T(1), T(2)... when
// it is split; replaceSelected applies to the first part only. With a converter the text is
// converted as it is decoded (text_convert.h), before it is cut. Returns the number of parts
// added (0 for an empty title or no data). Throws CImportException when memory runs out while
// splitting or adding, and std::bad_alloc when it runs out decoding (the text is decoded
// piece by piece as it is cut); parts added before stay either way.
std::size_t ImportText(CSourceList& list, const std::string& title, const char* data,
                       std::size_t size, bool replaceSelected, TextEncoding encoding,
                       const ImportProgress& progress = {}, const CTextConverter* converter = nullptr);

struct ImportedChapters {
    std::size_t parts = 0;
    std::size_t chapters = 0;  // 0: the text has no chapters and was imported as ImportText does
    std::vector<RefusedHeading> refused;  // lines that looked like headings and are not
    std::size_t patternGaveUpLine = 0;    // with a pattern: where a match ran into its limit
};

// As ImportText, but a text with chapters (FindChapters) is cut at them first: one entry per
// chapter, titled with its heading, and a chapter longer than kPartSize becomes
// "标题(1)", "标题(2)"... The text is decoded twice, piece by piece: once to find the
// chapters, once to cut it; memory running out while finding them throws std::bad_alloc,
// later CImportException. Memory is that of ImportText, and a text without chapters gives
// what ImportText gives.
ImportedChapters ImportChapters(CSourceList& list, const std::string& title, const char* data,
                                std::size_t size, bool replaceSelected, TextEncoding encoding,
                                const ImportProgress& progress = {}, const CTextConverter* converter = nullptr,
                                std::shared_ptr<const ChapterPattern> pattern = nullptr);
