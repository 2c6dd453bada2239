// Traditional Chinese: Big5 detected and decoded by the WHATWG table, texts that read as
// nonsense told apart, and 繁简 conversion by phrases, in both builds.
#include "sources/big5_decode.h"
#include "sources/encoding_detect.h"
#include "sources/source_files.h"
#include "sources/source_list.h"
#include "sources/text_convert.h"
#include "sources/text_import.h"
#include "sources/text_plausibility.h"
#include "support/book_parts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

const std::string kFffd = "\xEF\xBF\xBD";
const std::string kSanguo =
    "第一回　宴桃園豪傑三結義　斬黃巾英雄首立功\r\n"
    "　　滾滾長江東逝水，浪花淘盡英雄。是非成敗轉頭空：青山依舊在，幾度夕陽紅。\r\n"
    "　　話說天下大勢，分久必合，合久必分。周末七國分爭，并入於秦。及秦滅之後，楚、漢分爭，"
    "又并入於漢。漢朝自高祖斬白蛇而起義，一統天下，後來光武中興，傳至獻帝，遂分為三國。\r\n";

// The detection table: what each fixture is read as, what it decodes to, and whether its
// text is said to read as nonsense.
TEST(TraditionalFixtures, DetectedDecodedAndJudged)
{
    const struct {
        const char* file;
        TextEncoding encoding;
        std::string text;  // "" : not compared
        bool implausible;
    } cases[] = {
        {"big5-sanguo.txt", EncodingBig5, kSanguo, false},
        {"big5hkscs-cantonese.txt", EncodingBig5, "佢哋喺度食緊嘢，我哋都唔知佢嚟咗未。啲嘢冇晒喇。\r\n" + kSanguo, false},
        {"big5-ten-characters.txt", EncodingBig5, "話說天下大勢分久必合", false},
        {"gbk-ten-characters.txt", EncodingAnsi, "话说天下大势分久必合", false},
        {"gbk-traditional.txt", EncodingAnsi, kSanguo, false},
        {"random-bytes.txt", EncodingAnsi, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = test::FixturePath(std::string("traditional/") + c.file);
        CSourceList list;
        AddedSource added;
        ASSERT_TRUE(AddSourceFile(list, path, "t", &added));
        EXPECT_STREQ(EncodingName(added.encoding), EncodingName(c.encoding));
        EXPECT_EQ(added.implausible, c.implausible);
        if (!c.text.empty()) {
            ASSERT_EQ(test::Texts(list).size(), 1u);
            EXPECT_EQ(test::Texts(list)[0], c.text);
        }
    }
}

// The benchmark's kind of text, and the other encodings, are never taken for Big5; the
// earlier source fixtures keep their encodings (encoding_detect_test.cpp).
TEST(DetectEncoding, GbkAndBig5OfTheSameText)
{
    const std::string simplified = "话说天下大势，分久必合，合久必分。他说：“我们明天再去。”\r\n";
    const std::string gbk = "\xBB\xB0\xCB\xB5\xCC\xEC\xCF\xC2";             // 话说天下
    const std::string big5 = "\xB8\xDC\xBB\xA1\xA4\xD1\xA4\x55";             // 話說天下
    const std::string gb18030 = "\x95\x32\x82\x36\xD6\xD0\x81\x30\x81\x30";  // 𠀀中, U+0080
    EXPECT_EQ(DetectEncoding(gbk.data(), gbk.size()), EncodingAnsi);
    EXPECT_EQ(DetectEncoding(big5.data(), big5.size()), EncodingBig5);
    EXPECT_EQ(DetectEncoding(gb18030.data(), gb18030.size()), EncodingAnsi);
    // A mark decides before any reading of the bytes.
    const std::string marked = "\xEF\xBB\xBF" + simplified;
    EXPECT_EQ(DetectEncoding(marked.data(), marked.size()), EncodingUtf8);
    EXPECT_EQ(DetectEncoding(simplified.data(), simplified.size()), EncodingUtf8);
}

std::string Big5(const std::string& bytes)
{
    std::string out;
    AppendBig5AsUtf8(bytes.data(), bytes.size(), out);
    return out;
}

// The decoder's edges, by the standard's algorithm.
TEST(Big5Decode, Edges)
{
    const struct {
        const char* what;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"level 1 and 2", "\xA4\x40\xC9\x40", "一乂"},
        {"HKSCS", "\x88\x40\x92\x5D", "㇀哋"},
        {"a pointer of two code points", "\x88\x62\x88\xA5", "Ê\xCC\x84" "ê\xCC\x8C"},
        {"the last pointer", "\xFE\xFE", "秔"},
        {"a lead before ASCII: the ASCII is kept", "\xA4\x30" "A", kFffd + "0A"},
        {"a pair the index lacks", "\xA3\xE2" "B", kFffd + "B"},
        {"80 and FF are no lead", "\x80" "a\xFF", kFffd + "a" + kFffd},
        {"a bad trail above 7F is taken with its lead", "\xA4\x90" "c", kFffd + "c"},
        {"a lead cut off by the end", "x\xA4", "x" + kFffd},
        {"NUL dropped", std::string("\xA4\x40\0\xA4\x40", 5), "一一"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Big5(c.bytes), c.text) << c.what;
    EXPECT_EQ(Big5Pointer(0xA4, 0x40), 5495);
    EXPECT_EQ(Big5Pointer(0xA4, 0x7F), -1);
    EXPECT_EQ(Big5CodePoint(Big5Pointer(0xF9, 0xFE)), U'\uFFED');
    EXPECT_EQ(Big5CodePoint(941), 0u);
}

// Text read piece by piece gives what the whole decodes to, also where a piece would end
// inside a pair: the import's pieces end behind a byte below 40 only.
TEST(Big5Decode, PiecesAsTheWhole)
{
    std::string bytes;
    const std::string line = "\xB8\xDC\xBB\xA1\xA4\xD1\xA4\x55\xA4\x6A\xB6\xD5";  // no byte below 40
    for (int i = 0; i < 20000; ++i)
        bytes += (i % 997 == 0) ? line + "\r\n" : line;
    bytes += "\xA4";  // cut off
    CSourceList list;
    ImportText(list, "t", bytes.data(), bytes.size(), false, EncodingBig5);
    std::string joined;
    for (const std::string& part : test::Texts(list))
        joined += part;
    EXPECT_EQ(joined, Big5(bytes));
    EXPECT_EQ(joined.substr(0, 18), "話說天下大勢");
}

TEST(TextPlausibility, Table)
{
    const struct {
        const char* what;
        std::string text;
        bool implausible;
    } cases[] = {
        {"simplified", "话说天下大势，分久必合，合久必分。", false},
        {"traditional", "話說天下大勢，分久必合，合久必分。", false},
        {"few characters are not judged", kFffd + kFffd + kFffd, false},
        {"replacement characters", "话说天下大势" + kFffd + "分久必合合久必分。", true},
        {"private use", "话说天下\xEE\x80\x80\xEE\x80\x81\xEE\x80\x82必合合久必分。", true},
        {"Latin and Cyrillic are text", "Привет, café, naïve, Ελληνικά", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsImplausible(TallyPlausibility(c.text)), c.implausible) << c.what;
    // Big5 read as GBK, and GBK as Big5.
    const std::string big5 = test::ReadFile(test::FixturePath("traditional/big5-sanguo.txt"));
    EXPECT_TRUE(IsImplausible(TallyPlausibility(DecodeText(big5.data(), big5.size(), EncodingAnsi))));
    const std::string gbk = test::ReadFile(test::FixturePath("traditional/gbk-traditional.txt"));
    EXPECT_TRUE(IsImplausible(TallyPlausibility(DecodeText(gbk.data(), gbk.size(), EncodingBig5))));
}

// The user's encoding is used as given, and no warning follows it.
TEST(SourceReading, GivenEncoding)
{
    const std::string path = test::FixturePath("traditional/big5-sanguo.txt");
    CSourceList list;
    AddedSource added;
    SourceReading reading;
    reading.encoding = EncodingAnsi;
    ASSERT_TRUE(AddSourceFile(list, path, "t", &added, false, {}, reading));
    EXPECT_EQ(added.encoding, EncodingAnsi);
    EXPECT_FALSE(added.implausible);
    EXPECT_NE(test::Texts(list)[0], kSanguo);

    const std::string random = test::FixturePath("traditional/random-bytes.txt");
    reading.encoding = EncodingBig5;
    ASSERT_TRUE(AddSourceFile(list, random, "r", &added, false, {}, reading));
    EXPECT_FALSE(added.implausible);
}

// Phrases first, then characters: what a conversion character by character gets wrong.
TEST(TextConvert, Phrases)
{
    const struct {
        TextConversion conversion;
        std::string from, to;
    } cases[] = {
        {TextConversion::t2s, "頭髮", "头发"},     {TextConversion::t2s, "發現", "发现"},
        {TextConversion::t2s, "乾燥", "干燥"},     {TextConversion::t2s, "乾隆", "乾隆"},
        {TextConversion::t2s, "計算機", "计算机"}, {TextConversion::t2s, "瞭解", "了解"},
        {TextConversion::t2s, "皇后", "皇后"},     {TextConversion::s2t, "头发", "頭髮"},
        {TextConversion::s2t, "发现", "發現"},     {TextConversion::s2t, "干燥", "乾燥"},
        {TextConversion::s2t, "干活", "幹活"},     {TextConversion::s2t, "以后", "以後"},
        {TextConversion::s2t, "皇后", "皇后"},     {TextConversion::s2t, "乾隆", "乾隆"},
        {TextConversion::s2t, "ASCII 1.5\r\n", "ASCII 1.5\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Converter(c.conversion).Convert(c.from), c.to) << ConversionName(c.conversion) << " " << c.from;
}

TEST(TextConvert, Names)
{
    TextConversion conversion = TextConversion::s2t;
    EXPECT_TRUE(ParseConversionName("none", conversion));
    EXPECT_EQ(conversion, TextConversion::none);
    EXPECT_TRUE(ParseConversionName("t2s", conversion));
    EXPECT_EQ(conversion, TextConversion::t2s);
    EXPECT_FALSE(ParseConversionName("T2S", conversion));
    EXPECT_EQ(conversion, TextConversion::t2s);
    EXPECT_STREQ(ConversionName(TextConversion::s2t), "s2t");
}

// A phrase across the end of a decoded piece is converted as a phrase: 头|发 would give
// 頭發 character by character.
TEST(TextConvert, PhraseAcrossPieces)
{
    for (const std::size_t before : {65533u, 65534u, 65535u, 65536u, 3 * 65536u}) {
        const std::string text = std::string(before, 'x') + "头发" + std::string(100, 'y') + "\n以后\n";
        CSourceList list;
        ImportText(list, "t", text.data(), text.size(), false, EncodingUtf8, {}, &Converter(TextConversion::s2t));
        std::string joined;
        for (const std::string& part : test::Texts(list))
            joined += part;
        EXPECT_EQ(joined, std::string(before, 'x') + "頭髮" + std::string(100, 'y') + "\n以後\n") << before;
    }
}

// Chapters are found in the converted text: their titles are converted, and so is the
// title from the file's name, but the parts' count and cuts follow the converted text.
TEST(TextConvert, ChaptersAndTitles)
{
    test::TempDir dir;
    const std::string path = dir.Path("三國演義.txt");
    test::WriteFile(path, test::ReadFile(test::FixturePath("traditional/big5-sanguo.txt")) +
                              "\xB2\xC4\xA4\x47\xA6\x5E\xA1\x40\xB1\x69\xC1\x6C\xBC\x77\r\n" +
                              "\xA1\x40\xA1\x40\xA4\x40\r\n");  // 第二回　張翼德 / 　　一
    CSourceList list;
    AddedSource added;
    SourceReading reading;
    reading.conversion = TextConversion::t2s;
    ASSERT_TRUE(AddSourceFile(list, path, TitleFromFileName(path), &added, true, {}, reading));
    EXPECT_EQ(added.title, "三国演义");
    EXPECT_EQ(added.chapters, 2u);
    ASSERT_EQ(test::Titles(list).size(), 2u);
    EXPECT_EQ(test::Titles(list)[0], "第一回　宴桃园豪杰三结义　斩黄巾英雄首立功");
    EXPECT_EQ(test::Titles(list)[1], "第二回　张翼德");
    EXPECT_EQ(test::Texts(list)[0].substr(0, 63), "第一回　宴桃园豪杰三结义　斩黄巾英雄首立功");

    ASSERT_TRUE(AddSourceFile(list, path, TitleFromFileName(path), &added, false, {}, {}));
    EXPECT_EQ(added.title, "三國演義");
}

} // namespace
