#include "sources/encoding_detect.h"

#include "platform/ascii.h"
#include "platform/utf8_sequence.h"
#include "sources/gbk_or_big5.h"
#include "sources/text_sniff.h"

#include <cstring>
#include <initializer_list>

namespace {

// Text with bad sequences is still UTF-8 when it holds at least this many valid multi-byte
// sequences per bad one.
constexpr std::size_t kValidPerBadSequence = 16;

// After this many multi-byte sequences (a page of text), a text with fewer than
// kClearlyLegacyRatio valid ones per bad one is decided without reading on: GBK and Big5
// stay under 2, while UTF-8 with a few damaged bytes is far above 16. Reading a whole GBK
// file to prove that it could not reach 16 took most of the detection's time. Unless its
// last kTailBytes read as UTF-8: files joined, a GBK preface before a UTF-8 body, are read
// to the end and judged as a whole.
constexpr std::size_t kDecisionSequences = 1024;
constexpr std::size_t kClearlyLegacyRatio = 4;
constexpr std::size_t kTailBytes = 1024;

bool EndReadsAsUtf8(const unsigned char* p, std::size_t size)
{
    std::size_t i = size > kTailBytes ? size - kTailBytes : 0;
    while (i < size && (p[i] & 0xC0) == 0x80)
        ++i;  // the tail may start inside a character
    std::size_t valid = 0, bad = 0;
    while ((i = SkipAscii(p, i, size)) < size) {
        const Utf8Sequence s = ReadUtf8Sequence(p + i, size - i);
        if (s.status == Utf8Status::Truncated)
            break;
        i += s.length;
        ++(s.status == Utf8Status::Valid ? valid : bad);
        if (valid + (size - i) / 2 < kValidPerBadSequence * bad)
            return false;  // as in the whole text: the rest could not make up for it
    }
    return valid > 0 && valid >= kValidPerBadSequence * bad;
}

bool StartsWith(const unsigned char* p, std::size_t size, std::initializer_list<unsigned char> mark)
{
    return size >= mark.size() && std::memcmp(p, mark.begin(), mark.size()) == 0;
}

} // namespace

std::optional<TextEncoding> EncodingOfMark(const char* data, std::size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    // Longer marks first: FF FE 00 00 is UTF-32LE, never UTF-16LE.
    if (StartsWith(p, size, {0xFF, 0xFE, 0x00, 0x00}))
        return EncodingUtf32Le;
    if (StartsWith(p, size, {0x00, 0x00, 0xFE, 0xFF}))
        return EncodingUtf32Be;
    if (StartsWith(p, size, {0xEF, 0xBB, 0xBF}))
        return EncodingUtf8;
    if (StartsWith(p, size, {0xFF, 0xFE}))
        return EncodingUtf16Le;
    if (StartsWith(p, size, {0xFE, 0xFF}))
        return EncodingUtf16Be;
    return std::nullopt;
}

TextEncoding DetectEncoding(const char* data, std::size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    if (const std::optional<TextEncoding> mark = EncodingOfMark(data, size))
        return *mark;
    // UTF-16 without a mark: zeros as GBK and UTF-8 text never hold them, and every unit a
    // character of text.
    // UTF-32 first: its zeros make no UTF-16 text.
    if (const std::optional<TextEncoding> utf32 = Utf32WithoutMark(data, size))
        return *utf32;
    if (const std::optional<TextEncoding> utf16 = Utf16WithoutMark(data, size))
        return *utf16;

    // UTF-8 when the buffer holds something besides ASCII and is UTF-8 throughout, or
    // overwhelmingly so: a damaged byte or two in a long UTF-8 text cost a character each
    // (the decoder makes them U+FFFD) instead of turning the whole text into GBK nonsense.
    // GBK and Big5 text is never near that line: fewer than two of its characters are valid
    // UTF-8 for each one that is not. A sequence cut off by the end of the buffer is tolerated.
    const auto legacy = [data, size] { return IsBig5(data, size) ? EncodingBig5 : EncodingAnsi; };
    std::size_t valid = 0, bad = 0;
    std::size_t i = 0;
    int endIsUtf8 = -1;  // not looked at yet
    while ((i = SkipAscii(p, i, size)) < size) {
        const Utf8Sequence s = ReadUtf8Sequence(p + i, size - i);
        if (s.status == Utf8Status::Truncated) {
            ++valid;  // the start of a character the end of the buffer cuts off
            break;
        }
        i += s.length;
        if (s.status == Utf8Status::Valid) {
            ++valid;
            continue;
        }
        ++bad;
        // Stop as soon as the rest of the buffer, all valid, could not make up for it, or
        // the sequences read so far are clearly not UTF-8.
        if (valid + (size - i) / 2 < kValidPerBadSequence * bad)
            return legacy();
        if (valid + bad >= kDecisionSequences && valid < kClearlyLegacyRatio * bad) {
            if (endIsUtf8 < 0)
                endIsUtf8 = EndReadsAsUtf8(p, size);
            if (!endIsUtf8)
                return legacy();
        }
    }
    if (valid + bad == 0)
        return EncodingAnsi;
    return valid >= kValidPerBadSequence * bad ? EncodingUtf8 : legacy();
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case EncodingAnsi: return "GBK";
    case EncodingUtf16Le: return "UTF-16LE";
    case EncodingUtf16Be: return "UTF-16BE";
    case EncodingUtf32Le: return "UTF-32LE";
    case EncodingUtf32Be: return "UTF-32BE";
    case EncodingUtf8: return "UTF-8";
    case EncodingBig5: return "Big5";
    }
    return "?";
}

bool ParseEncodingChoice(const std::string& name, std::optional<TextEncoding>& encoding)
{
    const std::string lower = AsciiLower(name);
    static const struct {
        const char* name;
        std::optional<TextEncoding> encoding;
    } kChoices[] = {{"auto", std::nullopt},           {"gbk", EncodingAnsi},          {"big5", EncodingBig5},
                    {"utf-8", EncodingUtf8},          {"utf-16le", EncodingUtf16Le}, {"utf-16be", EncodingUtf16Be}};
    for (const auto& choice : kChoices) {
        if (lower == choice.name) {
            encoding = choice.encoding;
            return true;
        }
    }
    return false;
}
