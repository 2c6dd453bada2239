// How a file's bytes are read when they are not one clean text in the encoding detected or
// given: files of two encodings and other scripts' encodings are warned of, a byte-order
// mark wins over the encoding given, UTF-32 without a mark is read, and conversion never
// cuts a phrase in two.
#include "sources/encoding_detect.h"
#include "sources/source_files.h"
#include "sources/source_list.h"
#include "sources/text_convert.h"
#include "sources/text_import.h"
#include "support/book_parts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

struct Read {
    AddedSource added;
    std::string text;
};

Read ReadFixture(const std::string& name, const SourceReading& reading = {})
{
    CSourceList list;
    Read read;
    EXPECT_TRUE(AddSourceFile(list, test::FixturePath("reading/" + name), "t", &read.added, false, {}, reading));
    for (const std::string& text : test::Texts(list))
        read.text += text;
    return read;
}

// Each row: a file, the encoding it is read in, and whether the user is warned that it
// reads as nonsense. The clean texts of the other fixtures stay unwarned.
TEST(TextReading, MixedAndForeignTextsAreWarnedOf)
{
    const struct {
        const char* file;
        TextEncoding encoding;
        bool warned;
    } table[] = {
        {"utf8-preface-gbk-body.txt", EncodingAnsi, true},
        {"big5-then-gbk.txt", EncodingBig5, true},
        {"gbk-5k-big5-50k.txt", EncodingAnsi, true},
        {"euc-jp.txt", EncodingBig5, true},
        {"euc-kr.txt", EncodingAnsi, true},
        {"utf32le-no-mark.txt", EncodingUtf32Le, false},
        {"utf32be-no-mark.txt", EncodingUtf32Be, false},
        {"utf8-with-mark.txt", EncodingUtf8, false},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.file);
        const Read read = ReadFixture(c.file);
        EXPECT_STREQ(EncodingName(read.added.encoding), EncodingName(c.encoding));
        EXPECT_EQ(read.added.implausible, c.warned);
    }
    for (const char* clean : {"traditional/big5-sanguo.txt", "traditional/gbk-traditional.txt", "traditional/big5hkscs-cantonese.txt"}) {
        CSourceList list;
        AddedSource added;
        ASSERT_TRUE(AddSourceFile(list, test::FixturePath(clean), "t", &added));
        EXPECT_FALSE(added.implausible) << clean;
    }
}

TEST(TextReading, Utf32WithoutAMarkIsRead)
{
    for (const char* file : {"utf32le-no-mark.txt", "utf32be-no-mark.txt"})
        EXPECT_EQ(ReadFixture(file).text, "话说天下大势，分久必合。\r\nChapter 1\r\n") << file;
}

// The encoding given loses to the file's byte-order mark, and that is said; without a mark,
// or with the mark of the encoding given, the encoding is used as given.
TEST(TextReading, AByteOrderMarkWinsOverTheEncodingGiven)
{
    const struct {
        const char* file;
        TextEncoding given, read;
        bool overridden;
    } table[] = {
        {"utf8-with-mark.txt", EncodingAnsi, EncodingUtf8, true},
        {"utf8-with-mark.txt", EncodingUtf16Le, EncodingUtf8, true},
        {"utf8-with-mark.txt", EncodingUtf8, EncodingUtf8, false},
        {"utf32le-no-mark.txt", EncodingUtf16Le, EncodingUtf16Le, false},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(std::string(c.file) + " given " + EncodingName(c.given));
        SourceReading reading;
        reading.encoding = c.given;
        const Read read = ReadFixture(c.file, reading);
        EXPECT_STREQ(EncodingName(read.added.encoding), EncodingName(c.read));
        EXPECT_EQ(read.added.markOverrode, c.overridden);
        if (c.overridden)
            EXPECT_EQ(read.text, "话说天下大势，分久必合。\r\n");
    }
    // A UTF-32 mark is no UTF-16 one: FF FE 00 00 given as UTF-16 reads as UTF-32.
    const std::string bytes = std::string("\xFF\xFE\0\0", 4) + std::string("\x2D\x4E\0\0", 4);
    EXPECT_EQ(EncodingOfMark(bytes.data(), bytes.size()), EncodingUtf32Le);
}

// A line far longer than the pieces the decoder hands out is converted phrase by phrase
// wherever the pieces end: 头发 becomes 頭髮 at every place, never 頭發 (发 alone is 發).
TEST(TextReading, ConversionNeverCutsAPhraseOfAVeryLongLine)
{
    std::string line;
    while (line.size() < 3u << 20)
        line += "他的头发很长";  // 18 bytes: the pieces end at every place of the phrase
    const CTextConverter& converter = Converter(TextConversion::s2t);
    CSourceList list;
    ImportText(list, "t", line.data(), line.size(), false, EncodingUtf8, {}, &converter);
    std::string text;
    for (const std::string& part : test::Texts(list))
        text += part;
    EXPECT_EQ(text.find("發"), std::string::npos);
    EXPECT_EQ(text.size(), line.size());
    EXPECT_EQ(text.substr(0, 36), "他的頭髮很長他的頭髮很長");
}

} // namespace
