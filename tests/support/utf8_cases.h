// Byte strings and what strict UTF-8 makes of them. Every user of the one sequence reader
// (conversion to UTF-16, the validity test, the text decoder) is tested against this table,
// so they cannot drift apart again.
#pragma once

#include <string>
#include <vector>

namespace test {

struct Utf8Case {
    const char* what;
    std::string bytes;
    std::u16string decoded;  // each ill-formed sequence is one U+FFFD; valid when there is none
};

inline const std::vector<Utf8Case>& Utf8Cases()
{
    static const std::vector<Utf8Case> cases = {
        {"ASCII", "abc", u"abc"},
        {"two, three and four bytes", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x93\x96", u"\u00E9\u4E2D\U0001F4D6"},
        {"the highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"the last code point before the surrogates", "\xED\x9F\xBF", u"\uD7FF"},
        {"a byte that never starts a sequence", "a\xFF" "b", u"a\uFFFDb"},
        {"a continuation byte alone", "a\x80", u"a\uFFFD"},
        {"an overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"an overlong three-byte NUL", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"a lead byte beyond F4", "\xF5\x80", u"\uFFFD\uFFFD"},
        {"cut off at the end", "\xE4\xB8", u"\uFFFD"},
        {"cut off by the next character", "\xE4\xB8" "a", u"\uFFFDa"},
        {"a four-byte start cut off by the next character", "\xF0\x9F\x93" "x", u"\uFFFDx"},
    };
    return cases;
}

} // namespace test
