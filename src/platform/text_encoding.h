// Decoding of the legacy Chinese code page. Text without a byte-order mark that is not
// UTF-8 is GBK; it is decoded as GB18030, a superset in which every GBK file decodes the
// same, whatever the locale of the machine: glibc iconv natively, MultiByteToWideChar with
// code page 54936 on Windows (936 where 54936 is missing, as in Wine). Where the platform
// stops, text_encoding.cpp decides, the same way in both builds: a byte that begins no
// character becomes U+FFFD and the bytes after it are read afresh; four-byte codes come from
// its table (glibc decodes them itself, to the same characters).
#pragma once

#include <cstddef>
#include <string>

// Undecodable bytes become U+FFFD; never throws on bad input, never stops early.
std::u16string DecodeGb18030(const char* data, std::size_t size);

// The same text appended to out as UTF-8.
void AppendGb18030AsUtf8(const char* data, std::size_t size, std::string& out);

// Writes c as UTF-8 at out and returns the position behind it (1 to 4 bytes).
inline char* PutUtf8(char* out, char32_t c)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}
