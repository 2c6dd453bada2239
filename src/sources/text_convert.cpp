#include "sources/text_convert.h"

#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

#include "conversion_dicts.inc"

// Bytes of the UTF-8 sequence that starts with b.
std::size_t SequenceLength(unsigned char b) { return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4; }

char32_t FirstCodePoint(std::string_view s)
{
    const auto b = static_cast<unsigned char>(s[0]);
    const std::size_t n = std::min(SequenceLength(b), s.size());
    char32_t c = n == 1 ? b : b & (0xFF >> (n + 1));
    for (std::size_t i = 1; i < n; ++i)
        c = c << 6 | (static_cast<unsigned char>(s[i]) & 0x3F);
    return c;
}

// One of OpenCC's dictionaries: keys and the value each converts to, with the length of
// the longest key that begins with each character, so that most characters cost one
// look-up in an array.
class Dictionary {
public:
    // lines: "key<TAB>value\n" each, held for the life of the process.
    explicit Dictionary(std::string_view lines)
    {
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t tab = lines.find('\t', at);
            const std::size_t end = lines.find('\n', tab);
            const std::string_view key = lines.substr(at, tab - at);
            m_entries.emplace(key, lines.substr(tab + 1, end - tab - 1));
            std::size_t& longest = LongestFor(FirstCodePoint(key));
            longest = std::max(longest, key.size());
            at = end + 1;
        }
    }

    // The longest key that text starts with: its length in bytes and its value; 0 for none.
    std::size_t Match(std::string_view text, std::string_view& value) const
    {
        const std::size_t longest = std::min(LongestFor(FirstCodePoint(text)), text.size());
        if (longest == 0)
            return 0;
        // The ends of the characters within reach, tried from the farthest.
        std::array<std::size_t, 64> ends {};
        std::size_t count = 0;
        for (std::size_t at = 0; at < longest && count < ends.size();) {
            at += SequenceLength(static_cast<unsigned char>(text[at]));
            if (at <= longest)
                ends[count++] = at;
        }
        while (count > 0) {
            const std::size_t length = ends[--count];
            const auto it = m_entries.find(text.substr(0, length));
            if (it != m_entries.end()) {
                value = it->second;
                return length;
            }
        }
        return 0;
    }

private:
    std::size_t& LongestFor(char32_t c)
    {
        return c < m_bmp.size() ? m_bmp[c] : m_beyond[c];
    }
    std::size_t LongestFor(char32_t c) const
    {
        if (c < m_bmp.size())
            return m_bmp[c];
        const auto it = m_beyond.find(c);
        return it == m_beyond.end() ? 0 : it->second;
    }

    std::unordered_map<std::string_view, std::string_view> m_entries;
    std::vector<std::size_t> m_bmp = std::vector<std::size_t>(0x10000, 0);
    std::unordered_map<char32_t, std::size_t> m_beyond;
};

// OpenCC's "mmseg" segmentation by the phrases, then its group of phrases and characters:
// at every place the longest phrase, else the character's conversion, else the character.
class CPhraseConverter : public CTextConverter {
public:
    CPhraseConverter(std::string_view phrases, std::string_view characters)
        : m_phrases(phrases), m_characters(characters)
    {
    }

    std::size_t ConvertUntil(std::string_view text, std::size_t limit, std::string& out) const override
    {
        out.reserve(out.size() + text.size() + text.size() / 8);
        std::string_view value;
        std::size_t at = 0;
        while (at < text.size() && at < limit) {
            const std::string_view rest = text.substr(at);
            std::size_t length = m_phrases.Match(rest, value);
            if (length == 0)
                length = m_characters.Match(rest, value);
            if (length == 0) {
                length = std::min(SequenceLength(static_cast<unsigned char>(rest[0])), rest.size());
                value = rest.substr(0, length);
            }
            out += value;
            at += length;
        }
        return at;
    }

private:
    Dictionary m_phrases;
    Dictionary m_characters;
};

} // namespace

const char* ConversionName(TextConversion conversion)
{
    switch (conversion) {
    case TextConversion::none: return "none";
    case TextConversion::t2s: return "t2s";
    case TextConversion::s2t: return "s2t";
    }
    return "none";
}

bool ParseConversionName(const std::string& name, TextConversion& conversion)
{
    for (const TextConversion c : {TextConversion::none, TextConversion::t2s, TextConversion::s2t}) {
        if (name == ConversionName(c)) {
            conversion = c;
            return true;
        }
    }
    return false;
}

const CTextConverter& Converter(TextConversion conversion)
{
    static std::once_flag loadedT2s, loadedS2t;
    static std::unique_ptr<CTextConverter> t2s, s2t;
    if (conversion == TextConversion::s2t) {
        std::call_once(loadedS2t, [] { s2t = std::make_unique<CPhraseConverter>(kSTPhrases, kSTCharacters); });
        return *s2t;
    }
    std::call_once(loadedT2s, [] { t2s = std::make_unique<CPhraseConverter>(kTSPhrases, kTSCharacters); });
    return *t2s;
}
