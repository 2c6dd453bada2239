#include "sources/natural_order.h"

#include "platform/ascii.h"
#include "platform/utf8_sequence.h"
#include "sources/chinese_numbers.h"

#include <cstdint>
#include <string_view>

namespace {

bool IsAsciiOrWideDigit(char32_t c) { return (c >= '0' && c <= '9') || (c >= U'０' && c <= U'９'); }
bool IsChineseNumeral(char32_t c) { return !IsAsciiOrWideDigit(c) && IsNumeral(c); }

struct Token {
    bool number = false;
    std::string digits;  // a number's value in ASCII digits, without leading zeros
    char32_t c = 0;      // otherwise the character, ASCII letters folded to lower case
};

char32_t Next(const std::string& s, std::size_t& i)
{
    const Utf8Sequence seq = ReadUtf8Sequence(reinterpret_cast<const unsigned char*>(s.data()) + i, s.size() - i);
    // A byte that is no UTF-8 (a GBK name) keeps its place by its value, after all characters.
    const char32_t c = seq.status == Utf8Status::Valid ? seq.codePoint : 0x110000 + static_cast<unsigned char>(s[i]);
    i += seq.length;
    return c;
}

// "一百零五" 105, "十一" 11, "二十" 20, "两千" 2000; digits without units ("一二〇"), and a
// run too long to be a value, read one by one as written.
std::string ChineseValue(const std::u32string& run)
{
    if (const std::int64_t value = NumberValue(run); value >= 0)
        return std::to_string(value);
    std::string digits;
    for (char32_t c : run) {
        if (NumeralDigit(c) >= 0)
            digits += static_cast<char>('0' + NumeralDigit(c));
    }
    return digits.empty() ? "0" : digits;
}

Token Read(const std::string& s, std::size_t& i)
{
    Token token;
    std::size_t j = i;
    const char32_t c = Next(s, j);
    if (!IsAsciiOrWideDigit(c) && !IsChineseNumeral(c)) {
        token.c = AsciiLower(c);
        i = j;
        return token;
    }
    token.number = true;
    const bool chinese = IsChineseNumeral(c);
    std::u32string run;
    while (i < s.size()) {
        std::size_t k = i;
        const char32_t d = Next(s, k);
        if (chinese ? !IsChineseNumeral(d) : !IsAsciiOrWideDigit(d))
            break;
        run += d;
        i = k;
    }
    if (chinese) {
        token.digits = ChineseValue(run);
    } else {
        for (char32_t d : run)
            token.digits += static_cast<char>('0' + NumeralDigit(d));
    }
    const std::size_t first = token.digits.find_first_not_of('0');
    token.digits.erase(0, first == std::string::npos ? token.digits.size() - 1 : first);
    return token;
}

} // namespace

int NaturalCompare(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const Token x = Read(a, i), y = Read(b, j);
        if (x.number && y.number) {
            if (x.digits.size() != y.digits.size())
                return x.digits.size() < y.digits.size() ? -1 : 1;
            const int c = x.digits.compare(y.digits);
            if (c != 0)
                return c < 0 ? -1 : 1;
            continue;
        }
        // A number sorts before other characters, as a digit does.
        const char32_t cx = x.number ? U'0' : x.c, cy = y.number ? U'0' : y.c;
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}
