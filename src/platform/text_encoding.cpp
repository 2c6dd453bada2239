#include "platform/text_encoding.h"

#include "platform/text_encoding_native.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

#include "platform/text_encoding_gb18030_ranges.inc"

constexpr std::uint32_t kBmpFourByteCodes = 39420;    // 81 30 81 30 to 84 31 A4 39
constexpr std::uint32_t kFirstSupplementary = 189000;  // 90 30 81 30 is U+10000
constexpr std::size_t kRunBytes = 64 * 1024;           // bytes handed to the platform at once

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }

// The character of a four-byte code, or U+FFFD where none is assigned.
char32_t FourByteCodePoint(const unsigned char* p)
{
    const std::uint32_t linear = (((p[0] - 0x81u) * 10 + (p[1] - 0x30u)) * 126 + (p[2] - 0x81u)) * 10 +
                                 (p[3] - 0x30u);
    if (linear >= kFirstSupplementary && linear - kFirstSupplementary <= 0x10FFFF - 0x10000)
        return 0x10000 + (linear - kFirstSupplementary);
    if (linear >= kBmpFourByteCodes)
        return kReplacementCharacter;
    const auto* it = std::upper_bound(std::begin(kGb18030FourByteRanges), std::end(kGb18030FourByteRanges), linear,
                                      [](std::uint32_t l, const Gb18030Range& r) { return l < r.linear; });
    if (it == std::begin(kGb18030FourByteRanges))
        return kReplacementCharacter;
    --it;
    if (linear - it->linear >= it->count)
        return kReplacementCharacter;
    return it->codePoint + (linear - it->linear);
}

// Bytes of the sequence at p[0] as this file reads it: 2 or 4 for a two- or four-byte code,
// 1 for anything else (ASCII, or an undecodable byte whatever follows it).
std::size_t SequenceLength(const unsigned char* p, std::size_t available)
{
    if (!IsLead(p[0]))
        return 1;
    if (available >= 2 && IsTrail(p[1]))
        return 2;
    if (available >= 4 && IsDigit(p[1]) && IsLead(p[2]) && IsDigit(p[3]))
        return 4;
    return 1;
}

// Decodes data and hands the code points to sink(const char32_t*, count) in order.
template <class Sink>
void DecodeGb18030To(const char* data, std::size_t size, Sink&& sink)
{
    thread_local std::vector<char32_t> scratch;
    scratch.resize(std::min(size, kRunBytes));
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    while (i < size) {
        const std::size_t limit = std::min(size, i + kRunBytes);
        std::size_t count = 0;
        i += DecodeGb18030Prefix(data + i, limit - i, scratch.data(), &count);
        sink(scratch.data(), count);
        if (i >= limit)
            continue;
        const std::size_t length = SequenceLength(p + i, size - i);
        if (length > 1 && i + length > limit)
            continue;  // a code cut off by the limit of this run begins the next one
        // What the platform does not decode is decided here: a four-byte code from the table;
        // an undecodable byte, or a code the platform lacks, becomes U+FFFD and whatever
        // follows is read afresh.
        const char32_t c = length == 4 ? FourByteCodePoint(p + i) : kReplacementCharacter;
        i += length;
        sink(&c, 1);
    }
}

} // namespace

std::size_t Gb18030TwoByteTextLength(const char* data, std::size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char b = p[i];
        if (b < 0x80)
            ++i;
        else if (i + 1 < size && IsLead(b) && IsTrail(p[i + 1]))
            i += 2;
        else
            break;
    }
    return i;
}

std::u16string DecodeGb18030(const char* data, std::size_t size)
{
    std::u16string out;
    out.reserve(size);
    DecodeGb18030To(data, size, [&out](const char32_t* text, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            AppendUtf16(out, text[i]);
    });
    return out;
}

void AppendGb18030AsUtf8(const char* data, std::size_t size, std::string& out)
{
    DecodeGb18030To(data, size, [&out](const char32_t* text, std::size_t count) {
        const std::size_t start = out.size();
        out.resize(start + count * 4);
        char* w = out.data() + start;
        for (std::size_t i = 0; i < count; ++i)
            w = PutUtf8(w, text[i]);
        out.resize(static_cast<std::size_t>(w - out.data()));
    });
}
