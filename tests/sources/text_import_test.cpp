// Text import: parts of at most 150000 UTF-16 code units, their titles, replace-selected
// for the first part only, the failure path, and decoding piece by piece.
#include "sources/text_import.h"

#include "list_box_view.h"
#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "sources/source_list.h"
#include "support/allocation_limit.h"
#include "support/book_parts.h"
#include "support/utf8_cases.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::size_t> UnitCounts(const std::vector<std::string>& parts)
{
    std::vector<std::size_t> counts;
    for (const std::string& p : parts)
        counts.push_back(Utf8ToUtf16(p).size());
    return counts;
}

const std::string kBook = "\xF0\x9F\x93\x96";  // U+1F4D6: two UTF-16 units

struct SplitCase {
    const char* what;
    std::string text;
    std::vector<std::size_t> units;  // of each part
};

TEST(SplitText, PartSizes)
{
    static_assert(kPartSize == 150000);
    const SplitCase table[] = {
        {"empty text: one empty part", "", {0}},
        {"150000 units: one part", std::string(150000, 'a'), {150000}},
        {"150001 units", std::string(150001, 'a'), {150000, 1}},
        {"300000 units", std::string(300000, 'a'), {150000, 150000}},
        {"300001 units", std::string(300001, 'a'), {150000, 150000, 1}},
        {"Chinese, three bytes a unit", test::Repeat("中", 150001), {150000, 1}},
        {"a surrogate pair at the cut goes whole to the next part",
         std::string(149999, 'a') + kBook + "b", {149999, 3}},
        {"a surrogate pair that just fits", std::string(149998, 'a') + kBook + "b", {150000, 1}},
        {"CR LF at the cut goes whole to the next part", std::string(149999, 'a') + "\r\nb", {149999, 3}},
        {"CR as the last unit, then not LF", std::string(149999, 'a') + "\rb", {150000, 1}},
        {"LF after a full part without CR", std::string(150000, 'a') + "\n", {150000, 1}},
    };
    for (const SplitCase& c : table) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> parts = SplitText(c.text);
        EXPECT_EQ(UnitCounts(parts), c.units);
        std::string joined;
        for (const std::string& p : parts)
            joined += p;
        EXPECT_EQ(joined, c.text);
    }
}

TEST(SplitText, CrLfAndSurrogatesStayTogether)
{
    const std::vector<std::string> crlf = SplitText(std::string(149999, 'a') + "\r\nb");
    ASSERT_EQ(crlf.size(), 2u);
    EXPECT_EQ(crlf[0].back(), 'a');
    EXPECT_EQ(crlf[1], "\r\nb");

    const std::vector<std::string> pair = SplitText(std::string(149999, 'a') + kBook + "b");
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(pair[1], kBook + "b");
}

std::string Utf16Le(const std::u16string& text, bool mark)
{
    std::string bytes = mark ? "\xFF\xFE" : "";
    for (char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

struct ImportCase {
    const char* what;
    std::string bytes;
    TextEncoding encoding;
    std::vector<std::string> titles;
    std::vector<std::size_t> units;
};

TEST(ImportText, PartsAndTitles)
{
    const ImportCase table[] = {
        {"empty source: one empty entry", "", EncodingAnsi, {"T"}, {0}},
        {"150000 GBK characters: one entry", test::Repeat("\xD6\xD0", 150000), EncodingAnsi, {"T"}, {150000}},
        {"150001 GBK characters", test::Repeat("\xD6\xD0", 150001), EncodingAnsi, {"T(1)", "T(2)"}, {150000, 1}},
        {"300000 characters", std::string(300000, 'x'), EncodingAnsi, {"T(1)", "T(2)"}, {150000, 150000}},
        {"400000 characters", std::string(400000, 'x'), EncodingAnsi, {"T(1)", "T(2)", "T(3)"},
         {150000, 150000, 100000}},
        // The mark is no character: 150000 characters behind it make one part.
        {"UTF-16LE, mark and 150000 characters", Utf16Le(std::u16string(150000, u'中'), true), EncodingUtf16Le,
         {"T"}, {150000}},
        {"UTF-8, mark and 150000 characters", "\xEF\xBB\xBF" + test::Repeat("中", 150000), EncodingUtf8, {"T"}, {150000}},
        // Nor is NUL: it is dropped before counting.
        {"UTF-16LE, 150000 characters and a NUL", Utf16Le(std::u16string(150000, u'a') + u'\0', true),
         EncodingUtf16Le, {"T"}, {150000}},
        {"GBK, a NUL between two halves", std::string(100000, 'a') + '\0' + std::string(100000, 'b'), EncodingAnsi,
         {"T(1)", "T(2)"}, {150000, 50000}},
    };
    for (const ImportCase& c : table) {
        SCOPED_TRACE(c.what);
        CSourceList list;
        EXPECT_EQ(ImportText(list, "T", c.bytes.data(), c.bytes.size(), false, c.encoding), c.titles.size());
        EXPECT_EQ(test::Titles(list), c.titles);
        EXPECT_EQ(UnitCounts(test::Texts(list)), c.units);
    }
}

TEST(ImportText, EmptyTitleOrNoDataAddsNothing)
{
    CSourceList list;
    EXPECT_EQ(ImportText(list, "", "abc", 3, false, EncodingAnsi), 0u);
    EXPECT_EQ(ImportText(list, "T", nullptr, 0, false, EncodingAnsi), 0u);
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST(ImportText, ReplaceSelectedAppliesToTheFirstPartOnly)
{
    CSourceList list;
    ListBoxView view;
    list.SetView(&view);
    for (const char* t : {"A", "B", "C"})
        list.AddEntry(t, std::string("text ") + t, false);
    list.OnSelectionChange(1);
    view.selection = 1;

    const std::string text = std::string(150000, 'x') + std::string(150000, 'y') + "z";
    EXPECT_EQ(ImportText(list, "T", text.data(), text.size(), true, EncodingAnsi), 3u);

    EXPECT_EQ(test::Titles(list), (std::vector<std::string> {"A", "T(1)", "C", "T(2)", "T(3)"}));
    EXPECT_EQ(test::Texts(list)[0], "text A");
    EXPECT_EQ(test::Texts(list)[1], std::string(150000, 'x'));
    EXPECT_EQ(test::Texts(list)[2], "text C");
    EXPECT_EQ(test::Texts(list)[3], std::string(150000, 'y'));
    EXPECT_EQ(test::Texts(list)[4], "z");
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.GetVisibleSelection(), 1);
    EXPECT_EQ(view.items, test::Titles(list));
    EXPECT_EQ(view.selection, 1);
}

TEST(ImportText, FailureKeepsThePartsAddedBefore)
{
    CSourceList list;
    ListBoxView view;
    view.failInsertAfter = 1;  // the list box takes one item, then runs out of memory
    list.SetView(&view);
    const std::string text(400000, 'x');
    try {
        ImportText(list, "T", text.data(), text.size(), false, EncodingAnsi);
        FAIL() << "no exception";
    } catch (const CException& e) {  // what the window and the command line catch
        EXPECT_NE(dynamic_cast<const CImportException*>(&e), nullptr);
        EXPECT_EQ(e.Message(), "字符内容过长，系统不支持，请访问www.qinghe.example反馈!");
    }
    EXPECT_EQ(test::Titles(list), (std::vector<std::string> {"T(1)"}));
    EXPECT_EQ(test::Texts(list).size(), 1u);
    EXPECT_EQ(view.items, test::Titles(list));
}

// Memory running out while a text is decoded is a failure to read it (both front ends say
// "打开文件出错!" and a folder scan stops), not the splitting message.
TEST(ImportText, OutOfMemoryWhileDecodingIsAReadFailure)
{
    // One piece of 64 KiB: decoding it reserves three bytes a byte, its part one.
    const std::string text(64 * 1024, 'x');
    CSourceList list;
    {
        test::AllocationLimit limit(100000);
        EXPECT_THROW(ImportText(list, "T", text.data(), text.size(), false, EncodingUtf8), std::bad_alloc);
    }
    EXPECT_EQ(list.GetCount(), 0u);
    test::AllocationLimit limit(200000);
    EXPECT_EQ(ImportText(list, "T", text.data(), text.size(), false, EncodingUtf8), 1u);
}

TEST(ImportText, FailureMessage)
{
    EXPECT_EQ(std::string(kImportFailedMessage), "字符内容过长，系统不支持，请访问www.qinghe.example反馈!");
}

// Decoding happens in pieces of about 64 KiB; the pieces must join up to what decoding the
// whole buffer at once gives, whatever falls on a piece boundary.
TEST(ImportText, PiecesJoinUpToTheWholeText)
{
    std::string gbk;
    for (int i = 0; i < 60000; ++i) {
        gbk += "\xD6\xD0\xCE\xC4";                      // 中文
        gbk += "\x81\x30\x86\x38";                      // À, a four-byte code
        gbk += i % 7 == 0 ? "\xFF" : "";                // undecodable
        gbk += i % 5 == 0 ? "\r\n" : "";
        gbk += i % 11 == 0 ? std::string(1, '\0') : "";  // dropped
    }
    std::string expected;
    for (char16_t u : DecodeGb18030(gbk.data(), gbk.size())) {
        if (u != 0)
            expected += Utf16ToUtf8(std::u16string(1, u));
    }
    // Utf16ToUtf8 of single units cannot join pairs; there are none here.
    EXPECT_EQ(DecodeText(gbk.data(), gbk.size(), EncodingAnsi), expected);

    CSourceList list;
    ImportText(list, "T", gbk.data(), gbk.size(), false, EncodingAnsi);
    std::string joined;
    for (const std::string& part : test::Texts(list))
        joined += part;
    EXPECT_EQ(joined, expected);
    EXPECT_GT(list.GetCount(), 1u);
    for (const std::string& part : test::Texts(list))
        EXPECT_LE(Utf8ToUtf16(part).size(), kPartSize);

    // Text without a byte below 0x30 for longer than a piece is decoded in one.
    const std::string noBreaks = test::Repeat("\xD6\xD0", 100000);
    EXPECT_EQ(DecodeText(noBreaks.data(), noBreaks.size(), EncodingAnsi), test::Repeat("中", 100000));
}

// The text decoder reads UTF-8 with the same sequence reader as the rest of the program.
TEST(DecodeText, Utf8AsTheOneReaderReadsIt)
{
    for (const test::Utf8Case& c : test::Utf8Cases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeText(c.bytes.data(), c.bytes.size(), EncodingUtf8), Utf16ToUtf8(c.decoded));
    }
}

TEST(ImportText, UnicodePiecesJoinUp)
{
    std::u16string wide;
    for (int i = 0; i < 50000; ++i)
        wide += u"中\U0001F4D6a\r\n";
    const std::string expected = Utf16ToUtf8(wide);

    std::string be;
    std::string le = Utf16Le(wide, true);
    for (std::size_t i = 2; i < le.size(); i += 2)
        be += std::string {le[i + 1], le[i]};
    be = "\xFE\xFF" + be;
    EXPECT_EQ(DecodeText(le.data(), le.size(), EncodingUtf16Le), expected);
    EXPECT_EQ(DecodeText(be.data(), be.size(), EncodingUtf16Be), expected);
    const std::string utf8 = "\xEF\xBB\xBF" + expected;
    EXPECT_EQ(DecodeText(utf8.data(), utf8.size(), EncodingUtf8), expected);

    CSourceList list;
    EXPECT_EQ(ImportText(list, "T", le.data(), le.size(), false, EncodingUtf16Le), 2u);
    EXPECT_EQ(test::Texts(list)[0] + test::Texts(list)[1], expected);
}

} // namespace
