#include "platform/text_encoding_native.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace {

// GB18030 is code page 54936. Wine (8.0) does not have it; there code page 936 (GBK) decodes
// the same two-byte codes, except for private-use points that text_encoding.cpp maps to the
// standard characters either way.
UINT Gb18030CodePage()
{
    static const UINT codePage = IsValidCodePage(54936) ? 54936 : 936;
    return codePage;
}

} // namespace

void AppendGb18030TwoByteText(const char* data, std::size_t size, std::u16string& out)
{
    const UINT codePage = Gb18030CodePage();
    while (size > 0) {
        // MultiByteToWideChar counts in int: hand over pieces that end on a character.
        std::size_t piece = size;
        if (piece > INT_MAX / 2) {
            piece = 0;
            while (piece < INT_MAX / 2)
                piece += static_cast<unsigned char>(data[piece]) >= 0x80 ? 2 : 1;
        }
        const std::size_t start = out.size();
        out.resize(start + piece);  // one unit per byte at most
        const int n = MultiByteToWideChar(codePage, 0, data, static_cast<int>(piece),
                                          reinterpret_cast<wchar_t*>(out.data() + start),
                                          static_cast<int>(piece));
        if (n <= 0)
            throw std::runtime_error("MultiByteToWideChar failed for GB18030 text");
        out.resize(start + static_cast<std::size_t>(n));
        data += piece;
        size -= piece;
    }
}
