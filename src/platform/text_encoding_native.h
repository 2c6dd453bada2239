// The platform's half of GB18030 decoding (text_encoding_posix.cpp: glibc iconv;
// text_encoding_win.cpp: MultiByteToWideChar). text_encoding.cpp does the rest the same way
// on every platform: it finds the byte sequences, replaces the undecodable ones and decodes
// the four-byte codes itself, so the platform only ever sees well-formed text.
#pragma once

#include <cstddef>
#include <string>

// Appends the UTF-16 of data to out. data holds only ASCII bytes and two-byte GB18030 codes
// (lead byte 81-FE, trail byte 40-7E or 80-FE), every one of which is assigned.
void AppendGb18030TwoByteText(const char* data, std::size_t size, std::u16string& out);
