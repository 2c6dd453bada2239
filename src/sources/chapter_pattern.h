// The user's own chapter pattern: a regular expression (PCRE2 syntax, UTF-8) matched against
// each line without its end and the spaces around it; a line it matches is a heading, no
// other line is. PCRE2 because its matches run under limits: a pattern that backtracks
// without end on a long line stops at the limit instead of overflowing the stack (as
// std::regex does), and the library builds for both targets from one source package.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class ChapterPattern {
public:
    // The pattern compiled, or nothing with `error` saying what is wrong (in Chinese, with
    // the place in the pattern).
    static std::shared_ptr<const ChapterPattern> Compile(const std::string& pattern, std::string& error);
    ~ChapterPattern();

    const std::string& Text() const { return m_text; }

    enum class Match { no, yes, tooComplex };
    // Reentrant: matching state is per Matcher, one per thread or finder.
    class Matcher {
    public:
        explicit Matcher(const ChapterPattern& pattern);
        ~Matcher();
        Matcher(const Matcher&) = delete;
        Matcher& operator=(const Matcher&) = delete;
        // tooComplex: the match ran into the limit (backtracking without end).
        Match operator()(std::string_view line);

    private:
        const ChapterPattern& m_pattern;
        void* m_data;  // pcre2_match_data
    };

private:
    ChapterPattern() = default;
    std::string m_text;
    void* m_code = nullptr;     // pcre2_code
    void* m_context = nullptr;  // pcre2_match_context with the limits
};
