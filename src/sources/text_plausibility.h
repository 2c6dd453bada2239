// Whether decoded text reads as text or as the nonsense a wrong encoding makes of it.
#pragma once

#include "sources/encoding_detect.h"

#include <cstddef>
#include <string_view>

struct PlausibilityTally {
    std::size_t counted = 0;  // characters besides printable ASCII, spaces and line breaks
    std::size_t bad = 0;      // U+FFFD, private-use, controls, noncharacters
    std::size_t rare = 0;     // ideographs outside GB2312 and Big5, and other scripts' rarities
};

// Counts the characters of well-formed UTF-8.
PlausibilityTally TallyPlausibility(std::string_view utf8);

// Implausible: at least kPlausibilityMinimum counted characters, of which more than one in
// twenty are bad or more than one in four are bad or rare. Chinese text in the encoding it
// was written in stays far below either line: GB2312 and Big5 hold every character in
// common use, in simplified and traditional form.
bool IsImplausible(const PlausibilityTally& tally);

inline constexpr std::size_t kPlausibilityMinimum = 8;

// Whether the bytes of a text, decoded in the encoding detected for them, read as nonsense
// anywhere: at its start, or in samples spread along the rest, where a file joined from two
// encodings (a UTF-8 preface before a GBK body, Big5 then GBK) shows a part in the other
// one; or as a whole Japanese or Korean text (IsOtherEucText).
bool ReadsAsNonsense(std::string_view bytes, TextEncoding encoding);

// Bytes of a text that are looked at: its start, and seven samples spread along the rest.
inline constexpr std::size_t kPlausibilitySample = 4 * 1024;
inline constexpr std::size_t kPlausibilitySamplesAlong = 7;
inline constexpr std::size_t kPlausibilitySampleAlong = 2 * 1024;

// True for bytes that are Japanese (EUC-JP) or Korean (EUC-KR) text, which GBK and Big5
// read as common Chinese characters without a sign of nonsense. Both code every character
// in two bytes from 0xA1 up, never with a second byte below 0x7F as Big5 does in a third of
// its characters; EUC-JP's kana (rows 0xA4, 0xA5) are a large share of Japanese text and
// rare in Chinese, and EUC-KR's Hangul fills rows 0xB0 to 0xC8 alone, with a space between
// words, where Chinese text in GB2312 has many of its characters beyond 0xC8 and no spaces.
bool IsOtherEucText(std::string_view bytes);
