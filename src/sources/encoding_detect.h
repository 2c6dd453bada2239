// Which encoding the bytes of a source text are in: by byte-order mark, else UTF-16 when the
// bytes read as UTF-16 text without one, else by whether the buffer is valid UTF-8
// throughout or overwhelmingly (a stray bad byte in a long text), else GBK or Big5, whichever
// reads as the more common characters (gbk_or_big5.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

enum TextEncoding : std::uint8_t {
    EncodingAnsi = 0,     // GBK, decoded as GB18030
    EncodingUtf16Le = 1,  // FF FE, or UTF-16LE text without a mark
    EncodingUtf16Be = 2,  // FE FF, or UTF-16BE text without a mark
    EncodingUtf32Le = 3,  // FF FE 00 00
    EncodingUtf32Be = 4,  // 00 00 FE FF
    EncodingUtf8 = 5,     // EF BB BF, or (nearly all) valid UTF-8 with a non-ASCII byte
    EncodingBig5 = 6,     // Big5 with the HKSCS additions, as the WHATWG standard decodes it
};

TextEncoding DetectEncoding(const char* data, std::size_t size);
// The encoding a byte-order mark at the start of the bytes names, or nothing.
std::optional<TextEncoding> EncodingOfMark(const char* data, std::size_t size);

// "GBK", "UTF-16LE", "UTF-16BE", "UTF-32LE", "UTF-32BE", "UTF-8", "Big5": for reports.
const char* EncodingName(TextEncoding encoding);

// The names --encoding takes: "auto" (nothing: detected), "gbk", "big5", "utf-8",
// "utf-16le", "utf-16be", in any case. False, leaving encoding as it was, for any other.
bool ParseEncodingChoice(const std::string& name, std::optional<TextEncoding>& encoding);
