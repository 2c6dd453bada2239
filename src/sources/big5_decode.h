// Big5 decoding by the WHATWG Encoding Standard's Big5 decoder and index (Big5 with the
// ETEN and HKSCS additions, as browsers read it): one table compiled into the program, so
// that every build decodes a Big5 text to the same characters, whatever the system's
// code pages say.
#pragma once

#include <cstddef>
#include <string>

// The index pointer of a two-byte code, or -1 when the bytes are no lead (81-FE) and trail
// (40-7E, A1-FE). Pointer = (lead - 0x81) * 157 + trail offset: A440 (一) is 5495.
int Big5Pointer(unsigned char lead, unsigned char trail);

// The code point at a pointer, or 0 where the index has none. The four pointers that stand
// for two code points (Ê̄, Ê̌, ê̄, ê̌) give their first.
char32_t Big5CodePoint(int pointer);

// Appends the UTF-8 of Big5 bytes to out, as the standard decodes them: an undecodable pair
// becomes U+FFFD and its second byte, when ASCII, is read again as itself; a lead byte cut
// off by the end of data becomes U+FFFD. NUL bytes are dropped.
void AppendBig5AsUtf8(const char* data, std::size_t size, std::string& out);
