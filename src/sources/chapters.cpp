#include "sources/chapters.h"

#include "platform/utf16.h"
#include "platform/utf8_sequence.h"

#include <algorithm>
#include <cstdint>

namespace {

// A junk prefix before "第…章" is at most this long.
constexpr std::size_t kMaxPrefixChars = 10;
// More headings than this in a row, with nothing but blank lines between, are a table of
// contents.
constexpr std::size_t kMaxJoinedHeadings = 2;

bool IsSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x3000 || c == 0xA0 || c == 0xFEFF; }

bool Contains(std::u32string_view set, char32_t c) { return set.find(c) != std::u32string_view::npos; }

bool IsDigit(char32_t c) { return (c >= '0' && c <= '9') || (c >= U'０' && c <= U'９'); }

bool IsNumeral(char32_t c)
{
    return IsDigit(c) || Contains(U"零〇一二两三四五六七八九十百千万壹贰叁肆伍陆柒捌玖拾佰仟", c);
}

bool IsSeparator(char32_t c) { return IsSpace(c) || Contains(U"：:、.．-—", c); }

// A line ending in one of these goes on as a sentence: it is prose, not a heading.
bool EndsSentence(char32_t c) { return Contains(U"。！？…，、；：,;:", c); }

bool IsAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char32_t Lower(char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool StartsWithNoCase(std::u32string_view s, std::u32string_view word)
{
    if (s.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(s[i]) != word[i])
            return false;
    }
    return true;
}

std::u32string Decode(std::string_view bytes)
{
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence s = ReadUtf8Sequence(p + i, bytes.size() - i);
        out += s.status == Utf8Status::Valid ? s.codePoint : kReplacementCharacter;
        i += s.length;
    }
    return out;
}

std::string Encode(std::u32string_view text)
{
    std::string out;
    char buffer[4];
    for (char32_t c : text)
        out.append(buffer, PutUtf8(buffer, c));
    return out;
}

// True when the bytes hold nothing but spaces; stops at the first character that is not one.
bool IsBlank(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence s = ReadUtf8Sequence(p + i, bytes.size() - i);
        if (s.status != Utf8Status::Valid || !IsSpace(s.codePoint))
            return false;
        i += s.length;
    }
    return true;
}

std::u32string_view Trim(std::u32string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// After the key of a heading: the end of the line, or separators and a title.
bool EndsOrSeparates(std::u32string_view rest) { return rest.empty() || IsSeparator(rest.front()); }

// "第" + number + unit at the start of s: the length of that key, or 0.
std::size_t NumberedKey(std::u32string_view s, std::u32string_view units = U"章回节卷集部篇幕折话则")
{
    if (s.empty() || s[0] != U'第')
        return 0;
    std::size_t i = 1;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    const std::size_t number = i;
    while (i < s.size() && IsNumeral(s[i]))
        ++i;
    if (i == number)
        return 0;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return i < s.size() && Contains(units, s[i]) ? i + 1 : 0;
}

// 序, 序章, ... at the start of s, alone or with a separator after it.
bool IsFixedWordHeading(std::u32string_view s)
{
    static constexpr std::u32string_view kWords[] = {U"序章", U"序言", U"前言", U"楔子", U"引子", U"引言",
                                                    U"尾声", U"终章", U"后记", U"序"};
    for (std::u32string_view word : kWords) {
        if (s.starts_with(word))
            return EndsOrSeparates(s.substr(word.size()));
    }
    if (!s.starts_with(U"番外"))
        return false;
    std::size_t i = 2;
    while (i < s.size() && IsNumeral(s[i]))
        ++i;
    if (i < s.size() && s[i] == U'篇')
        ++i;
    return EndsOrSeparates(s.substr(i));
}

bool IsEnglishNumber(std::u32string_view word)
{
    if (word.empty())
        return false;
    if (std::all_of(word.begin(), word.end(), [](char32_t c) { return c >= '0' && c <= '9'; }))
        return true;
    if (std::all_of(word.begin(), word.end(), [](char32_t c) { return Contains(U"ivxlcdm", Lower(c)); }))
        return true;
    static constexpr std::u32string_view kNumbers[] = {
        U"one", U"two", U"three", U"four", U"five", U"six", U"seven", U"eight", U"nine", U"ten",
        U"eleven", U"twelve", U"thirteen", U"fourteen", U"fifteen", U"sixteen", U"seventeen",
        U"eighteen", U"nineteen", U"twenty", U"thirty", U"forty", U"fifty", U"sixty", U"seventy",
        U"eighty", U"ninety", U"hundred"};
    // "Twenty-One": every piece between hyphens a number word.
    for (std::size_t from = 0; from <= word.size();) {
        std::size_t to = word.find(U'-', from);
        if (to == std::u32string_view::npos)
            to = word.size();
        const std::u32string_view piece = word.substr(from, to - from);
        const bool known = std::any_of(std::begin(kNumbers), std::end(kNumbers), [&](std::u32string_view n) {
            return piece.size() == n.size() && StartsWithNoCase(piece, n);
        });
        if (!known)
            return false;
        from = to + 1;
    }
    return true;
}

bool IsEnglishHeading(std::u32string_view s)
{
    for (std::u32string_view word : {U"prologue", U"epilogue"}) {
        if (StartsWithNoCase(s, word))
            return EndsOrSeparates(s.substr(word.size()));
    }
    constexpr std::u32string_view kChapter = U"chapter";
    if (!StartsWithNoCase(s, kChapter) || s.size() == kChapter.size() || s[kChapter.size()] != ' ')
        return false;
    std::u32string_view rest = Trim(s.substr(kChapter.size()));
    std::size_t end = 0;
    while (end < rest.size() && (IsAsciiLetter(rest[end]) || (rest[end] >= '0' && rest[end] <= '9') || rest[end] == '-'))
        ++end;
    return IsEnglishNumber(rest.substr(0, end)) && EndsOrSeparates(rest.substr(end));
}

// A heading's key at the start of s.
bool StartsWithHeading(std::u32string_view s)
{
    return NumberedKey(s) != 0 || IsFixedWordHeading(s) || IsEnglishHeading(s);
}

// A prefix that belongs to the title: 正文, 卷 + number, or a volume heading of its own.
bool IsKnownPrefix(std::u32string_view prefix)
{
    prefix = Trim(prefix);
    if (prefix == U"正文")
        return true;
    if (prefix.starts_with(U"卷") && prefix.size() > 1 &&
        std::all_of(prefix.begin() + 1, prefix.end(), IsNumeral))
        return true;
    return NumberedKey(prefix) != 0;
}

// The three bytes of a character as one number, for comparing without decoding.
constexpr std::uint32_t Packed(const char (&c)[4])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(c[0])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c[1])) << 8 | static_cast<unsigned char>(c[2]);
}

std::uint32_t PackedAt(std::string_view s, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 | static_cast<unsigned char>(s[at + 2]);
}

enum class Look { blank, prose, maybeHeading };

// A cheap look at the bytes that refuses nearly every line of prose before it is decoded:
// too long, ending like a sentence, or with none of the characters a heading starts with.
Look LookAt(std::string_view line)
{
    static constexpr std::uint32_t kWideSpace = Packed("\u3000");
    static constexpr std::uint32_t kSentenceEnds[] = {Packed("。"), Packed("！"), Packed("？"), Packed("…"),
                                                      Packed("，"), Packed("、"), Packed("；"), Packed("：")};
    static constexpr std::uint32_t kLeads[] = {Packed("序"), Packed("前"), Packed("楔"), Packed("引"),
                                               Packed("尾"), Packed("终"), Packed("后"), Packed("番")};
    static constexpr std::string_view kNumbered = "第";
    std::size_t begin = 0, end = line.size();
    for (;;) {
        if (end > begin && (line[end - 1] == '\r' || line[end - 1] == ' ' || line[end - 1] == '\t'))
            --end;
        else if (end >= begin + 3 && PackedAt(line, end - 3) == kWideSpace)
            end -= 3;
        else
            break;
    }
    for (;;) {
        if (begin < end && (line[begin] == ' ' || line[begin] == '\t'))
            ++begin;
        else if (begin + 3 <= end && PackedAt(line, begin) == kWideSpace)
            begin += 3;
        else
            break;
    }
    if (begin == end)
        return Look::blank;
    if (end - begin > kMaxHeadingChars * 4)
        return Look::prose;
    const char last = line[end - 1];
    if (last == ',' || last == ';' || last == ':')
        return Look::prose;
    if (end >= begin + 3) {
        const std::uint32_t tail = PackedAt(line, end - 3);
        for (std::uint32_t e : kSentenceEnds) {
            if (tail == e)
                return Look::prose;
        }
    }
    if (IsAsciiLetter(static_cast<unsigned char>(line[begin])))
        return Look::maybeHeading;  // Chapter, Prologue, Epilogue
    if (begin + 3 <= end) {
        const std::uint32_t head = PackedAt(line, begin);
        for (std::uint32_t lead : kLeads) {
            if (head == lead)
                return Look::maybeHeading;
        }
    }
    // "第…" at the start or after a prefix of at most kMaxPrefixChars characters.
    const std::string_view start = line.substr(begin, std::min(end - begin, kMaxPrefixChars * 4 + kNumbered.size()));
    return start.find(kNumbered) != std::string_view::npos ? Look::maybeHeading : Look::prose;
}

// The title of a line LookAt found may be a heading, or nothing.
std::optional<std::string> HeadingTitle(std::string_view line)
{
    const std::u32string decoded = Decode(line);
    const std::u32string_view s = Trim(decoded);
    if (s.empty() || s.size() > kMaxHeadingChars || EndsSentence(s.back()))
        return std::nullopt;
    if (StartsWithHeading(s))
        return Encode(s);
    // A prefix before "第…": one that belongs to the title, or a short one set off by a space.
    const std::size_t at = s.find(U'第', 1);
    if (at == std::u32string_view::npos || at > kMaxPrefixChars || NumberedKey(s.substr(at)) == 0)
        return std::nullopt;
    const std::u32string_view prefix = s.substr(0, at);
    if (IsKnownPrefix(prefix))
        return Encode(s);
    if (IsSpace(prefix.back()) && std::none_of(prefix.begin(), prefix.end(), EndsSentence))
        return Encode(s.substr(at));
    return std::nullopt;
}

} // namespace

std::optional<std::string> ChapterHeading(std::string_view line)
{
    // Paragraphs are long and end like sentences: most lines are refused undecoded.
    if (LookAt(line) != Look::maybeHeading)
        return std::nullopt;
    return HeadingTitle(line);
}

std::vector<Chapter> FindChapters(const std::string& text, const std::string& sourceTitle)
{
    struct Heading {
        std::string title;
        std::size_t begin;
    };
    std::vector<Heading> headings;
    // Headings with only blank lines between them, and of those the last ones on lines
    // right after each other: such a block of three or more is a table of contents.
    std::vector<Heading> run;
    std::size_t block = 0;
    const auto endBlock = [&] {
        if (block > kMaxJoinedHeadings)
            run.resize(run.size() - block);
        block = 0;
    };
    const auto endRun = [&] {
        endBlock();
        if (run.size() <= kMaxJoinedHeadings && !run.empty()) {
            Heading joined = run.front();
            for (std::size_t i = 1; i < run.size(); ++i)
                joined.title += " " + run[i].title;
            headings.push_back(std::move(joined));
        }
        run.clear();  // a table of contents stays text
    };
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + begin, end - begin);
        const Look look = LookAt(line);
        std::optional<std::string> title;
        if (look == Look::maybeHeading && (title = HeadingTitle(line))) {
            run.push_back({std::move(*title), begin});
            ++block;
        } else if (look == Look::blank) {
            endBlock();
        } else {
            endRun();
        }
        begin = next;
    }
    endRun();
    if (headings.size() < 2)
        return {};

    std::vector<Chapter> chapters;
    const bool blankBefore = IsBlank(std::string_view(text.data(), headings.front().begin));
    if (!blankBefore)
        chapters.push_back({sourceTitle, 0, headings.front().begin});
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const std::size_t begin = i == 0 && blankBefore ? 0 : headings[i].begin;
        const std::size_t end = i + 1 < headings.size() ? headings[i + 1].begin : text.size();
        chapters.push_back({std::move(headings[i].title), begin, end});
    }
    return chapters;
}
