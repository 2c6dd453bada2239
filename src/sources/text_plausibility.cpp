#include "sources/text_plausibility.h"

#include "platform/text_encoding.h"
#include "platform/utf8_sequence.h"
#include "sources/big5_decode.h"

#include <bitset>
#include <string>

namespace {

constexpr char32_t kFirstIdeograph = 0x4E00;
constexpr char32_t kLastIdeograph = 0x9FFF;
using IdeographSet = std::bitset<kLastIdeograph - kFirstIdeograph + 1>;

void Add(IdeographSet& set, char32_t c)
{
    if (c >= kFirstIdeograph && c <= kLastIdeograph)
        set.set(c - kFirstIdeograph);
}

// The ideographs of GB2312 (levels 1 and 2) and of Big5 (levels 1 and 2): the characters
// of common use in simplified and in traditional Chinese.
IdeographSet MakeCommonIdeographs()
{
    IdeographSet set;
    std::string gb2312;
    for (unsigned lead = 0xB0; lead <= 0xF7; ++lead) {
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            gb2312 += static_cast<char>(lead);
            gb2312 += static_cast<char>(trail);
        }
    }
    std::string utf8;
    AppendGb18030AsUtf8(gb2312.data(), gb2312.size(), utf8);
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Sequence s = ReadUtf8Sequence(reinterpret_cast<const unsigned char*>(utf8.data()) + i, utf8.size() - i);
        Add(set, s.codePoint);
        i += s.length;
    }
    for (int pointer = Big5Pointer(0xA4, 0x40); pointer <= Big5Pointer(0xF9, 0xD5); ++pointer)
        Add(set, Big5CodePoint(pointer));
    return set;
}

const IdeographSet& CommonIdeographs()
{
    static const IdeographSet set = MakeCommonIdeographs();
    return set;
}

bool IsBad(char32_t c)
{
    return c == 0xFFFD || (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') ||
           (c >= 0x7F && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000 ||
           (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// Characters that a wrong reading of Chinese bytes makes and Chinese text hardly holds:
// ideographs outside the common set, the extension blocks, compatibility ideographs,
// Yi syllables, and stray combining marks and box-drawing halves.
bool IsRare(char32_t c, const IdeographSet& common)
{
    if (c >= kFirstIdeograph && c <= kLastIdeograph)
        return !common.test(c - kFirstIdeograph);
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x20000 && c <= 0x3FFFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xA000 && c <= 0xA4CF) || (c >= 0x0300 && c <= 0x036F);
}

} // namespace

PlausibilityTally TallyPlausibility(std::string_view utf8)
{
    const IdeographSet& common = CommonIdeographs();
    PlausibilityTally tally;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char b = p[i];
        if (b >= 0x20 && b < 0x7F) {
            ++i;
            continue;
        }
        const Utf8Sequence s = ReadUtf8Sequence(p + i, utf8.size() - i);
        i += s.length;
        if (s.status == Utf8Status::Truncated)
            break;  // a character the end of the sample cut off
        const char32_t c = s.status == Utf8Status::Valid ? s.codePoint : kReplacementCharacter;
        if (c == '\n' || c == '\r' || c == '\t')
            continue;
        ++tally.counted;
        if (IsBad(c))
            ++tally.bad;
        else if (IsRare(c, common))
            ++tally.rare;
    }
    return tally;
}

bool IsImplausible(const PlausibilityTally& tally)
{
    if (tally.counted < kPlausibilityMinimum)
        return false;
    return tally.bad * 20 > tally.counted || (tally.bad + tally.rare) * 4 > tally.counted;
}
