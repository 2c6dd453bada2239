// The platform's half of GB18030 decoding (text_encoding_posix.cpp: glibc iconv;
// text_encoding_win.cpp: MultiByteToWideChar). text_encoding.cpp does the rest the same way
// on every platform: where the platform stops, it decides what the bytes are (U+FFFD for the
// undecodable, the four-byte codes from its own table) and hands the rest back.
#pragma once

#include <cstddef>

// Decodes the longest prefix of data that the platform decodes (ASCII, two-byte codes, and
// four-byte codes if it likes) into out, at most one code point per byte, and returns the
// bytes taken; *count is the number of code points written. It stops before the first byte
// that does not begin a character, and before a character cut off by the end of data.
std::size_t DecodeGb18030Prefix(const char* data, std::size_t size, char32_t* out, std::size_t* count);

// For platforms whose converter does not say where it stops: the length of the prefix of
// data made of ASCII bytes and two-byte codes (lead byte 81-FE, trail byte 40-7E or 80-FE).
std::size_t Gb18030TwoByteTextLength(const char* data, std::size_t size);
