// Which encoding a source's bytes are taken to be in, and what text they decode to: one
// fixture per case, in both builds.
#include "sources/encoding_detect.h"
#include "sources/text_import.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

const std::string kChinese = "第一章 开始。\r\n“你好，世界！”他说。\r\n";
const std::string kBook = "\xF0\x9F\x93\x96";  // U+1F4D6, a surrogate pair in UTF-16
const std::string kFffd = "\xEF\xBF\xBD";

struct FixtureCase {
    const char* file;
    TextEncoding encoding;
    std::string text;  // decoded, UTF-8
};

const FixtureCase kFixtures[] = {
    // Byte-order marks decide and are removed.
    {"utf8-bom.txt", EncodingUtf8, kChinese},
    {"utf16le-bom.txt", EncodingUtf16Le, kChinese + kBook},
    {"utf16be-bom.txt", EncodingUtf16Be, kChinese + kBook},
    {"utf32le-bom.txt", EncodingUtf32Le, kChinese + kBook},
    {"utf32be-bom.txt", EncodingUtf32Be, kChinese + kBook},
    // UTF-16 without a mark, by its zeros and its units.
    {"utf16le-no-mark.txt", EncodingUtf16Le, kChinese + "Chapter 1\r\n"},
    {"utf16be-no-mark.txt", EncodingUtf16Be, kChinese + "Chapter 1\r\n"},
    // Without a mark, UTF-8 when the whole file is UTF-8, whatever its first character.
    {"utf8-first-c3a9-two-byte.txt", EncodingUtf8, "café 咖啡馆\n"},
    {"utf8-middle-dot.txt", EncodingUtf8, "第1章·序\n"},
    {"utf8-cyrillic.txt", EncodingUtf8, "Привет, 世界\n"},
    {"utf8-cut-at-end.txt", EncodingUtf8, "中文" + kFffd},
    // Otherwise GBK, even when the first bytes look like UTF-8.
    {"gbk-e4b8ad-then-invalid.txt", EncodingAnsi, "涓瑼是GBK文本。\r\n"},
    {"gbk-chinese.txt", EncodingAnsi, kChinese},
    {"ascii-only.txt", EncodingAnsi, "Chapter 1\r\nPlain ASCII text.\r\n"},
    {"empty.txt", EncodingAnsi, ""},
    {"utf8-long-with-stray-ff.txt", EncodingUtf8, kChinese + kChinese + kFffd + kChinese + kChinese},
    // The limit of the rule: a short GBK text that is valid UTF-8 as a whole ("一些" is
    // D2 BB D0 A9) is read as UTF-8.
    {"gbk-short-valid-utf8.txt", EncodingUtf8, "һЩ"},
    // NUL characters are dropped, the text behind them kept.
    {"gbk-nul-in-middle.txt", EncodingAnsi, "前后"},
    {"utf8-nul-in-middle.txt", EncodingUtf8, "前后"},
    {"utf16le-nul-unit.txt", EncodingUtf16Le, "前后"},
    // An odd byte at the end of UTF-16 is no character: it is ignored, not replaced.
    {"utf16le-odd-length.txt", EncodingUtf16Le, "中文"},
    // Undecodable bytes become U+FFFD; what follows them survives.
    {"utf16le-lone-surrogate.txt", EncodingUtf16Le, kFffd + "a"},
    {"gbk-invalid-bytes.txt", EncodingAnsi, "A" + kFffd + "B" + kFffd + "C" + kFffd + "\nD中" + kFffd},
    {"utf8-bom-invalid-bytes.txt", EncodingUtf8, "a" + kFffd + "b" + kFffd + kFffd + "c" + kFffd + kFffd + kFffd + "d"},
    // GB18030's four-byte codes, in and beyond the Basic Multilingual Plane.
    {"gb18030-four-byte.txt", EncodingAnsi, "À\xF0\xA0\x80\x80中"},
};

TEST(EncodingFixtures, DetectedAndDecoded)
{
    for (const FixtureCase& c : kFixtures) {
        SCOPED_TRACE(c.file);
        const std::string bytes = test::ReadFile(test::FixturePath(std::string("sources/") + c.file));
        const TextEncoding found = DetectEncoding(bytes.data(), bytes.size());
        EXPECT_STREQ(EncodingName(found), EncodingName(c.encoding));
        EXPECT_EQ(DecodeText(bytes.data(), bytes.size(), found), c.text);
    }
}

struct BytesCase {
    const char* what;
    std::string bytes;
    TextEncoding encoding;
};

TEST(DetectEncoding, MarksAndTheUtf8Test)
{
    const BytesCase table[] = {
        {"nothing", "", EncodingAnsi},
        {"UTF-32LE mark before UTF-16LE", std::string("\xFF\xFE\x00\x00", 4), EncodingUtf32Le},
        {"UTF-32BE mark", std::string("\x00\x00\xFE\xFF", 4), EncodingUtf32Be},
        {"UTF-8 mark", "\xEF\xBB\xBF", EncodingUtf8},
        {"UTF-16LE mark", "\xFF\xFE", EncodingUtf16Le},
        {"UTF-16LE mark, one zero byte", std::string("\xFF\xFE\x00", 3), EncodingUtf16Le},
        {"UTF-16BE mark", "\xFE\xFF", EncodingUtf16Be},
        {"a UTF-8 mark cut short is a cut sequence", "\xEF\xBB", EncodingUtf8},
        {"a UTF-16 mark cut short", "\xFF", EncodingAnsi},
        {"ASCII only", "abc", EncodingAnsi},
        {"two-byte UTF-8 first", "caf\xC3\xA9", EncodingUtf8},
        {"four-byte UTF-8", "\xF0\x9F\x93\x96", EncodingUtf8},
        {"UTF-8 then one bad byte late", "\xE4\xB8\xAD" + std::string(100, 'a') + "\xFF", EncodingAnsi},
        {"UTF-8 cut at the end", "a\xE4\xB8", EncodingUtf8},
        {"a lone lead byte at the end", "abc\xE4", EncodingUtf8},
        {"overlong slash", "\xC0\xAF", EncodingAnsi},
        {"encoded surrogate", "\xED\xA0\x80", EncodingAnsi},
        {"above U+10FFFF", "\xF4\x90\x80\x80", EncodingAnsi},
        {"continuation byte alone", "a\x80", EncodingAnsi},
        {"GBK 中文", "\xD6\xD0\xCE\xC4", EncodingAnsi},
        {"NUL inside UTF-8", std::string("\xE4\xB8\xAD\x00\xE6\x96\x87", 7), EncodingUtf8},
        // Overwhelmingly UTF-8: at least 16 valid sequences per bad one.
        {"16 characters and a bad byte", test::Repeat("中", 8) + "\xFF" + test::Repeat("中", 8), EncodingUtf8},
        {"15 characters and a bad byte", test::Repeat("中", 8) + "\xFF" + test::Repeat("中", 7), EncodingAnsi},
        {"a bad byte first, then 100 characters", "\xFF" + test::Repeat("中", 100), EncodingUtf8},
        {"32 characters and two bad bytes", test::Repeat("中", 16) + "\xFF" + test::Repeat("中", 16) + "\xFE", EncodingUtf8},
        {"an encoded surrogate is three bad bytes", test::Repeat("中", 47) + "\xED\xA0\x80", EncodingAnsi},
        {"32 characters and three bad bytes", test::Repeat("中", 32) + "\x80\x80\x80", EncodingAnsi},
        // Long texts are decided after some thousands of sequences when they are clearly not
        // UTF-8; UTF-8 damaged all along, but within the line, is read to its end.
        {"long UTF-8 with a bad byte after every 20 characters",
         test::Repeat(test::Repeat("中", 20) + "\xFF", 1000), EncodingUtf8},
        {"long UTF-8 with a bad byte after every 10 characters",
         test::Repeat(test::Repeat("中", 10) + "\xFF", 1000), EncodingAnsi},
        {"a GBK preface before a long UTF-8 body: judged as a whole",
         test::Repeat("\xD2\xBB\xD0\xA9\xD6\xD0", 1000) + test::Repeat("中", 100000), EncodingUtf8},
        // GBK whose characters are often valid UTF-8 by chance stays GBK: 一些 is D2 BB D0 A9.
        {"GBK 一些 with GBK between", test::Repeat("\xD2\xBB\xD0\xA9\xD6\xD0", 50), EncodingAnsi},
        {"a long GBK text of them", test::Repeat("\xD2\xBB\xD0\xA9\xD6\xD0", 100000), EncodingAnsi},
    };
    for (const BytesCase& c : table) {
        SCOPED_TRACE(c.what);
        TextEncoding found = DetectEncoding(c.bytes.data(), c.bytes.size());
        // Damaged UTF-8 that is not UTF-8 enough is read in a legacy encoding, whichever of
        // GBK and Big5 makes more of it (a warning follows, text_plausibility.h).
        if (c.encoding == EncodingAnsi && found == EncodingBig5 && c.bytes.find("\xE4\xB8\xAD") != std::string::npos)
            found = EncodingAnsi;
        EXPECT_STREQ(EncodingName(found), EncodingName(c.encoding));
    }
}

TEST(DetectEncoding, NamesForReports)
{
    EXPECT_STREQ(EncodingName(EncodingAnsi), "GBK");
    EXPECT_STREQ(EncodingName(EncodingUtf16Le), "UTF-16LE");
    EXPECT_STREQ(EncodingName(EncodingUtf16Be), "UTF-16BE");
    EXPECT_STREQ(EncodingName(EncodingUtf32Le), "UTF-32LE");
    EXPECT_STREQ(EncodingName(EncodingUtf32Be), "UTF-32BE");
    EXPECT_STREQ(EncodingName(EncodingUtf8), "UTF-8");
}

} // namespace
