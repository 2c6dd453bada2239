#include "jar/book_check.h"
#include "jar/jar_builder.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"
#include "support/book_parts.h"
#include "support/test_support.h"
#include "zip/zip_container.h"

#include <filesystem>
#include <optional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

fs::path U8(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

// Every template of the fixture folder, its expected verdict taken from its name.
// The detail of the CJarException that checking path throws; nullopt when none is thrown.
std::optional<std::string> Refusal(const std::string& path)
{
    try {
        CheckTemplate(path);
    } catch (const CJarException& e) {
        EXPECT_EQ(e.GetCause(), CJarException::templateDamaged);
        EXPECT_EQ(e.GetPath(), path);
        return e.GetDetail();
    }
    return std::nullopt;
}

class TemplateFixture : public testing::TestWithParam<std::string> {};

// A damaged template is refused with the fault named, and no book is built from it; a
// sound one passes, and the book built from it checks out.
TEST_P(TemplateFixture, GivesTheVerdictItIsNamedAfter)
{
    const std::string name = GetParam();
    const bool ok = name.rfind("ok-", 0) == 0;
    test::TempDir dir;
    const std::string templ = dir.Path("RDbook.dat");
    test::WriteFile(templ, test::ReadFile(test::FixturePath("jar/template/" + name)));

    const std::optional<std::string> detail = Refusal(templ);
    if (ok)
        EXPECT_FALSE(detail) << *detail;
    else
        EXPECT_TRUE(detail && !detail->empty()) << "accepted, or refused without saying why";

    const std::vector<std::string> titles {"一"}, texts {"春眠不觉晓"};
    CJarBuilder builder({"书", "", ""});
    const std::vector<BookPart> bookParts = test::Parts(titles, texts);
    builder.SetParts(bookParts);
    const std::string book = dir.Path("书.jar");
    if (ok) {
        CCheckedTemplate checkedTemplate(templ);
        builder.BuildTo(checkedTemplate, book);
        const BookInspection inspection = InspectBook(book);
        EXPECT_TRUE(inspection.Ok());
        return;
    }
    try {
        CCheckedTemplate checkedTemplate(templ);
        builder.BuildTo(checkedTemplate, book);
        ADD_FAILURE() << "a book was built";
    } catch (const CJarException& e) {
        EXPECT_EQ(e.GetCause(), CJarException::templateDamaged);
        EXPECT_NE(e.Message().find("已损坏（"), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(fs::exists(U8(book)));
    EXPECT_EQ(std::distance(fs::directory_iterator(U8(dir.Path(""))), fs::directory_iterator()), 1) << "a file was left";
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TemplateFixture, testing::ValuesIn(test::FixtureNames("jar/template")),
                         [](const testing::TestParamInfo<std::string>& param) { return test::FixtureTestName(param.param); });

// 65537 entries: the end record's 16-bit count says 1, and the engine reads that one only.
TEST(TemplateCheck, EntryCountWrappedAt65536IsFound)
{
    std::vector<test::MiniEntry> entries;
    for (int i = 0; i < 65537; ++i)
        entries.push_back({"c" + std::to_string(i), "x"});
    test::TempDir dir;
    const std::string templ = dir.Path("RDbook.dat");
    test::WriteFile(templ, test::BuildStoredZip(entries));
    {
        CZipContainer zip;
        zip.Open(templ, CZipContainer::zipOpenReadOnly);
        ASSERT_EQ(zip.GetCount(), 1u) << "the engine alone would drop 65536 entries";
    }
    const std::optional<std::string> detail = Refusal(templ);
    ASSERT_TRUE(detail);
    EXPECT_NE(detail->find("65537"), std::string::npos) << *detail;
}

TEST(TemplateCheck, NotAnArchiveKeepsTheMessageWithoutDetail)
{
    test::TempDir dir;
    test::WriteFile(dir.Path("RDbook.dat"), "plain text");
    EXPECT_EQ(Refusal(dir.Path("RDbook.dat")), std::string());
    EXPECT_EQ(CJarException(CJarException::templateDamaged, "RDbook.dat", "条目 a.class 的 CRC 不符").Message(),
              "电子书模板文件 RDbook.dat 已损坏（条目 a.class 的 CRC 不符），无法生成电子书!");
}

#ifdef BOOKMAKER_READER_TEMPLATE
// The reader this project builds: every book starts as a copy of it.
TEST(TemplateCheck, TheProjectsReaderPasses)
{
    if (!fs::exists(BOOKMAKER_READER_TEMPLATE))
        GTEST_SKIP() << "the reader is not built: " << BOOKMAKER_READER_TEMPLATE;
    const std::optional<std::string> detail = Refusal(BOOKMAKER_READER_TEMPLATE);
    EXPECT_FALSE(detail) << *detail;
}
#endif

} // namespace
