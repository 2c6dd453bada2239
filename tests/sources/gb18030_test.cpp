// GBK text decodes the same in both builds: every two-byte code is held to what glibc's iconv
// gives (the Windows build decodes through the Windows code page), and undecodable bytes
// become U+FFFD the same way on both.
#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Gb18030, EveryTwoByteCodeAsGlibcDecodesIt)
{
    std::string codes;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            codes += static_cast<char>(lead);
            codes += static_cast<char>(trail);
        }
    }
    const std::u16string wide = DecodeGb18030(codes.data(), codes.size());
    const std::u16string expected = Utf8ToUtf16(test::ReadFile(test::FixturePath("sources/gb18030-two-byte-codes.utf8")));
    ASSERT_EQ(wide.size(), expected.size());
    // Report the first few codes that differ rather than one long string.
    int reported = 0;
    std::size_t w = 0;
    for (std::size_t i = 0; i < codes.size() && reported < 10; i += 2) {
        const std::size_t n = wide[w] >= 0xD800 && wide[w] <= 0xDBFF ? 2 : 1;
        if (wide.compare(w, n, expected, w, n) != 0) {
            ADD_FAILURE() << std::hex << "code " << (static_cast<unsigned char>(codes[i]) << 8 | static_cast<unsigned char>(codes[i + 1]))
                          << ": U+" << static_cast<unsigned>(wide[w]) << ", expected U+" << static_cast<unsigned>(expected[w]);
            ++reported;
        }
        w += n;
    }
    EXPECT_EQ(wide, expected);
}

TEST(Gb18030, UndecodableBytes)
{
    const struct {
        const char* what;
        std::string bytes;
        std::u16string text;
    } table[] = {
        {"80 and FF are no characters", "a\x80" "b\xFF" "c", u"a\uFFFDb\uFFFDc"},
        {"a lead byte at the end", "a\x81", u"a\uFFFD"},
        {"a lead byte before a line break keeps the break", "\x81\nb", u"\uFFFD\nb"},
        {"a lead byte before ASCII below 40 keeps it", "\x81" "0z", u"\uFFFD0z"},
        {"7F is no trail byte", "\x81\x7F", u"\uFFFD\x7F"},
        {"a four-byte code cut short", "\x81\x30\x81", u"\uFFFD0\uFFFD"},
        {"a four-byte code with a bad last byte", "\x81\x30\x81z", u"\uFFFD0\x4E83"},
        {"an unassigned four-byte code", "\x84\x31\xA5\x30", u"\uFFFD"},
        {"beyond U+10FFFF", "\xE3\x32\x9A\x36", u"\uFFFD"},
        {"the last four-byte code", "\xE3\x32\x9A\x35", u"\U0010FFFF"},
        {"the first four-byte code", "\x81\x30\x81\x30", u"\u0080"},
        {"the last BMP four-byte code", "\x84\x31\xA4\x39", u"\uFFFF"},
        {"NUL is decoded (text import drops it)", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"GBK 中文 between ASCII", "x\xD6\xD0\xCE\xC4y", u"x中文y"},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeGb18030(c.bytes.data(), c.bytes.size()), c.text);
    }
}

// The platform is handed the text in runs of 64 KiB; codes cut by a run's limit are whole in
// the next run.
TEST(Gb18030, CodesAcrossTheRunLimit)
{
    const struct {
        const char* what;
        std::string code;
        std::u16string text;
    } table[] = {
        {"two-byte", "\xD6\xD0", u"中"},
        {"four-byte", "\x81\x30\x86\x38", u"\u00C0"},
        {"four-byte beyond the BMP", "\x95\x32\x82\x36", u"\U00020000"},
    };
    for (const auto& c : table) {
        for (std::size_t lead = 0; lead < c.code.size(); ++lead) {
            SCOPED_TRACE(std::string(c.what) + ", offset " + std::to_string(lead));
            std::string bytes(lead, 'a');
            std::u16string expected(lead, u'a');
            while (bytes.size() < 3 * 65536) {
                bytes += c.code;
                expected += c.text;
            }
            EXPECT_EQ(DecodeGb18030(bytes.data(), bytes.size()), expected);
        }
    }
}

} // namespace
