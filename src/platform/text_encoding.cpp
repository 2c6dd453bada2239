#include "platform/text_encoding.h"

#include "platform/text_encoding_native.h"

#include <algorithm>
#include <cstdint>

namespace {

#include "platform/text_encoding_gb18030.inc"

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint32_t kBmpFourByteCodes = 39420;    // 81 30 81 30 to 84 31 A4 39
constexpr std::uint32_t kFirstSupplementary = 189000;  // 90 30 81 30 is U+10000

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }

void AppendCodePoint(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// The character of a four-byte code, or U+FFFD where none is assigned.
char32_t FourByteCodePoint(const unsigned char* p)
{
    const std::uint32_t linear = (((p[0] - 0x81u) * 10 + (p[1] - 0x30u)) * 126 + (p[2] - 0x81u)) * 10 +
                                 (p[3] - 0x30u);
    if (linear >= kFirstSupplementary && linear - kFirstSupplementary <= 0x10FFFF - 0x10000)
        return 0x10000 + (linear - kFirstSupplementary);
    if (linear >= kBmpFourByteCodes)
        return kReplacement;
    const auto* end = std::end(kGb18030FourByteRanges);
    const auto* it = std::upper_bound(std::begin(kGb18030FourByteRanges), end, linear,
                                      [](std::uint32_t l, const Gb18030Range& r) { return l < r.linear; });
    if (it == std::begin(kGb18030FourByteRanges))
        return kReplacement;
    --it;
    if (linear - it->linear >= it->count)
        return kReplacement;
    return it->codePoint + (linear - it->linear);
}

// Windows gives a few two-byte codes private-use points where GB18030 has standard
// characters; the standard ones are kept, so both builds give the same text.
void NormalizePrivateUse(std::u16string& out, std::size_t from)
{
    constexpr char16_t first = std::begin(kGb18030PrivateUse)->privateUse;
    constexpr char16_t last = (std::end(kGb18030PrivateUse) - 1)->privateUse;
    for (std::size_t i = from; i < out.size(); ++i) {
        const char16_t u = out[i];
        if (u < first || u > last)
            continue;
        const auto* end = std::end(kGb18030PrivateUse);
        const auto* it = std::lower_bound(std::begin(kGb18030PrivateUse), end, u,
                                          [](const Gb18030PrivateUse& e, char16_t v) { return e.privateUse < v; });
        if (it == end || it->privateUse != u)
            continue;
        if (it->standard < 0x10000) {
            out[i] = static_cast<char16_t>(it->standard);
        } else {
            const char32_t c = it->standard - 0x10000;
            out[i] = static_cast<char16_t>(0xD800 + (c >> 10));
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(++i), static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        }
    }
}

} // namespace

std::u16string DecodeGb18030(const char* data, std::size_t size)
{
    std::u16string out;
    out.reserve(size);
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::size_t runStart = 0;  // start of the ASCII and two-byte text not yet handed on
    auto flush = [&](std::size_t end) {
        if (end > runStart) {
            const std::size_t from = out.size();
            AppendGb18030TwoByteText(data + runStart, end - runStart, out);
            NormalizePrivateUse(out, from);
        }
    };
    std::size_t i = 0;
    while (i < size) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
        } else if (IsLead(b) && i + 1 < size && IsTrail(p[i + 1])) {
            i += 2;
        } else if (IsLead(b) && i + 3 < size && IsDigit(p[i + 1]) && IsLead(p[i + 2]) && IsDigit(p[i + 3])) {
            flush(i);
            AppendCodePoint(out, FourByteCodePoint(p + i));
            i += 4;
            runStart = i;
        } else {
            // 80, FF, or a lead byte the next bytes do not complete: this byte alone is
            // undecodable; whatever follows is read afresh.
            flush(i);
            out += kReplacement;
            ++i;
            runStart = i;
        }
    }
    flush(size);
    return out;
}
