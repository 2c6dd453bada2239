// One UTF-8 sequence read strictly (no overlong forms, no surrogates, nothing above
// U+10FFFF). Shared by the encoding test and the UTF-8 decoder, so both agree on what valid
// UTF-8 is.
#pragma once

#include <cstddef>
#include <string_view>

enum class Utf8Status { Valid, Invalid, Truncated };

struct Utf8Sequence {
    Utf8Status status;
    std::size_t length;    // Valid: the sequence; otherwise the maximal valid prefix, at least 1
    char32_t codePoint;    // Valid only
};

// Reads the sequence at p; available (at least 1) bytes may be read. Truncated: a valid
// prefix that the end of the bytes cuts off.
inline Utf8Sequence ReadUtf8Sequence(const unsigned char* p, std::size_t available)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return {Utf8Status::Valid, 1, b};
    std::size_t length = 0;
    char32_t c = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        c = b & 0x0F;
        if (b == 0xE0)
            low = 0xA0;  // overlong below U+0800
        if (b == 0xED)
            high = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        c = b & 0x07;
        if (b == 0xF0)
            low = 0x90;  // overlong below U+10000
        if (b == 0xF4)
            high = 0x8F;  // above U+10FFFF
    } else {
        return {Utf8Status::Invalid, 1, 0};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (k >= available)
            return {Utf8Status::Truncated, k, 0};
        const unsigned char t = p[k];
        if (t < low || t > high)
            return {Utf8Status::Invalid, k, 0};
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (t & 0x3F);
    }
    return {Utf8Status::Valid, length, c};
}

// True when all of data is valid UTF-8 (no sequence cut off at the end).
inline bool IsValidUtf8(const char* data, std::size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size;) {
        const Utf8Sequence s = ReadUtf8Sequence(p + i, size - i);
        if (s.status != Utf8Status::Valid)
            return false;
        i += s.length;
    }
    return true;
}

// UTF-16 units of the character whose well-formed UTF-8 starts with byte b: 2 for a
// four-byte sequence (a surrogate pair), 1 for the others, 0 for a continuation byte.
constexpr std::size_t Utf16UnitsOfByte(unsigned char b) { return (b & 0xC0) == 0x80 ? 0 : b >= 0xF0 ? 2 : 1; }

// UTF-16 units of well-formed UTF-8 text.
inline std::size_t Utf16Length(std::string_view text)
{
    std::size_t units = 0;
    for (const char c : text)
        units += Utf16UnitsOfByte(static_cast<unsigned char>(c));
    return units;
}
