// Which files are refused as clearly not text: common binary formats by their first bytes,
// the rest by their NUL bytes; texts in GBK, UTF-8 and UTF-16 never.
#include "sources/text_sniff.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace std::string_literals;

namespace {

// GBK text (第一章 开始。...) of at least size bytes.
std::string GbkText(std::size_t size)
{
    const std::string lines = test::ReadFile(test::FixturePath("sources/gbk-chinese.txt"));
    std::string text;
    while (text.size() < size)
        text += lines;
    return text;
}

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Bytes without structure, as compressed or encrypted data looks.
std::string Noise(std::size_t size)
{
    std::string bytes;
    std::uint32_t x = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes += static_cast<char>(x >> 24);
    }
    return bytes;
}

// Each format's first bytes as its files begin, followed by 8 KB of text: the few zeros
// of the header alone would pass as stray NULs, so the signature is what refuses them.
TEST(IsClearlyNotText, CommonBinaryFormatsByTheirFirstBytes)
{
    const struct {
        const char* format;
        std::string header;
    } formats[] = {
        {"PNG", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s},
        {"JPEG", "\xFF\xD8\xFF\xE0\0\x10JFIF\0"s},
        {"GIF", "GIF89a\x10\0\x10\0\x80"s},
        {"BMP", "BM\x36\x0C\0\0\0\0\0\0\x36\0\0\0"s},
        {"WebP", "RIFF\x24\x10\0\0WEBPVP8 "s},
        {"WAV", "RIFF\x24\x10\0\0WAVEfmt "s},
        {"AVI", "RIFF\x24\x10\0\0" "AVI LIST"s},
        {"TIFF little-endian", "II*\0\x08\0\0\0"s},
        {"TIFF big-endian", "MM\0*\0\0\0\x08"s},
        {"ICO", "\0\0\1\0\1\0\x10\x10"s},
        {"zip, jar, docx", "PK\3\4\x14\0\0\0\x08\0"s},
        {"empty zip", "PK\5\6\0\0\0\0\0\0\0\0"s},
        {"RAR", "Rar!\x1A\x07\x01\0"s},
        {"7z", "7z\xBC\xAF\x27\x1C\0\x04"s},
        {"gzip", "\x1F\x8B\x08\0\0\0\0\0"s},
        {"bzip2", "BZh91AY&SY\x12\x34"s},
        {"xz", "\xFD" "7zXZ\0\0\x04"s},
        {"PDF", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"s},
        {"Windows program", "MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF\0\0"s + std::string(48, '\x40')},
        {"ELF", "\x7F" "ELF\x02\x01\x01\0"s},
        {"Java class", "\xCA\xFE\xBA\xBE\0\0\0\x34"s},
        {"OLE2 (doc, xls)", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s},
        {"MP3 with a tag", "ID3\x04\0\0\0\0\x10\x0F"s},
        {"MP3 frame", "\xFF\xFB\x90\x64"s},
        {"Ogg", "OggS\0\x02\0\0"s},
        {"FLAC", "fLaC\0\0\0\x22"s},
        {"MP4", "\0\0\0\x20" "ftypisom"s},
        {"SQLite", "SQLite format 3\0\x10\0"s},
    };
    const std::string text = GbkText(8192);
    for (const auto& f : formats) {
        SCOPED_TRACE(f.format);
        EXPECT_TRUE(IsClearlyNotText(f.header.data(), f.header.size()));
        const std::string file = f.header + text;
        EXPECT_TRUE(IsClearlyNotText(file.data(), file.size()));
    }
}

TEST(IsClearlyNotText, EveryTextFixtureIsText)
{
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::FixturePath("sources"))) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::u8string name = entry.path().filename().u8string();
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const std::u8string path = entry.path().u8string();
        const std::string bytes = test::ReadFile(std::string(path.begin(), path.end()));
        EXPECT_FALSE(IsClearlyNotText(bytes.data(), bytes.size()));
        ++seen;
    }
    EXPECT_GT(seen, 0);
}

TEST(IsClearlyNotText, NulBytesOutsideUtf16)
{
    const std::string gbk = GbkText(8192);
    std::string nineNuls = gbk.substr(0, 8192), tenNuls = nineNuls;
    for (int i = 0; i < 9; ++i)
        nineNuls[100 + 900 * i] = '\0';
    tenNuls = nineNuls;
    tenNuls[8100] = '\0';
    std::string nulsAfterTheHead = GbkText(20000);
    for (int i = 0; i < 100; ++i)
        nulsAfterTheHead[9000 + 97 * i] = '\0';
    std::string shortWithTwoNuls = GbkText(500);
    shortWithTwoNuls[10] = shortWithTwoNuls[20] = '\0';
    std::string table;  // little-endian numbers, as binary records hold them
    for (std::uint32_t i = 0; i < 256; ++i)
        table += std::string{static_cast<char>(i * 7 & 0xFF), static_cast<char>(i * 7 >> 8), '\0', '\0'};

    const struct {
        const char* what;
        std::string bytes;
        bool notText;
    } cases[] = {
        // Texts: stray NULs, zeros at the end, and UTF-16 with or without its mark.
        {"8 KB of GBK with nine NULs", nineNuls, false},
        {"a long GBK text with NULs after 8 KB", nulsAfterTheHead, false},
        {"GBK ending in zeros", GbkText(300) + std::string(4096, '\0'), false},
        {"UTF-8 ending in a NUL", "第一章\n\0"s, false},
        {"an empty file", "", false},
        {"UTF-16LE with its mark", "\xFF\xFE"s + Utf16(u"Chapter 1\r\n", false), false},
        {"UTF-16LE without a mark, 一 and line breaks", Utf16(u"第一章 一二三\r\n一\r\nABC", false), false},
        {"UTF-16LE without a mark ending in a line break", Utf16(u"第一章\r\n", false), false},
        {"UTF-16BE without a mark", Utf16(u"Chapter one, 第一章\r\n", true), false},
        {"UTF-16LE without a mark, a surrogate pair", Utf16(u"书\U0001F4D6 (1)\r\n", false), false},
        {"texts that start like a format", "BMW 与 RIFF、ID3 标签\r\n"s, false},
        {"MZ as a word", "MZ 第一章\r\n"s + gbk.substr(0, 100), false},
        {"ID3 and a blank", "ID3 tags\r\n"s, false},
        {"fLaC as a word", "fLaC is a name\r\n"s, false},
        {"BZh and a digit", "BZh9 remains\r\n"s, false},
        // Binary: NULs beyond strays, and zeros that do not read as UTF-16.
        {"8 KB of GBK with ten NULs", tenNuls, true},
        {"a short GBK text with two NULs", shortWithTwoNuls, true},
        {"only zeros", std::string(300, '\0'), true},
        {"noise", Noise(4096), true},
        {"a table of numbers", table, true},
        {"UTF-16LE with a control character", Utf16(u"第一章\x01\x02\r\n", false), true},
        {"UTF-16LE with a lone low surrogate", Utf16(u"第一章\xDC00\r\n一", false), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsClearlyNotText(c.bytes.data(), c.bytes.size()), c.notText);
    }
}

} // namespace
