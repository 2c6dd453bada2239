// Whether decoded text reads as text or as the nonsense a wrong encoding makes of it.
#pragma once

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

// UTF-8 bytes of decoded text that are looked at: the start of the text.
inline constexpr std::size_t kPlausibilitySample = 4 * 1024;
