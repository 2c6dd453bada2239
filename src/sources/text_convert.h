// 繁简 conversion of decoded text, by OpenCC's dictionaries and its method: the text is cut
// into the longest phrases its phrase dictionary holds, from the left; each phrase becomes
// the phrase it converts to, and every other character the character it converts to (计算机
// ↔ 計算機 is no conversion of characters; 头发 → 頭髮 and 发现 → 發現 are). The
// dictionaries are built into the program, the same in every build, so every build converts
// alike; tests hold the result to OpenCC's own library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class TextConversion : std::uint8_t {
    none = 0,
    t2s = 1,  // 繁体 to 简体 (OpenCC's t2s)
    s2t = 2,  // 简体 to 繁体 (OpenCC's s2t)
};

// "none", "t2s", "s2t": the command line's names, and how the window stores the choice.
const char* ConversionName(TextConversion conversion);
// False, leaving conversion as it was, for any other name.
bool ParseConversionName(const std::string& name, TextConversion& conversion);

// A loaded conversion. Convert may be called from several threads at once.
class CTextConverter {
public:
    virtual ~CTextConverter() = default;
    // Well-formed UTF-8 in, its conversion out; what the dictionaries do not name is kept.
    std::string Convert(std::string_view text) const
    {
        std::string out;
        ConvertUntil(text, text.size(), out);
        return out;
    }
    // Converts text from the left while the place reached is before limit, appending to
    // out; returns the place reached (limit or past it, at the end of a phrase). A phrase is
    // never longer than kPhraseReachBytes: text converted up to its size less that much
    // converts as it would within a longer text.
    virtual std::size_t ConvertUntil(std::string_view text, std::size_t limit, std::string& out) const = 0;
};

// The most bytes of text a conversion looks at from one place: 64 characters.
inline constexpr std::size_t kPhraseReachBytes = 64 * 4;

// The converter of t2s or s2t, its dictionaries read at the first call (about 20 ms for
// s2t's 50000 phrases) and kept for the life of the process.
const CTextConverter& Converter(TextConversion conversion);
