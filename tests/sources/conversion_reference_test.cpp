// The built-in 繁简 conversion gives what OpenCC's own library gives with Debian's
// configuration files (t2s.json, s2t.json), on texts drawn from every common character of
// GB2312 and Big5 and on phrases whose conversion is not that of their characters. Native
// only: the library is the reference, not a part of the program.
#include "sources/encoding_detect.h"
#include "sources/text_convert.h"
#include "sources/text_import.h"

#include <gtest/gtest.h>
#include <opencc/opencc.h>

#include <random>

namespace {

// length characters drawn at random from the two-byte codes lead × trail, decoded.
std::string Drawn(TextEncoding encoding, unsigned leadFirst, unsigned leadLast, unsigned trailFirst, unsigned trailLast,
                  std::size_t length, unsigned seed)
{
    std::mt19937 rnd(seed);
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        bytes += static_cast<char>(leadFirst + rnd() % (leadLast - leadFirst + 1));
        bytes += static_cast<char>(trailFirst + rnd() % (trailLast - trailFirst + 1));
        if (rnd() % 40 == 0)
            bytes += "\r\n";
    }
    std::string text = DecodeText(bytes.data(), bytes.size(), encoding);
    // Codes the tables lack decode to U+FFFD, which neither side converts.
    return text;
}

TEST(ConversionReference, SameAsOpenCc)
{
    const std::string phrases = "头发、发现、干燥、干活、乾隆、以后、皇后、理发、一只、后来、了解、钟表、面条、里面、计算机、"
                                "頭髮、發現、乾燥、幹活、以後、理髮、一隻、後來、瞭解、鐘錶、麪條、裏面、計算機、著作、看著。\n";
    const std::string simplified = Drawn(EncodingAnsi, 0xB0, 0xD7, 0xA1, 0xF9, 100000, 1);
    const std::string traditional = Drawn(EncodingBig5, 0xA4, 0xC6, 0xA1, 0xFE, 100000, 2);
    for (const auto& [conversion, config] : {std::pair {TextConversion::t2s, "t2s.json"}, std::pair {TextConversion::s2t, "s2t.json"}}) {
        const opencc::SimpleConverter reference(config);
        for (const std::string& text : {phrases, simplified, traditional}) {
            const std::string ours = Converter(conversion).Convert(text);
            const std::string theirs = reference.Convert(text);
            ASSERT_EQ(ours.size(), theirs.size()) << config;
            EXPECT_TRUE(ours == theirs) << config << ": first difference at byte "
                                        << std::mismatch(ours.begin(), ours.end(), theirs.begin()).first - ours.begin();
        }
    }
}

} // namespace
