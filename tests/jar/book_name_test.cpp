// Which book names are refused, and that every accepted name keeps the manifest readable.
#include "jar/book_name.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

std::optional<CJarException::Cause> Refusal(const std::string& name)
{
    try {
        CheckBookName(name);
    } catch (const CJarException& e) {
        return e.GetCause();
    }
    return std::nullopt;
}

std::size_t LongestManifestLine(const std::string& name)
{
    const std::string manifest = MakeManifest(name);
    std::size_t longest = 0;
    for (std::size_t from = 0, at; (at = manifest.find('\n', from)) != std::string::npos; from = at + 1)
        longest = std::max(longest, at + 1 - from);
    return longest;
}

TEST(CheckBookName, RefusedAndAcceptedNames)
{
    using C = CJarException;
    const struct {
        const char* what;
        std::string name;
        std::optional<C::Cause> refusal;
    } table[] = {
        {"a name", "书", std::nullopt},
        {"spaces inside", "红楼 梦", std::nullopt},
        {"a leading space", " 书", std::nullopt},
        {"empty", "", C::emptyBookName},
        {"ASCII spaces", "   ", C::emptyBookName},
        {"full-width spaces", "\u3000\u3000", C::emptyBookName},
        {"a tab", "\t", C::emptyBookName},
        {"a slash", "a/b", C::badBookName},
        {"a control character", "a\x01", C::badBookName},
        {"GBK bytes, not UTF-8", "\xCA\xE9", C::badBookName},
        {"a dot at the end", "书.", C::bookNameEndsBadly},
        {"a space at the end", "书 ", C::bookNameEndsBadly},
        {"a full-width space at the end", "书\u3000", std::nullopt},
        {"CON", "CON", C::reservedBookName},
        {"nul in small letters", "nul", C::reservedBookName},
        {"AUX with an extension", "AUX.txt", C::reservedBookName},
        {"PRN with a space before the dot", "PRN .a", C::reservedBookName},
        {"COM1", "COM1", C::reservedBookName},
        {"lpt9 with two extensions", "lpt9.a.b", C::reservedBookName},
        {"CONIN$", "CONIN$", C::reservedBookName},
        {"COM0 is a name", "COM0", std::nullopt},
        {"COM10 is a name", "COM10", std::nullopt},
        {"CONSOLE is a name", "CONSOLE", std::nullopt},
        {"a device name inside", "CON书", std::nullopt},
        // MIDlet-1: <name>,/rd.PNG,Lumenread with CR LF is the longest line: 482 bytes of name.
        {"482 letters", std::string(482, 'a'), std::nullopt},
        {"483 letters", std::string(483, 'a'), C::bookNameTooLong},
        {"160 Chinese characters", test::Repeat("书", 160), std::nullopt},
        {"161 Chinese characters", test::Repeat("书", 161), C::bookNameTooLong},
        {"160 commas (3 bytes each in MIDlet-1)", std::string(160, ','), std::nullopt},
        {"161 commas", std::string(161, ','), C::bookNameTooLong},
        {"200 commas", std::string(200, ','), C::bookNameTooLong},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Refusal(c.name), c.refusal);
        if (!c.refusal) {
            EXPECT_LE(LongestManifestLine(c.name), kMaxManifestLineBytes);
        }
    }
}

TEST(CheckBookName, TheLengthMessageSaysTheLimit)
{
    try {
        CheckBookName(std::string(600, 'a'));
        FAIL();
    } catch (const CJarException& e) {
        EXPECT_EQ(e.Message(), "书名太长，手机读不了：书名最多 160 个汉字或 482 个英文字母（逗号按 3 个字母算）");
    }
    // A volume's name carries its number, which counts too.
    EXPECT_NO_THROW(CheckBookName(std::string(477, 'a'), 12));
    try {
        CheckBookName(std::string(479, 'a'), 12);
        FAIL();
    } catch (const CJarException& e) {
        EXPECT_EQ(e.Message(), "书名太长，手机读不了：分卷的书名后面还有“(12)”，书名最多 159 个汉字或 478 个英文字母"
                               "（逗号按 3 个字母算）");
    }
}

} // namespace
