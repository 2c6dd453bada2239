#include "platform/text_encoding_native.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

#include "platform/text_encoding_gb18030_private_use.inc"

// GB18030 is code page 54936. Wine (8.0) does not have it; there code page 936 (GBK) decodes
// the same two-byte codes, except for the private-use points below.
UINT Gb18030CodePage()
{
    static const UINT codePage = IsValidCodePage(54936) ? 54936 : 936;
    return codePage;
}

// Both code pages give a few two-byte codes private-use points where GB18030 (and glibc, which
// the native build uses) has standard characters; the standard ones are kept, so both builds
// give the same text.
char32_t NormalizePrivateUse(char32_t c)
{
    constexpr char32_t first = std::begin(kGb18030PrivateUse)->privateUse;
    constexpr char32_t last = (std::end(kGb18030PrivateUse) - 1)->privateUse;
    if (c < first || c > last)
        return c;
    const auto* it = std::lower_bound(std::begin(kGb18030PrivateUse), std::end(kGb18030PrivateUse), c,
                                      [](const Gb18030PrivateUse& e, char32_t v) { return e.privateUse < v; });
    return it != std::end(kGb18030PrivateUse) && it->privateUse == c ? it->standard : c;
}

} // namespace

// MultiByteToWideChar does not say where it meets a bad byte (and code page 936 swallows the
// byte behind a bad lead byte), so it is given only the ASCII and two-byte prefix.
std::size_t DecodeGb18030Prefix(const char* data, std::size_t size, char32_t* out, std::size_t* count)
{
    *count = 0;
    const std::size_t length = Gb18030TwoByteTextLength(data, size);
    if (length == 0)
        return 0;
    if (length > INT_MAX)
        throw std::length_error("GB18030 text too long for MultiByteToWideChar");
    thread_local std::vector<wchar_t> wide;
    wide.resize(length);  // one unit per byte at most
    const int n = MultiByteToWideChar(Gb18030CodePage(), 0, data, static_cast<int>(length), wide.data(),
                                      static_cast<int>(length));
    if (n <= 0)
        throw std::runtime_error("MultiByteToWideChar failed for GB18030 text");
    char32_t* w = out;
    for (int i = 0; i < n; ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        *w++ = NormalizePrivateUse(c);
    }
    *count = static_cast<std::size_t>(w - out);
    return length;
}
