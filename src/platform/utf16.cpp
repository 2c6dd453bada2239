#include "platform/utf16.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    char buffer[4];
    out.append(buffer, PutUtf8(buffer, c));
}

} // namespace

std::u16string Utf8ToUtf16(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        int len = 0;
        char32_t c = 0;
        char32_t min = 0;
        if (b >= 0xC2 && b <= 0xDF) { len = 2; c = b & 0x1F; min = 0x80; }
        else if (b >= 0xE0 && b <= 0xEF) { len = 3; c = b & 0x0F; min = 0x800; }
        else if (b >= 0xF0 && b <= 0xF4) { len = 4; c = b & 0x07; min = 0x10000; }
        int k = 1;
        if (len != 0) {
            for (; k < len && i + k < n && (p[i + k] & 0xC0) == 0x80; ++k)
                c = (c << 6) | (p[i + k] & 0x3F);
        }
        if (len == 0 || k < len || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += static_cast<char16_t>(kReplacement);
            i += len == 0 ? 1 : static_cast<std::size_t>(k);
            continue;
        }
        AppendUtf16(out, c);
        i += static_cast<std::size_t>(len);
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}
