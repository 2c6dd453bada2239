// UTF-8 <-> UTF-16 conversion, used at the Win32 boundary and for the book's UTF-16LE index.
// Invalid input never throws: ill-formed UTF-8 sequences and unpaired surrogates become
// U+FFFD.
#pragma once

#include <string>

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
