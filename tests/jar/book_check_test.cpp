#include "jar/book_check.h"
#include "jar/jar_builder.h"
#include "jar/template_check.h"
#include "jar/jar_contents.h"
#include "platform/path.h"
#include "sources/text_import.h"
#include "support/book_parts.h"
#include "support/test_support.h"
#include "zip/zip_exception.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string kManifest = MakeManifest("书");
const std::string kIndex2 = MakeIndex({"书", "", ""}, {"上", "下"});

std::string AllProblems(const BookInspection& book)
{
    std::string all;
    for (const std::string& p : book.problems)
        all += p + "; ";
    for (const BookEntryCheck& e : book.entries)
        if (!e.problem.empty())
            all += e.name + ": " + e.problem + "; ";
    return all;
}

TEST(BookInspect, ABuiltBookChecksOut)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("RDbook.dat"), test::BuildStoredZip({{"Lumenread.class", "code"}}));
    const std::vector<std::string> titles {"上", "下"};
    const std::vector<std::string> texts {"第一回\r\n" + std::string(70000, 'x'), ""};
    CJarBuilder builder({"书", "", "青禾"});
    const std::vector<BookPart> bookParts = test::Parts(titles, texts);
    builder.SetParts(bookParts);
    CCheckedTemplate checkedTemplate(dir.Path("RDbook.dat"));
    builder.BuildTo(checkedTemplate, dir.Path("书.jar"));

    const BookInspection book = InspectBook(dir.Path("书.jar"));
    EXPECT_TRUE(book.Ok()) << AllProblems(book);
    ASSERT_EQ(book.entries.size(), 5u);
    EXPECT_EQ(book.entries[3].name, "1.txt");
    EXPECT_EQ(book.entries[3].method, 8);
    EXPECT_EQ(book.indexLines, (std::vector<std::string> {"佚名", "青禾", "书", "上", "下"}));
    EXPECT_EQ(book.partSizes, (std::vector<std::int64_t> {70000 + 10, 0}));
    EXPECT_EQ(book.indexLengths, (std::vector<std::uint64_t> {70000 + 10, 0}));
    EXPECT_EQ(book.jadPath, dir.Path("书.jad"));
}

// The JAD beside a book is checked against it: one fault per case, each found; a JAD
// written otherwise than ours but saying the same (LF line ends, other blanks, attributes
// in another order, one of its own) checks out, and a book without a JAD too.
TEST(BookInspect, TheJadBesideTheBook)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("RDbook.dat"), test::BuildStoredZip({{"Lumenread.class", "code"}}));
    const std::vector<std::string> texts {"第一回"};
    CJarBuilder builder({"三国", "", ""});
    const std::vector<BookPart> bookParts = test::Parts(texts, texts);
    builder.SetParts(bookParts);
    CCheckedTemplate checkedTemplate(dir.Path("RDbook.dat"));
    builder.BuildTo(checkedTemplate, dir.Path("三国.jar"));
    const std::string size = std::to_string(test::ReadFile(dir.Path("三国.jar")).size());
    const std::string jad = test::ReadFile(dir.Path("三国.jad"));
    auto replaced = [&jad](const std::string& from, const std::string& to) {
        std::string out = jad;
        out.replace(out.find(from), from.size(), to);
        return out;
    };
    const struct {
        const char* what;
        std::string jad;
        std::string finding;  // empty: checks out
    } cases[] = {
        {"as written", jad, ""},
        {"the same said otherwise",
         "MIDlet-Jar-Size:" + size + "  \nMIDlet-Name:   三国\nMIDlet-Vendor: Qinghe.example\nMIDlet-Version: 1.0\n"
         "MIDlet-Jar-URL: 三国.jar\nMIDlet-Info-URL: http://www.qinghe.example/\n",
         ""},
        {"a size that is not the book's", replaced("Size: " + size, "Size: 1" + size),
         "的 MIDlet-Jar-Size 是 1" + size + "，电子书有 " + size + " 字节"},
        {"another jar's name", replaced("URL: 三国.jar", "URL: 三国(1).jar"),
         "的 MIDlet-Jar-URL 是 三国(1).jar，不是电子书的文件名 三国.jar"},
        {"a name the manifest does not have", replaced("Name: 三国", "Name: 水浒"), "的 MIDlet-Name 是“水浒”，清单里是“三国”"},
        {"the vendor missing", replaced("MIDlet-Vendor: Qinghe.example\r\n", ""), "缺少 MIDlet-Vendor"},
        {"GBK", replaced("三国", "\xC8\xFD\xB9\xFA"), "不是有效的 UTF-8"},
        // A phone may take either value of an attribute given twice.
        {"the size twice, the right one first", jad + "MIDlet-Jar-Size: 1" + size + "\r\n", "中 MIDlet-Jar-Size 出现了 2 次"},
        {"the name again in other case", jad + "midlet-name: 三国\r\n", "中 MIDlet-Name 出现了 2 次"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteFile(dir.Path("三国.jad"), c.jad);
        const BookInspection book = InspectBook(dir.Path("三国.jar"));
        EXPECT_EQ(book.jadPath, dir.Path("三国.jad"));
        if (c.finding.empty()) {
            EXPECT_TRUE(book.Ok()) << AllProblems(book);
        } else {
            EXPECT_NE(AllProblems(book).find("描述文件 三国.jad " + c.finding), std::string::npos) << AllProblems(book);
        }
    }
    std::filesystem::remove(U8Path(dir.Path("三国.jad")));
    const BookInspection alone = InspectBook(dir.Path("三国.jar"));
    EXPECT_TRUE(alone.Ok()) << AllProblems(alone);
    EXPECT_EQ(alone.jadPath, "");
}

// One small archive per fault; each must be found.
TEST(BookInspect, FaultsAreFound)
{
    std::string badCrc = test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"index.txt", kIndex2},
                                               {"1.txt", "first part"}, {"2.txt", "second"}});
    badCrc[badCrc.find("first part")] = 'F';
    std::string noNul = kIndex2.substr(0, kIndex2.size() - 2);
    // An entry of the template is only streamed through the CRC, not kept: still checked.
    std::string badTemplateEntry = test::BuildStoredZip({{"Lumenread.class", std::string(100000, 'c')},
                                                         {"META-INF/MANIFEST.MF", kManifest}, {"index.txt", kIndex2},
                                                         {"1.txt", "a"}, {"2.txt", "b"}});
    badTemplateEntry[50000] = 'C';
    struct Case {
        const char* what;
        std::string zip;
        std::string finding;  // part of a problem text
    } cases[] = {
        {"data changed after the CRC was taken", badCrc, "CRC"},
        {"template entry changed", badTemplateEntry, "Lumenread.class: CRC"},
        {"no index", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"1.txt", "a"}}), "缺少 index.txt"},
        {"no manifest", test::BuildStoredZip({{"index.txt", kIndex2}, {"1.txt", "a"}, {"2.txt", "b"}}),
         "MANIFEST.MF"},
        {"manifest without MIDlet-1",
         test::BuildStoredZip({{"META-INF/MANIFEST.MF", "Manifest-Version: 1.0\r\nMIDlet-Name: x\r\n"},
                               {"index.txt", kIndex2}, {"1.txt", "a"}, {"2.txt", "b"}}),
         "MIDlet-1"},
        {"index in UTF-8", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest},
                                                 {"index.txt", "佚名\r\nm\r\n书\r\n上\r\n"}, {"1.txt", "a"}}),
         "UTF-16LE"},
        {"index without its NUL", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"index.txt", noNul},
                                                        {"1.txt", "a"}, {"2.txt", "b"}}),
         "NUL"},
        {"a part missing", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"index.txt", kIndex2},
                                                 {"1.txt", "a"}}),
         "缺少 2.txt"},
        {"a part the index does not list",
         test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"index.txt", kIndex2}, {"1.txt", "a"},
                               {"2.txt", "b"}, {"3.txt", "c"}}),
         "3.txt"},
        {"no parts at all", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest},
                                                  {"index.txt", MakeIndex({"书", "", ""}, {})}}),
         "没有任何部分"},
        {"a part in GBK", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"index.txt", kIndex2},
                                                {"1.txt", "\xC4\xE3\xBA\xC3"}, {"2.txt", "b"}}),
         "UTF-8"},
        {"index lengths that are not the parts'", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest},
                                                 {"index.txt", MakeIndex({"书", "", ""}, {"上", "下"}, {1, 2})},
                                                 {"1.txt", "a"}, {"2.txt", "b"}}),
         "2.txt 长 2 字节，实有 1 字节"},
        {"index lengths of fewer parts", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest},
                                                 {"index.txt", MakeIndex({"书", "", ""}, {"上", "下"}, {1})},
                                                 {"1.txt", "a"}, {"2.txt", "b"}}),
         "记下 1 个部分的长度，而有 2 个部分"},
        {"index lengths not in digits", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest},
                                                 {"index.txt", kIndex2 + std::string("x\0\r\0\n\0\0\0", 8)},
                                                 {"1.txt", "a"}, {"2.txt", "b"}}),
         "各部分长度"},
        {"two entries of one name", test::BuildStoredZip({{"META-INF/MANIFEST.MF", kManifest}, {"index.txt", kIndex2},
                                                          {"1.txt", "a"}, {"2.txt", "b"}, {"2.txt", "b"}}),
         "重复"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteFile(dir.Path("b.jar"), c.zip);
        const BookInspection book = InspectBook(dir.Path("b.jar"));
        EXPECT_FALSE(book.Ok()) << c.what;
        EXPECT_NE(AllProblems(book).find(c.finding), std::string::npos) << c.what << ": " << AllProblems(book);
    }
}

// A book as the builder writes it, from a template of a class and an icon.
std::string BuildBook(const std::string& bookName, const std::vector<std::string>& texts)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("RDbook.dat"),
                    test::BuildStoredZip({{"Lumenread.class", "code"}, {"META-INF/MANIFEST.XY", "x"}}));
    const std::vector<std::string> titles(texts.size(), "章");
    CJarBuilder builder({bookName, "", ""});
    builder.SetClock(test::FixedTime);
    const std::vector<BookPart> bookParts = test::Parts(titles, texts);
    builder.SetParts(bookParts);
    CCheckedTemplate checkedTemplate(dir.Path("RDbook.dat"));
    builder.BuildTo(checkedTemplate, dir.Path("b.jar"));
    return test::ReadFile(dir.Path("b.jar"));
}

// Where the local header of the entry named name lies.
std::size_t LocalHeaderOf(const std::string& book, const std::string& name)
{
    for (const test::CentralRecord& e : test::ParseZip(book).entries)
        if (e.name == name)
            return e.offset;
    ADD_FAILURE() << "no entry " << name;
    return 0;
}

void Put16(std::string& bytes, std::size_t at, std::uint16_t v)
{
    std::string le;
    test::PutU16(le, v);
    bytes.replace(at, 2, le);
}

// Books that a phone or Java would read otherwise than our reading of them, or not at all:
// edited copies of a built book, and books the builder writes from texts beyond the limits.
TEST(BookInspect, WhatOtherReadersRefuseIsFound)
{
    const std::string book = BuildBook("书", {"第一回 春眠不觉晓", "第二回"});
    const auto edited = [&book](const std::function<void(std::string&)>& edit) {
        std::string copy = book;
        edit(copy);
        return copy;
    };
    const auto local = [](std::string& b, std::size_t field) -> char& { return b[LocalHeaderOf(b, "1.txt") + field]; };
    std::string bigPart(kPartSize + 1, 'a');
    std::string surrogatePairs;
    for (std::size_t i = 0; i < kPartSize / 2 + 1; ++i)
        surrogatePairs += "\U0001F600";
    struct Case {
        const char* what;
        std::string zip;
        std::string finding;  // part of a problem text
    } cases[] = {
        {"local name differs", edited([&](std::string& b) { local(b, 30) = '7'; }), "1.txt: 本地文件头的名称"},
        {"local CRC differs", edited([&](std::string& b) { local(b, 14) ^= 1; }), "1.txt: 本地文件头的CRC"},
        {"local method stored", edited([&](std::string& b) { local(b, 8) = 0; }), "1.txt: 本地文件头的压缩方法"},
        {"local version needed differs", edited([&](std::string& b) { local(b, 4) = 10; }), "1.txt: 本地文件头的所需版本"},
        {"local compressed size differs", edited([&](std::string& b) { local(b, 18) ^= 1; }),
         "1.txt: 本地文件头的压缩后大小"},
        {"local size differs", edited([&](std::string& b) { local(b, 22) ^= 1; }), "1.txt: 本地文件头的大小"},
        {"local header signature", edited([&](std::string& b) { local(b, 3) = 5; }), "1.txt: 本地文件头签名错误"},
        {"entry placed in the directory", edited([&](std::string& b) {
             const test::ParsedZip z = test::ParseZip(b);
             std::string offset;
             test::PutU32(offset, z.cdOffset);
             b.replace(z.entries.back().at + 42, 4, offset);
         }),
         "本地文件头不在中央目录之前"},
        {"end record counts one entry less", edited([&](std::string& b) {
             const test::ParsedZip z = test::ParseZip(b);
             Put16(b, z.endAt + 8, z.total - 1);
             Put16(b, z.endAt + 10, z.total - 1);
         }),
         "结束记录记为"},
        {"a second manifest in lower case", edited([&](std::string& b) {
             for (std::size_t at = 0; (at = b.find("META-INF/MANIFEST.XY", at)) != std::string::npos;)
                 b.replace(at, 20, "meta-inf/manifest.mf");
         }),
         "meta-inf/manifest.mf"},
        {"a part over the limit", BuildBook("书", {"a", bigPart}), "2.txt: 超过"},
        {"a part over the limit in surrogate pairs", BuildBook("书", {surrogatePairs}), "1.txt: 超过"},
        // The builder refuses such a name now; older tools wrote such books.
        {"a manifest line of 513 bytes",
         test::BuildStoredZip({{"META-INF/MANIFEST.MF", MakeManifest(std::string(483, 'n'))},
                               {"index.txt", MakeIndex({std::string(483, 'n'), "", ""}, {"章"})},
                               {"1.txt", "a"}}),
         "清单第 4 行"},
        {"a manifest attribute given twice",
         test::BuildStoredZip({{"META-INF/MANIFEST.MF", MakeManifest("书") + "MIDlet-Name: 另一本\r\n"},
                               {"index.txt", MakeIndex({"书", "", ""}, {"章"})},
                               {"1.txt", "a"}}),
         "清单中 MIDlet-Name 出现了 2 次"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteFile(dir.Path("b.jar"), c.zip);
        const BookInspection inspection = InspectBook(dir.Path("b.jar"));
        EXPECT_FALSE(inspection.Ok()) << c.what;
        EXPECT_NE(AllProblems(inspection).find(c.finding), std::string::npos)
            << c.what << ": " << AllProblems(inspection);
    }
}

// Just within the limits: 150000 UTF-16 units of three UTF-8 bytes each, manifest lines of
// 512 bytes with their CR LF.
TEST(BookInspect, BooksAtTheLimitsCheckOut)
{
    std::string threeByteUnits;
    for (std::size_t i = 0; i < kPartSize; ++i)
        threeByteUnits += "中";
    test::TempDir dir;
    test::WriteFile(dir.Path("b.jar"), BuildBook(std::string(482, 'n'), {threeByteUnits, std::string(kPartSize, 'a')}));
    const BookInspection inspection = InspectBook(dir.Path("b.jar"));
    EXPECT_TRUE(inspection.Ok()) << AllProblems(inspection);
}

// Every book of the fixture folder, its expected verdict taken from its name.
class BookFixture : public testing::TestWithParam<std::string> {};

TEST_P(BookFixture, GivesTheVerdictItIsNamedAfter)
{
    const BookInspection inspection = InspectBook(test::FixturePath("jar/book/" + GetParam()));
    EXPECT_EQ(inspection.Ok(), GetParam().rfind("ok-", 0) == 0) << AllProblems(inspection);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BookFixture, testing::ValuesIn(test::FixtureNames("jar/book")),
                         [](const testing::TestParamInfo<std::string>& param) { return test::FixtureTestName(param.param); });

TEST(BookInspect, DamagedDeflateDataIsAnEntryProblem)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("RDbook.dat"), test::BuildStoredZip({{"a", "a"}}));
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "　　第" + std::to_string(i) + "行，春眠不觉晓。\r\n";
    const std::vector<std::string> titles {"一"}, texts {text};
    CJarBuilder builder({"书", "", ""});
    const std::vector<BookPart> bookParts = test::Parts(titles, texts);
    builder.SetParts(bookParts);
    CCheckedTemplate checkedTemplate(dir.Path("RDbook.dat"));
    builder.BuildTo(checkedTemplate, dir.Path("b.jar"));

    std::string bytes = test::ReadFile(dir.Path("b.jar"));
    const test::ParsedZip z = test::ParseZip(bytes);
    const test::CentralRecord& part = z.entries.back();
    ASSERT_EQ(part.method, 8);
    bytes[part.offset + 30 + part.name.size() + part.compressed / 2] ^= 0x55;
    test::WriteFile(dir.Path("b.jar"), bytes);

    const BookInspection book = InspectBook(dir.Path("b.jar"));
    EXPECT_FALSE(book.Ok());
    EXPECT_FALSE(book.entries.back().problem.empty());
    EXPECT_TRUE(book.entries[0].problem.empty()) << "only the damaged entry";
}

TEST(BookInspect, NotAnArchiveThrows)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("b.jar"), "just text");
    EXPECT_THROW(InspectBook(dir.Path("b.jar")), CZipException);
}

} // namespace
