// Native build only: the four-byte codes, which both builds decode from the table in
// text_encoding.cpp, agree with glibc's iconv code by code.
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <string>

namespace {

// iconv's reading of one code, or U+FFFD where it has none.
std::u16string Iconv(const std::string& code)
{
    iconv_t cd = iconv_open("UTF-16LE", "GB18030");
    char16_t out[4] = {};
    char* in = const_cast<char*>(code.data());
    std::size_t inLeft = code.size();
    char* to = reinterpret_cast<char*>(out);
    std::size_t toLeft = sizeof out;
    const std::size_t rc = iconv(cd, &in, &inLeft, &to, &toLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0)
        return u"\uFFFD";
    return std::u16string(out, (sizeof out - toLeft) / sizeof(char16_t));
}

std::string FourByte(unsigned linear)
{
    std::string code(4, '\0');
    code[3] = static_cast<char>(0x30 + linear % 10);
    linear /= 10;
    code[2] = static_cast<char>(0x81 + linear % 126);
    linear /= 126;
    code[1] = static_cast<char>(0x30 + linear % 10);
    code[0] = static_cast<char>(0x81 + linear / 10);
    return code;
}

TEST(Gb18030Iconv, EveryFourByteCodeOfTheBmpAndASampleBeyond)
{
    int differences = 0;
    auto check = [&](unsigned linear) {
        const std::string code = FourByte(linear);
        const std::u16string ours = DecodeGb18030(code.data(), code.size());
        const std::u16string theirs = Iconv(code);
        if (ours != theirs && differences++ < 10)
            ADD_FAILURE() << "linear index " << linear;
    };
    for (unsigned linear = 0; linear < 39420; ++linear)
        check(linear);
    for (unsigned linear = 39420; linear < 189000; linear += 101)  // unassigned between
        check(linear);
    for (unsigned linear = 189000; linear < 189000 + 0x100000; linear += 97)
        check(linear);
    check(189000 + 0xFFFFF);
    EXPECT_EQ(differences, 0);
}

} // namespace
