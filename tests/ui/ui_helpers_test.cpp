#include "ui/file_filter.h"
#include "ui/text_trim.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(FileDialogFilter, BarsBecomeNulsAndTheListEndsWithTwo)
{
    const struct {
        const char* input;
        std::string expected;
    } cases[] = {
        {"text Files (*.txt)|*.txt|All Files (*.*)|*.*||",
         "text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0\0"s},
        {"Text|*.txt|", "Text\0*.txt\0\0"s},  // one closing bar
        {"Text|*.txt", "Text\0*.txt\0\0"s},   // none
        {"||", "\0"s},
        {"", "\0"s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileDialogFilter(c.input), c.expected) << c.input;
}

TEST(TrimBlank, AsciiWhiteSpaceAtBothEndsOnly)
{
    const struct {
        std::string text;
        std::string trimmed;
    } cases[] = {
        {"  \t标题\r\n", "标题"},
        {"\r\n\r\n第一行\r\n\r\n第三行\r\n\r\n\r\n", "第一行\r\n\r\n第三行"},  // inner lines stay
        {"\v\f x \f\v", "x"},
        {"   ", ""},
        {"", ""},
        {"\xE3\x80\x80全角\xE3\x80\x80", "\xE3\x80\x80全角\xE3\x80\x80"},  // U+3000 is not ASCII
        {"a\0b "s, "a\0b"s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimBlank(c.text), c.trimmed) << c.text;
}

} // namespace
