// Whether text without a byte-order mark that is not UTF-8 is GBK (GB18030) or Big5.
#pragma once

#include <cstddef>

struct GbkBig5Tally {
    std::size_t pairs = 0;      // multi-byte codes read, in either reading
    long long gbkScore = 0;     // common GB2312 characters, less 3 per undecodable or user-defined code
    long long big5Score = 0;    // common Big5 characters (level 1 and symbols), likewise
};

// Reads the bytes both ways and scores each reading: +1 for every character of the
// encoding's common set (GB2312's level 1 and punctuation; Big5's level 1 and symbols), 0
// for any other character, -3 for a code that decodes to nothing or to a user-defined
// (private-use) character. A text in one encoding read as the other either breaks (Big5
// trail bytes 40-7E are rare GBK extensions or user-defined codes; GBK's four-byte codes
// and trail bytes 80-A0 are no Big5) or lands outside the common set about half the time,
// so the right reading leads by a third or more of the characters. Stops after kSamplePairs
// codes of each: the ASCII before them costs next to nothing.
GbkBig5Tally TallyGbkBig5(const char* data, std::size_t size);

inline constexpr std::size_t kSamplePairs = 2048;

// True when Big5 scores higher; GBK wins ties, as a text with no Chinese at all is read as
// before.
bool IsBig5(const char* data, std::size_t size);
