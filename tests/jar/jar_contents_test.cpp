#include "jar/jar_contents.h"
#include "platform/utf16.h"

#include <gtest/gtest.h>

namespace {

std::string Utf16Le(const std::u16string& s)
{
    std::string out;
    for (char16_t u : s) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

// The manifest line that starts with key, without its CR LF.
std::string Line(const std::string& manifest, const std::string& key)
{
    const std::size_t at = manifest.find("\r\n" + key);
    if (at == std::string::npos)
        return "<missing>";
    return manifest.substr(at + 2, manifest.find("\r\n", at + 2) - at - 2);
}

TEST(Manifest, TenLinesWithTheBookNameInThree)
{
    EXPECT_EQ(MakeManifest("书"),
              "Manifest-Version: 1.0\r\n"
              "Ant-Version: Apache Ant 1.6.5\r\n"
              "Created-By: www.qinghe.example\r\n"
              "MIDlet-1: \xE4\xB9\xA6,/rd.PNG,Lumenread\r\n"
              "MIDlet-Vendor: Qinghe.example\r\n"
              "MIDlet-Version: 1.0\r\n"
              "MIDlet-Name: \xE4\xB9\xA6\r\n"
              "MIDlet-Description: \xE4\xB9\xA6\r\n"
              "MicroEdition-Configuration: CLDC-1.0\r\n"
              "MicroEdition-Profile: MIDP-1.0\r\n");
}

TEST(Manifest, NameCases)
{
    const std::string longName(100, 'x');
    struct Case {
        std::string name, midlet1, midletName;
    } cases[] = {
        // A comma would split MIDlet-1 (name, icon, class): the phone could not start it.
        {"三国,演义", "MIDlet-1: 三国，演义,/rd.PNG,Lumenread", "MIDlet-Name: 三国,演义"},
        {",,", "MIDlet-1: ，，,/rd.PNG,Lumenread", "MIDlet-Name: ,,"},
        {"全角，逗号", "MIDlet-1: 全角，逗号,/rd.PNG,Lumenread", "MIDlet-Name: 全角，逗号"},
        // Inserted text is not searched for the placeholder again.
        {"a$$$b", "MIDlet-1: a$$$b,/rd.PNG,Lumenread", "MIDlet-Name: a$$$b"},
        // Long lines stay whole: no continuation lines.
        {longName, "MIDlet-1: " + longName + ",/rd.PNG,Lumenread", "MIDlet-Name: " + longName},
    };
    for (const Case& c : cases) {
        const std::string m = MakeManifest(c.name);
        EXPECT_EQ(Line(m, "MIDlet-1:"), c.midlet1) << c.name;
        EXPECT_EQ(Line(m, "MIDlet-Name:"), c.midletName) << c.name;
        EXPECT_EQ(Line(m, "MIDlet-Description:"), "MIDlet-Description: " + c.name) << c.name;
        EXPECT_EQ(std::count(m.begin(), m.end(), '\n'), 10) << c.name;
    }
}

// The descriptor repeats the manifest's MIDlet and MicroEdition lines byte for byte (a
// phone compares them), then says where the jar is and how large.
TEST(Jad, TheManifestsAttributesThenTheJarsNameAndSize)
{
    EXPECT_EQ(MakeJad("三国,演义(2)", "三国,演义(2).jar", 307200),
              "MIDlet-1: 三国，演义(2),/rd.PNG,Lumenread\r\n"
              "MIDlet-Vendor: Qinghe.example\r\n"
              "MIDlet-Version: 1.0\r\n"
              "MIDlet-Name: 三国,演义(2)\r\n"
              "MIDlet-Description: 三国,演义(2)\r\n"
              "MicroEdition-Configuration: CLDC-1.0\r\n"
              "MicroEdition-Profile: MIDP-1.0\r\n"
              "MIDlet-Jar-URL: 三国,演义(2).jar\r\n"
              "MIDlet-Jar-Size: 307200\r\n");
    const std::string manifest = MakeManifest("书");
    const std::string jad = MakeJad("书", "书.jar", 0);
    for (const char* key : {"MIDlet-1:", "MIDlet-Vendor:", "MIDlet-Version:", "MIDlet-Name:", "MIDlet-Description:",
                            "MicroEdition-Configuration:", "MicroEdition-Profile:"})
        EXPECT_EQ(Line("\r\n" + jad, key), Line(manifest, key)) << key;
}

// A volume of a set says where its parts lie in the whole book, last in the manifest and
// the same in its JAD; a whole book (total 0) says nothing.
TEST(Manifest, VolumePlaceLastAndInTheJad)
{
    struct Case {
        VolumePlace place;
        std::string line;
    } cases[] = {
        {{0, 5000}, "Lumenread-Volume: 0 5000"},
        {{123456, 9876543210ULL}, "Lumenread-Volume: 123456 9876543210"},
        {{0, 0}, "<missing>"},
    };
    for (const Case& c : cases) {
        const std::string m = MakeManifest("书(2)", c.place);
        EXPECT_EQ(Line(m, "Lumenread-Volume:"), c.line);
        EXPECT_EQ(m.starts_with(MakeManifest("书(2)")), true);
        if (c.place.bookBytes != 0)
            EXPECT_TRUE(m.ends_with("MicroEdition-Profile: MIDP-1.0\r\n" + c.line + "\r\n"));
        const std::string jad = MakeJad("书(2)", "书(2).jar", 10, c.place);
        EXPECT_EQ(Line("\r\n" + jad, "Lumenread-Volume:"), c.line);
        EXPECT_TRUE(jad.ends_with("MIDlet-Jar-Size: 10\r\n"));
    }
}

TEST(PartText, BytesAsMadeWithoutMakingIt)
{
    for (const std::string text : {"", "x\r\ny", "\r\r\n", "\r\n\r\n", "a\rb\nc", "中文\r\n"})
        EXPECT_EQ(PartTextBytes(text), MakePartText(text).size()) << text;
}

TEST(Index, SingleTitleBytes)
{
    const BookInfo book {"书", "作者", "青禾"};
    const std::string expected = "\xFF\xFE" + Utf16Le(u"作者\r\n青禾\r\n书\r\nA\r\n") + std::string(2, '\0');
    const std::string index = MakeIndex(book, {"A"});
    EXPECT_EQ(index, expected);
    EXPECT_EQ(index.substr(index.size() - 6), std::string("\x0D\x00\x0A\x00\x00\x00", 6));
}

TEST(Index, FieldCases)
{
    struct Case {
        BookInfo book;
        std::vector<std::string> titles;
        std::u16string lines;
    } cases[] = {
        {{"书", "", ""}, {}, u"佚名\r\nqinghe.example\r\n书\r\n"},
        {{"书", "  ", "x"}, {}, u"  \r\nx\r\n书\r\n"},  // blanks count as filled in
        {{"", "a", "m"}, {"t"}, u"a\r\nm\r\n\r\nt\r\n"},
        {{"书", "a", "m"}, {"第一章", "第一章", ""}, u"a\r\nm\r\n书\r\n第一章\r\n第一章\r\n\r\n"},
        // A line break or NUL inside a field would shift every later title against its part.
        {{"书", "a\r\nb", "m\n"}, {"x\ry", std::string("n\0l", 3)}, u"a  b\r\nm \r\n书\r\nx y\r\nn l\r\n"},
        // Beyond the 16-bit plane: a surrogate pair.
        {{"书", "a", "m"}, {"\xF0\xA0\x80\x80"}, u"a\r\nm\r\n书\r\n\U00020000\r\n"},
    };
    for (const Case& c : cases) {
        const std::string expected = "\xFF\xFE" + Utf16Le(c.lines) + std::string(2, '\0');
        EXPECT_EQ(MakeIndex(c.book, c.titles), expected) << c.book.author << "/" << c.book.maker;
    }
}

// The part lengths follow the titles' NUL, so that a reader stopping there sees the index
// of an older builder; they read back as written, and what is not such lengths is refused.
TEST(Index, PartLengthsAfterTheTitles)
{
    const std::string index = MakeIndex({"书", "a", "m"}, {"上", "下"}, {0, 4294967296});
    EXPECT_EQ(index, "\xFF\xFE" + Utf16Le(u"a\r\nm\r\n书\r\n上\r\n下\r\n") + std::string(2, '\0') +
                         Utf16Le(u"0\r\n4294967296\r\n") + std::string(2, '\0'));
    EXPECT_EQ(MakeIndex({"书", "a", "m"}, {"上"}, {}), MakeIndex({"书", "a", "m"}, {"上"}));

    const std::pair<std::u16string, std::optional<std::vector<std::uint64_t>>> cases[] = {
        {std::u16string(u"7\r\n150000\r\n") + u'\0', std::vector<std::uint64_t> {7, 150000}},
        {std::u16string(1, u'\0'), std::vector<std::uint64_t> {}},
        {u"7\r\n", std::nullopt},                                  // no NUL at the end
        {std::u16string(u"7") + u'\0', std::nullopt},               // no line end
        {std::u16string(u"\r\n") + u'\0', std::nullopt},          // no digits
        {std::u16string(u"-7\r\n") + u'\0', std::nullopt},
        {std::u16string(u"7 \r\n") + u'\0', std::nullopt},
        {std::u16string(u"12345678901\r\n") + u'\0', std::nullopt},  // beyond any part
        {std::u16string(u"7\n") + u'\0', std::nullopt},
    };
    for (const auto& [units, lengths] : cases)
        EXPECT_EQ(ParseIndexLengths(units), lengths) << Utf16ToUtf8(units);
    const std::string written = index.substr(2);
    std::u16string units;
    for (std::size_t i = 0; i < written.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(written[i]) |
                                       (static_cast<unsigned char>(written[i + 1]) << 8));
    EXPECT_EQ(ParseIndexLengths(std::u16string_view(units).substr(units.find(u'\0') + 1)),
              (std::vector<std::uint64_t> {0, 4294967296}));
}

TEST(PartText, OnlyCrLfPairsBecomeLf)
{
    const std::pair<std::string, std::string> cases[] = {
        {"x\r\ny", "x\ny"},
        {"", ""},
        {"\r\n\r\n", "\n\n"},
        {"a\r\r\nb", "a\r\nb"},
        {"a\n\rb", "a\n\rb"},
        {"end\r", "end\r"},
        {"\r", "\r"},
        {"lf\nonly\n", "lf\nonly\n"},
        {"第一回\r\n\u3000\u3000宴桃园", "第一回\n\u3000\u3000宴桃园"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(MakePartText(in), out) << in;
}

TEST(PartEntryName, NumberedFromOneWithoutZeros)
{
    EXPECT_EQ(PartEntryName(0), "1.txt");
    EXPECT_EQ(PartEntryName(9), "10.txt");
    EXPECT_EQ(PartEntryName(99999), "100000.txt");
}

TEST(BookName, CharactersAFileNameCannotHold)
{
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a\nb", "a\rb",
                            "\tab", "a\x1F", "\x01"})
        EXPECT_FALSE(IsValidBookName(bad)) << bad;
    EXPECT_FALSE(IsValidBookName(std::string("a\0b", 3)));
    for (const char* good : {"书", "三国演义", "a,b", "a.b", " a ", "《红楼梦》", "100%", "a\x7F", "😀"})
        EXPECT_TRUE(IsValidBookName(good)) << good;
}

} // namespace
