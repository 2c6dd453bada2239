#include "sources/chapter_pattern.h"

#include <pcre2.h>

namespace {

// Steps of the matcher per line at most, and its backtracking depth: a heading matches in a
// few hundred; this stops a runaway match within about a millisecond.
constexpr std::uint32_t kMatchLimit = 100000;
constexpr std::uint32_t kDepthLimit = 1000;
constexpr std::uint32_t kHeapLimitKib = 4096;

} // namespace

std::shared_ptr<const ChapterPattern> ChapterPattern::Compile(const std::string& pattern, std::string& error)
{
    if (pattern.empty()) {
        error = "章节规则是空的";
        return nullptr;
    }
    int code = 0;
    PCRE2_SIZE offset = 0;
    // UTF: the lines are UTF-8 and a character class holds Chinese characters; a line that is
    // not valid UTF-8 matches nothing instead of failing.
    pcre2_code* compiled = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                         PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &code, &offset, nullptr);
    if (!compiled) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(code, message, sizeof message);
        // The offset counts bytes; the user counts characters.
        std::size_t characters = 0;
        for (std::size_t i = 0; i < offset && i < pattern.size(); ++i)
            characters += (static_cast<unsigned char>(pattern[i]) & 0xC0) != 0x80;
        error = "第 " + std::to_string(characters + 1) + " 个字符处：" + reinterpret_cast<const char*>(message);
        return nullptr;
    }
    std::shared_ptr<ChapterPattern> result(new ChapterPattern);
    result->m_text = pattern;
    result->m_code = compiled;
    pcre2_match_context* context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(context, kMatchLimit);
    pcre2_set_depth_limit(context, kDepthLimit);
    pcre2_set_heap_limit(context, kHeapLimitKib);
    result->m_context = context;
    return result;
}

ChapterPattern::~ChapterPattern()
{
    pcre2_match_context_free(static_cast<pcre2_match_context*>(m_context));
    pcre2_code_free(static_cast<pcre2_code*>(m_code));
}

ChapterPattern::Matcher::Matcher(const ChapterPattern& pattern)
    : m_pattern(pattern),
      m_data(pcre2_match_data_create_from_pattern(static_cast<const pcre2_code*>(pattern.m_code), nullptr))
{
    if (!m_data)
        throw std::bad_alloc();
}

ChapterPattern::Matcher::~Matcher() { pcre2_match_data_free(static_cast<pcre2_match_data*>(m_data)); }

ChapterPattern::Match ChapterPattern::Matcher::operator()(std::string_view line)
{
    const int rc = pcre2_match(static_cast<const pcre2_code*>(m_pattern.m_code), reinterpret_cast<PCRE2_SPTR>(line.data()),
                               line.size(), 0, 0, static_cast<pcre2_match_data*>(m_data),
                               static_cast<pcre2_match_context*>(m_pattern.m_context));
    if (rc >= 0)
        return Match::yes;
    if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT)
        return Match::tooComplex;
    return Match::no;
}
