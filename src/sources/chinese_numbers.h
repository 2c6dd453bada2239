// Numbers as novels and their file names write them: ASCII and full-width digits, Chinese
// numerals (〇 ○ 零 as zero, 两 as two) and their financial forms (壹 贰 … 拾 佰 仟), with
// the units 十 百 千 万. Chapter headings and the natural order of file names read them the
// same way.
#pragma once

#include <cstdint>
#include <string_view>

// 0-9 for a digit in any of the writings, else -1.
int NumeralDigit(char32_t c);
// 1 for 十 拾, 2 for 百 佰, 3 for 千 仟, 4 for 万, else 0.
int NumeralUnitPower(char32_t c);
// A digit or a unit.
inline bool IsNumeral(char32_t c) { return NumeralDigit(c) >= 0 || NumeralUnitPower(c) > 0; }

// The value of a number: "12", "１２", "十二", "一百零八", "一〇〇", "两千", "壹佰". Digits
// without units are read one by one as written. -1 when it is none, or longer than 18
// characters.
std::int64_t NumberValue(std::u32string_view digits);
