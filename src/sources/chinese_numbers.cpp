#include "sources/chinese_numbers.h"

#include <algorithm>
#include <array>

int NumeralDigit(char32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= U'０' && c <= U'９')
        return static_cast<int>(c - U'０');
    static constexpr std::array<std::u32string_view, 10> kDigits = {
        U"零〇○", U"一壹", U"二贰两", U"三叁", U"四肆", U"五伍", U"六陆", U"七柒", U"八捌", U"九玖"};
    for (int v = 0; v < 10; ++v) {
        if (kDigits[static_cast<std::size_t>(v)].find(c) != std::u32string_view::npos)
            return v;
    }
    return -1;
}

int NumeralUnitPower(char32_t c)
{
    switch (c) {
    case U'十': case U'拾': return 1;
    case U'百': case U'佰': return 2;
    case U'千': case U'仟': return 3;
    case U'万': return 4;
    default: return 0;
    }
}

std::int64_t NumberValue(std::u32string_view digits)
{
    if (digits.empty() || digits.size() > 18)
        return -1;
    const bool units = std::any_of(digits.begin(), digits.end(), [](char32_t c) { return NumeralUnitPower(c) != 0; });
    if (!units) {
        // Digit by digit: "12", "一〇〇".
        std::int64_t value = 0;
        for (char32_t c : digits) {
            const int d = NumeralDigit(c);
            if (d < 0)
                return -1;
            value = value * 10 + d;
        }
        return value;
    }
    std::int64_t total = 0, section = 0, digit = -1;
    for (char32_t c : digits) {
        if (const int d = NumeralDigit(c); d >= 0) {
            digit = d;
        } else if (const int power = NumeralUnitPower(c); power == 4) {
            total += (section + std::max<std::int64_t>(digit, 0)) * 10000;
            section = 0;
            digit = -1;
        } else if (power != 0) {
            section += (digit < 0 ? 1 : digit) * (power == 1 ? 10 : power == 2 ? 100 : 1000);
            digit = -1;
        } else {
            return -1;
        }
    }
    return total + section + std::max<std::int64_t>(digit, 0);
}
