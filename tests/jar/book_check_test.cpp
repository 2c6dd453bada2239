#include "jar/book_check.h"
#include "jar/jar_builder.h"
#include "jar/jar_contents.h"
#include "support/test_support.h"
#include "zip/zip_exception.h"

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
    builder.SetContents(titles, texts);
    builder.BuildTo(dir.Path("RDbook.dat"), dir.Path("书.jar"));

    const BookInspection book = InspectBook(dir.Path("书.jar"));
    EXPECT_TRUE(book.Ok()) << AllProblems(book);
    ASSERT_EQ(book.entries.size(), 5u);
    EXPECT_EQ(book.entries[3].name, "1.txt");
    EXPECT_EQ(book.entries[3].method, 8);
    EXPECT_EQ(book.indexLines, (std::vector<std::string> {"佚名", "青禾", "书", "上", "下"}));
    EXPECT_EQ(book.partSizes, (std::vector<std::int64_t> {70000 + 10, 0}));
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

TEST(BookInspect, DamagedDeflateDataIsAnEntryProblem)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("RDbook.dat"), test::BuildStoredZip({{"a", "a"}}));
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "　　第" + std::to_string(i) + "行，春眠不觉晓。\r\n";
    const std::vector<std::string> titles {"一"}, texts {text};
    CJarBuilder builder({"书", "", ""});
    builder.SetContents(titles, texts);
    builder.BuildTo(dir.Path("RDbook.dat"), dir.Path("b.jar"));

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
