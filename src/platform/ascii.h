// ASCII alone. Case: file extensions, manifest attribute names, option values and Latin
// chapter words compare without regard to case there, and other scripts have none. And
// runs of ASCII skipped quickly by the encoding detectors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

constexpr bool IsAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr char32_t AsciiLower(char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

inline std::string AsciiLower(std::string s)
{
    for (char& c : s)
        c = AsciiLower(c);
    return s;
}

inline std::string AsciiUpper(std::string s)
{
    for (char& c : s)
        c = AsciiUpper(c);
    return s;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

constexpr bool EndsWithIgnoringAsciiCase(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && EqualsIgnoringAsciiCase(s.substr(s.size() - suffix.size()), suffix);
}

// The position of the first byte from i on that is not ASCII (size when there is none),
// looking at eight bytes at a time: what detection skips between the characters it reads.
inline std::size_t SkipAscii(const unsigned char* p, std::size_t i, std::size_t size)
{
    while (i + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ull)
            break;
        i += 8;
    }
    while (i < size && p[i] < 0x80)
        ++i;
    return i;
}
