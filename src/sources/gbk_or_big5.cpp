#include "sources/gbk_or_big5.h"

#include "platform/ascii.h"
#include "sources/big5_decode.h"

namespace {

enum Kind { common, other, bad };

constexpr int kBadWeight = 3;

bool In(unsigned v, unsigned low, unsigned high) { return v >= low && v <= high; }

// A GBK two-byte code (lead 81-FE, trail 40-7E or 80-FE).
Kind GbkKind(unsigned lead, unsigned trail)
{
    if (trail >= 0xA1) {
        if (lead == 0xA1 || lead == 0xA3 || (In(lead, 0xB0, 0xD6) || (lead == 0xD7 && trail <= 0xF9)))
            return common;  // punctuation, full-width forms, level 1 characters
        if (In(lead, 0xAA, 0xAF) || lead >= 0xF8)
            return bad;  // user-defined areas
        return other;
    }
    if (In(lead, 0xA1, 0xA7))
        return bad;  // user-defined area A140-A7A0
    return other;  // GBK's extension characters
}

Kind Big5Kind(unsigned lead, unsigned trail)
{
    const int pointer = Big5Pointer(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
    const char32_t c = Big5CodePoint(pointer);
    if (c == 0 || In(c, 0xE000, 0xF8FF))
        return bad;
    const unsigned code = lead << 8 | trail;
    if (In(code, 0xA140, 0xA3BF) || In(code, 0xA440, 0xC67E))
        return common;
    return other;
}

long long Weight(Kind k) { return k == common ? 1 : k == bad ? -kBadWeight : 0; }

} // namespace

GbkBig5Tally TallyGbkBig5(const char* data, std::size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    GbkBig5Tally tally;
    // GBK reading.
    std::size_t pairs = 0;
    for (std::size_t i = SkipAscii(p, 0, size); i < size && pairs < kSamplePairs; i = SkipAscii(p, i, size)) {
        const unsigned lead = p[i];
        ++pairs;
        if (i + 1 < size && In(lead, 0x81, 0xFE) && In(p[i + 1], 0x40, 0xFE) && p[i + 1] != 0x7F) {
            tally.gbkScore += Weight(GbkKind(lead, p[i + 1]));
            i += 2;
        } else if (i + 3 < size && In(lead, 0x81, 0xFE) && In(p[i + 1], 0x30, 0x39) && In(p[i + 2], 0x81, 0xFE) &&
                   In(p[i + 3], 0x30, 0x39)) {
            i += 4;  // a four-byte code: no common character, not wrong either
        } else {
            tally.gbkScore -= kBadWeight;
            ++i;
        }
    }
    tally.pairs = pairs;
    // Big5 reading: an undecodable pair whose second byte is ASCII gives that byte back.
    pairs = 0;
    for (std::size_t i = SkipAscii(p, 0, size); i < size && pairs < kSamplePairs; i = SkipAscii(p, i, size)) {
        const unsigned lead = p[i];
        ++pairs;
        if (i + 1 < size && In(lead, 0x81, 0xFE) && Big5Pointer(p[i], p[i + 1]) >= 0) {
            tally.big5Score += Weight(Big5Kind(lead, p[i + 1]));
            i += 2;
        } else {
            tally.big5Score -= kBadWeight;
            ++i;
        }
    }
    tally.pairs = tally.pairs > pairs ? tally.pairs : pairs;
    return tally;
}

bool IsBig5(const char* data, std::size_t size)
{
    const GbkBig5Tally tally = TallyGbkBig5(data, size);
    return tally.big5Score > tally.gbkScore;
}
