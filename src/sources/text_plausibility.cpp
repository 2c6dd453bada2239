#include "sources/text_plausibility.h"

#include "platform/ascii.h"
#include "platform/text_encoding.h"
#include "platform/utf8_sequence.h"
#include "sources/big5_decode.h"
#include "sources/gbk_or_big5.h"
#include "sources/text_import.h"

#include <algorithm>
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

bool IsOtherEucText(std::string_view bytes)
{
    // Two-byte characters over the first 64 KiB: how many in all, with a second byte below
    // 0xA1, in the kana rows, and in the Hangul rows.
    std::size_t pairs = 0, lowTrail = 0, kana = 0, hangul = 0, spaces = 0;
    const std::size_t end = std::min<std::size_t>(bytes.size(), 64 * 1024);
    for (std::size_t i = 0; i + 1 < end;) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x81) {
            spaces += lead == ' ';
            ++i;
            continue;
        }
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        ++pairs;
        if (trail < 0xA1)
            ++lowTrail;
        else if ((lead == 0xA4 && trail <= 0xF3) || (lead == 0xA5 && trail <= 0xF6))
            ++kana;
        else if (lead >= 0xB0 && lead <= 0xC8)
            ++hangul;
        i += 2;
    }
    if (pairs < 64 || lowTrail * 100 > pairs)
        return false;
    // Korean puts a space between words, every three or four syllables; Chinese hardly ever.
    return kana * 5 > pairs || (hangul * 10 > pairs * 9 && spaces * 8 > pairs);
}

namespace {

// The first character boundary at or after `at` that a decoder can start from: for UTF-16
// and UTF-32 a whole unit; for UTF-8 a byte that starts a character; for GBK and Big5 the
// byte after one below 0x30, which no byte of a two- or four-byte character is.
std::size_t BoundaryAt(std::string_view bytes, std::size_t at, TextEncoding encoding)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    switch (encoding) {
    case EncodingUtf16Le:
    case EncodingUtf16Be: return at + (at & 1);
    case EncodingUtf32Le:
    case EncodingUtf32Be: return (at + 3) & ~std::size_t {3};
    case EncodingUtf8:
        while (at < bytes.size() && (byte(at) & 0xC0) == 0x80)
            ++at;
        return at;
    case EncodingAnsi:
    case EncodingBig5: break;
    }
    while (at < bytes.size() && byte(at) >= 0x30)
        ++at;
    return at + 1;
}

// The tally of bytes[from, from + size) decoded; a character the end cuts off is not counted.
PlausibilityTally TallyOf(std::string_view bytes, std::size_t from, std::size_t size, TextEncoding encoding)
{
    size = std::min(size, bytes.size() - from);
    std::string sample = DecodeText(bytes.data() + from, size, encoding);
    if (from + size < bytes.size()) {
        while (!sample.empty() && (static_cast<unsigned char>(sample.back()) & 0xC0) == 0x80)
            sample.pop_back();
        if (!sample.empty())
            sample.pop_back();
    }
    return TallyPlausibility(sample);
}

// Whether a sample of a text read in encoding is in another encoding: valid UTF-8 in a text
// read as GBK or Big5; the other of the two reading clearly better (the right reading leads
// by a third of the codes or more); or many broken sequences in a text read as UTF-8.
bool SampleInAnotherEncoding(std::string_view sample, TextEncoding encoding)
{
    const auto* p = reinterpret_cast<const unsigned char*>(sample.data());
    std::size_t valid = 0, bad = 0;
    for (std::size_t i = 0; (i = SkipAscii(p, i, sample.size())) < sample.size();) {
        const Utf8Sequence s = ReadUtf8Sequence(p + i, sample.size() - i);
        if (s.status == Utf8Status::Truncated)
            break;
        i += s.length;
        ++(s.status == Utf8Status::Valid ? valid : bad);
    }
    if (encoding == EncodingUtf8)
        return bad >= 16 && bad * 4 >= valid + bad;
    if (encoding != EncodingAnsi && encoding != EncodingBig5)
        return false;
    if (valid >= 32 && bad == 0)
        return true;
    const GbkBig5Tally tally = TallyGbkBig5(sample.data(), sample.size());
    const long long chosen = encoding == EncodingBig5 ? tally.big5Score : tally.gbkScore;
    const long long other = encoding == EncodingBig5 ? tally.gbkScore : tally.big5Score;
    return tally.pairs >= 64 && (other - chosen) * 4 >= static_cast<long long>(tally.pairs);
}

} // namespace

bool ReadsAsNonsense(std::string_view bytes, TextEncoding encoding)
{
    PlausibilityTally whole = TallyOf(bytes, 0, kPlausibilitySample, encoding);
    bool mixed = SampleInAnotherEncoding(bytes.substr(0, kPlausibilitySample), encoding);
    if (bytes.size() > 2 * kPlausibilitySample) {
        const std::size_t rest = bytes.size() - kPlausibilitySample;
        for (std::size_t k = 1; k <= kPlausibilitySamplesAlong && !mixed; ++k) {
            const std::size_t at = BoundaryAt(bytes, kPlausibilitySample + rest * k / (kPlausibilitySamplesAlong + 1) -
                                                         kPlausibilitySampleAlong / 2,
                                              encoding);
            if (at >= bytes.size())
                continue;
            const PlausibilityTally tally = TallyOf(bytes, at, kPlausibilitySampleAlong, encoding);
            whole.counted += tally.counted;
            whole.bad += tally.bad;
            whole.rare += tally.rare;
            mixed = SampleInAnotherEncoding(bytes.substr(at, kPlausibilitySampleAlong), encoding);
        }
    }
    return mixed || IsImplausible(whole) ||
           ((encoding == EncodingAnsi || encoding == EncodingBig5) && IsOtherEucText(bytes));
}

