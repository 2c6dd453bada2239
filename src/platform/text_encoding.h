// Decoding of the legacy Chinese code page. Text without a byte-order mark that is not
// UTF-8 is GBK; it is decoded as GB18030, a superset in which every GBK file decodes the
// same, whatever the locale of the machine: glibc iconv natively, MultiByteToWideChar with
// code page 54936 on Windows (936 where 54936 is missing, as in Wine). Where the platform
// stops, text_encoding.cpp decides, the same way in both builds: a byte that begins no
// character becomes U+FFFD and the bytes after it are read afresh; four-byte codes come from
// its table (glibc decodes them itself, to the same characters).
#pragma once

#include "platform/utf16.h"

#include <cstddef>
#include <string>

// Undecodable bytes become U+FFFD; never throws on bad input, never stops early.
std::u16string DecodeGb18030(const char* data, std::size_t size);

// The same text appended to out as UTF-8.
void AppendGb18030AsUtf8(const char* data, std::size_t size, std::string& out);
