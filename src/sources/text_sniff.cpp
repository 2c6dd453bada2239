#include "sources/text_sniff.h"

#include "platform/user_texts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

using namespace std::string_view_literals;

namespace {

// Only the start of a file is looked at for NUL bytes: a text begins as text, and a binary
// format shows its zeros in its first header already.
constexpr std::size_t kHeadSize = 8192;

struct Signature {
    std::size_t offset;
    std::string_view magic;
};

// Signatures no text starts with: each holds a control byte, a NUL, or a byte that is
// neither UTF-8 nor a GBK lead byte.
constexpr Signature kSignatures[] = {
    {0, "\x89PNG\r\n\x1A\n"sv},
    {0, "\xFF\xD8\xFF"sv},                      // JPEG
    {0, "II*\0"sv},                             // TIFF, little-endian
    {0, "MM\0*"sv},                             // TIFF, big-endian
    {0, "\0\0\1\0"sv},                          // ICO
    {0, "\0\0\2\0"sv},                          // CUR
    {0, "PK\3\4"sv},                            // zip, jar, docx, epub: a local header
    {0, "PK\5\6"sv},                            // an empty zip: its end record
    {0, "PK\7\x08"sv},                          // a split zip
    {0, "Rar!\x1A\x07"sv},
    {0, "7z\xBC\xAF\x27\x1C"sv},
    {0, "\x1F\x8B"sv},                          // gzip
    {0, "\xFD" "7zXZ\0"sv},                     // xz
    {0, "\x28\xB5\x2F\xFD"sv},                  // zstd
    {0, "\x7F" "ELF"sv},
    {0, "\xCA\xFE\xBA\xBE"sv},                  // Java class
    {0, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv},  // OLE2: doc, xls, ppt, msi
    {0, "OggS\0"sv},
    {0, "\x1A\x45\xDF\xA3"sv},                  // Matroska, WebM
    {0, "MThd\0\0\0\6"sv},                      // MIDI
    {0, "MSCF\0\0\0\0"sv},                      // cabinet
    {0, "SQLite format 3\0"sv},
    {0, "\xFF\xFB"sv},                          // MP3 without a tag: MPEG-1 layer III frame
    {0, "\xFF\xF3"sv},                          // MPEG-2 layer III
    {0, "\xFF\xF2"sv},
};

bool At(std::string_view bytes, std::size_t offset, std::string_view magic)
{
    return bytes.size() >= offset + magic.size() && bytes.compare(offset, magic.size(), magic) == 0;
}

// Formats whose first bytes are plain letters a text may start with too: the bytes after
// them decide.
bool HasLetterSignature(std::string_view b)
{
    const auto byte = [&b](std::size_t i) { return i < b.size() ? static_cast<unsigned char>(b[i]) : 0x100u; };
    if (At(b, 0, "BM") && At(b, 6, "\0\0\0\0"sv))  // BMP: size, then four reserved zeros
        return true;
    if (At(b, 0, "RIFF") && (At(b, 8, "WEBP") || At(b, 8, "WAVE") || At(b, 8, "AVI ")))
        return true;
    if (At(b, 4, "ftyp") && byte(0) == 0)  // MP4, MOV, 3GP, HEIC: a box size, then its type
        return true;
    if (At(b, 0, "ID3") && byte(3) >= 2 && byte(3) <= 4)  // MP3 tag, version 2.2 to 2.4
        return true;
    if (At(b, 0, "fLaC") && (byte(4) & 0x7F) == 0)  // FLAC: the stream-info block comes first
        return true;
    if (At(b, 0, "BZh") && byte(3) >= '1' && byte(3) <= '9' &&
        (At(b, 4, "1AY&SY") || At(b, 4, "\x17\x72\x45\x38\x50\x90"sv)))  // bzip2: a block or the end
        return true;
    if (At(b, 0, "GIF87a") || At(b, 0, "GIF89a"))
        return true;
    if (At(b, 0, "%PDF-"))
        return true;
    // MZ: a DOS header of 64 bytes, which always holds zeros.
    if (At(b, 0, "MZ") && b.size() >= 64 && b.substr(2, 62).find('\0') != std::string_view::npos)
        return true;
    return false;
}

bool HasByteOrderMark(std::string_view b)
{
    return At(b, 0, "\xEF\xBB\xBF"sv) || At(b, 0, "\xFF\xFE"sv) || At(b, 0, "\xFE\xFF"sv) ||
           At(b, 0, "\0\0\xFE\xFF"sv);
}

// A UTF-16 code unit that text in Chinese or a European language is made of.
bool IsLikelyTextUnit(unsigned unit)
{
    return unit == 0x09 || unit == 0x0A || unit == 0x0D || (unit >= 0x20 && unit <= 0x7E) ||
           (unit >= 0xA0 && unit <= 0x52F) ||     // Latin, Greek, Cyrillic
           (unit >= 0x2000 && unit <= 0x2BFF) ||  // punctuation, symbols, arrows, box drawing
           (unit >= 0x3000 && unit <= 0x9FFF) ||  // CJK punctuation, kana, ideographs
           (unit >= 0xF900 && unit <= 0xFAFF) || (unit >= 0xFE30 && unit <= 0xFE4F) ||
           (unit >= 0xFF00 && unit <= 0xFFEF);    // full-width forms
}

// BOM-less UTF-16: ASCII characters give a zero in every other byte, but Chinese ones
// mostly none (and 一, U+4E00, one on the other side), so where the zeros fall says too
// little. The bytes are read as UTF-16 instead: a text is made of likely units, with no
// control character but tab and line breaks and no lone surrogate; binary data, whose zeros
// come in pairs and beside small numbers, is not.
bool ReadsAsUtf16(const unsigned char* p, std::size_t size, bool bigEndian)
{
    const std::size_t units = size / 2;
    const auto unitAt = [p, bigEndian](std::size_t k) {
        return static_cast<unsigned>(bigEndian ? p[2 * k] << 8 | p[2 * k + 1] : p[2 * k + 1] << 8 | p[2 * k]);
    };
    std::size_t likely = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const unsigned unit = unitAt(i);
        if (unit < 0x20 && unit != 0x09 && unit != 0x0A && unit != 0x0D)
            return false;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return false;  // a low surrogate without its high one
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == units)
                break;  // the pair is cut by the end of the sample
            const unsigned low = unitAt(i + 1);
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            likely += 2;
            ++i;
            continue;
        }
        if (IsLikelyTextUnit(unit))
            ++likely;
    }
    return units > 0 && likely * 10 >= units * 9;
}

// Where the bytes end without their trailing zeros: a text cut short by a crash, or written
// by a tool that ends it with a NUL, is still the user's text (import drops NULs).
std::size_t TextEnd(const char* data, std::size_t size)
{
    while (size > 0 && data[size - 1] == '\0')
        --size;
    return size;
}

// True when the first 8 KB (trailing zeros not counted) hold more NUL bytes than a text's
// stray ones: one, and one more per KB. More are binary data or UTF-16 (even compressed
// data has one zero in 256 bytes: 32 in 8 KB, while a header or a table has far more).
// Zeros further on are not looked at: import drops them, and a long text must not be
// refused for one damaged spot.
bool ManyNuls(const char* data, std::size_t size)
{
    const std::size_t head = std::min(TextEnd(data, size), kHeadSize);
    const auto nuls = static_cast<std::size_t>(std::count(data, data + head, '\0'));
    return nuls > 1 + head / 1024;
}

} // namespace

std::string CNotTextException::Message() const { return kNotTextMessage + m_strPath; }

bool IsClearlyNotText(const char* data, std::size_t size)
{
    const std::string_view bytes(data, size);
    if (size == 0 || HasByteOrderMark(bytes))
        return false;
    for (const Signature& s : kSignatures) {
        if (At(bytes, s.offset, s.magic))
            return true;
    }
    if (HasLetterSignature(bytes))
        return true;
    // A file of nothing but zeros holds no text; otherwise NUL bytes tell binary data, unless
    // the bytes read as UTF-16.
    if (TextEnd(data, size) == 0)
        return true;
    return ManyNuls(data, size) && !Utf16WithoutMark(data, size) && !Utf32WithoutMark(data, size);
}

std::optional<TextEncoding> Utf16WithoutMark(const char* data, std::size_t size)
{
    if (!ManyNuls(data, size))
        return std::nullopt;
    // The last zero of the text may have been counted as trailing, so the sample goes up to
    // an even length.
    const std::size_t end = TextEnd(data, size);
    const std::size_t sample = std::min({size, kHeadSize, end + (end & 1)});
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    if (ReadsAsUtf16(p, sample, false))
        return EncodingUtf16Le;
    if (ReadsAsUtf16(p, sample, true))
        return EncodingUtf16Be;
    return std::nullopt;
}

std::optional<TextEncoding> Utf32WithoutMark(const char* data, std::size_t size)
{
    if (!ManyNuls(data, size))
        return std::nullopt;
    // The last character's zeros may have been counted as trailing: up to a whole unit.
    const std::size_t end = TextEnd(data, size);
    const std::size_t sample = std::min({size, kHeadSize, (end + 3) & ~std::size_t {3}}) & ~std::size_t {3};
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    for (const bool bigEndian : {false, true}) {
        std::size_t likely = 0, units = sample / 4;
        bool text = units > 0;
        for (std::size_t i = 0; i < units && text; ++i) {
            const unsigned char* u = p + 4 * i;
            const std::uint32_t c = bigEndian ? std::uint32_t {u[0]} << 24 | u[1] << 16 | u[2] << 8 | u[3]
                                              : std::uint32_t {u[3]} << 24 | u[2] << 16 | u[1] << 8 | u[0];
            text = c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF) && (c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D);
            if (text && (c > 0xFFFF || IsLikelyTextUnit(static_cast<unsigned>(c))))
                ++likely;
        }
        if (text && likely * 10 >= units * 9)
            return bigEndian ? EncodingUtf32Be : EncodingUtf32Le;
    }
    return std::nullopt;
}
