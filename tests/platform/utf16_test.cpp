#include "platform/system_error.h"
#include "platform/utf16.h"
#include "platform/utf8_sequence.h"
#include "support/utf8_cases.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf16, RoundTripsEveryPlane)
{
    const std::string text = "A·é中文\xF0\x9F\x93\x96" "end";  // U+1F4D6 needs a surrogate pair
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"A·é中文\U0001F4D6end");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf8, OneReaderForConversionAndValidity)
{
    for (const test::Utf8Case& c : test::Utf8Cases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.decoded);
        EXPECT_EQ(IsValidUtf8(c.bytes.data(), c.bytes.size()), c.decoded.find(u'\uFFFD') == std::u16string::npos);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

} // namespace

// The system's error texts reach messages as UTF-8 whatever the system's code page (a
// Chinese Windows gives them in Chinese).
TEST(PlatformErrorText, IsUtf8)
{
    for (long code : {2L, 3L, 5L, 32L, 112L}) {
        const std::string text = PlatformErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << code << ": " << text;
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << code;
    }
}
