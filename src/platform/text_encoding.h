// Decoding of the legacy Chinese code page. Text without a byte-order mark that is not
// UTF-8 is GBK; it is decoded as GB18030, a superset in which every GBK file decodes the
// same, whatever the locale of the machine: glibc iconv natively, MultiByteToWideChar with
// code page 54936 on Windows.
#pragma once

#include <cstddef>
#include <string>

// Undecodable bytes become U+FFFD; never throws on bad input, never stops early.
std::u16string DecodeGb18030(const char* data, std::size_t size);
