#include "sources/chapter_rules.h"

#include "platform/ascii.h"
#include "platform/utf16.h"

#include <algorithm>
#include <array>

namespace {

// A prefix before "第…" (正文, 卷一, a site's note set off by a space) is at most this long.
constexpr std::size_t kMaxPrefixChars = 10;

bool Contains(std::u32string_view set, char32_t c) { return set.find(c) != std::u32string_view::npos; }

bool IsDigit(char32_t c) { return (c >= '0' && c <= '9') || (c >= U'０' && c <= U'９'); }



// ‧ (U+2027) and ・ separate a volume from its title in old texts: "卷二‧考城隍".
bool IsSeparator(char32_t c) { return IsHeadingSpace(c) || Contains(U"：:、.．-—·‧・|｜", c); }

// Marks that end a title but would end a sentence too: allowed after a separated title only.
bool EndsQuestionOrExclamation(char32_t c)
{
    switch (c) {
    case U'！': case U'？': case '!': case '?': case U'…': return true;
    default: return false;
    }
}

// Inside a title joined to its key these show running text.
bool IsSentenceMark(char32_t c)
{
    switch (c) {
    case U'“': case U'”': case U'「': case U'」': return true;
    default: return EndsSentence(c) || EndsQuestionOrExclamation(c);
    }
}

bool IsLetterOrIdeograph(char32_t c)
{
    return IsAsciiLetter(c) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000 ||
           (c >= 0xC0 && c <= 0x24F);
}

bool StartsWithNoCase(std::u32string_view s, std::u32string_view word)
{
    if (s.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (AsciiLower(s[i]) != word[i])
            return false;
    }
    return true;
}

std::string Encode(std::u32string_view text)
{
    std::string out;
    char buffer[4];
    for (char32_t c : text)
        out.append(buffer, PutUtf8(buffer, c));
    return out;
}

std::u32string_view Trim(std::u32string_view s)
{
    while (!s.empty() && IsHeadingSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsHeadingSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// After the key of a heading: the end of the line, or separators and a title.
bool EndsOrSeparates(std::u32string_view rest) { return rest.empty() || IsSeparator(rest.front()); }

constexpr std::u32string_view kChapterUnits = U"章回节话幕折则篇";
constexpr std::u32string_view kVolumeUnits = U"卷部集册季";

struct Key {
    std::size_t length = 0;  // 0: none
    char32_t unit = 0;
    std::int64_t number = -1;
};

// "第" + number + unit at the start of s.
Key NumberedKey(std::u32string_view s)
{
    Key key;
    if (s.empty() || s[0] != U'第')
        return key;
    std::size_t i = 1;
    while (i < s.size() && IsHeadingSpace(s[i]))
        ++i;
    const std::size_t number = i;
    while (i < s.size() && IsNumeral(s[i]))
        ++i;
    const std::size_t numberEnd = i;
    if (i == number)
        return key;
    while (i < s.size() && IsHeadingSpace(s[i]))
        ++i;
    if (i >= s.size() || !(Contains(kChapterUnits, s[i]) || Contains(kVolumeUnits, s[i])))
        return key;
    key.length = i + 1;
    key.unit = s[i];
    key.number = NumberValue(s.substr(number, numberEnd - number));
    return key;
}

// 序, 序章, ... at the start of s (a space may stand inside the word: "尾 声"), with a
// number after 番外; alone or with a separator after it. The length of the word, or 0.
std::size_t SpecialWord(std::u32string_view s)
{
    static constexpr std::u32string_view kWords[] = {U"序章", U"序言", U"序幕", U"前言", U"楔子", U"引子", U"引言",
                                                    U"尾声", U"终章", U"后记", U"番外", U"序"};
    for (std::u32string_view word : kWords) {
        std::size_t i = 0, k = 0;
        while (k < word.size() && i < s.size()) {
            if (s[i] == word[k]) {
                ++i;
                ++k;
            } else if (k > 0 && IsHeadingSpace(s[i]) && i + 1 < s.size() && s[i + 1] == word[k]) {
                ++i;  // "尾 声"
            } else {
                break;
            }
        }
        if (k < word.size())
            continue;
        if (word == U"番外") {
            while (i < s.size() && IsNumeral(s[i]))
                ++i;
            if (i < s.size() && s[i] == U'篇')
                ++i;
        }
        return EndsOrSeparates(s.substr(i)) ? i : 0;
    }
    return 0;
}

std::int64_t RomanValue(std::u32string_view word)
{
    std::int64_t total = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto value = [](char32_t c) -> std::int64_t {
            switch (AsciiLower(c)) {
            case 'i': return 1;
            case 'v': return 5;
            case 'x': return 10;
            case 'l': return 50;
            case 'c': return 100;
            case 'd': return 500;
            case 'm': return 1000;
            default: return -1;
            }
        };
        const std::int64_t v = value(word[i]);
        if (v < 0)
            return -1;
        const std::int64_t next = i + 1 < word.size() ? value(word[i + 1]) : 0;
        total += next > v ? -v : v;
    }
    return total > 0 ? total : -1;
}

// "12", "XII", "Twelve", "Twenty-One": the value, or -1.
std::int64_t EnglishNumberValue(std::u32string_view word)
{
    if (word.empty())
        return -1;
    if (std::all_of(word.begin(), word.end(), [](char32_t c) { return c >= '0' && c <= '9'; }))
        return word.size() <= 9 ? NumberValue(word) : -1;
    if (const std::int64_t roman = RomanValue(word); roman > 0)
        return roman;
    static constexpr std::u32string_view kNumbers[] = {
        U"one", U"two", U"three", U"four", U"five", U"six", U"seven", U"eight", U"nine", U"ten",
        U"eleven", U"twelve", U"thirteen", U"fourteen", U"fifteen", U"sixteen", U"seventeen",
        U"eighteen", U"nineteen", U"twenty", U"thirty", U"forty", U"fifty", U"sixty", U"seventy",
        U"eighty", U"ninety", U"hundred"};
    static constexpr int kValues[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                      20, 30, 40, 50, 60, 70, 80, 90, 100};
    std::int64_t total = 0;
    for (std::size_t from = 0; from <= word.size();) {
        std::size_t to = word.find(U'-', from);
        if (to == std::u32string_view::npos)
            to = word.size();
        const std::u32string_view piece = word.substr(from, to - from);
        std::int64_t value = -1;
        for (std::size_t n = 0; n < std::size(kNumbers); ++n) {
            if (piece.size() == kNumbers[n].size() && StartsWithNoCase(piece, kNumbers[n]))
                value = kValues[n];
        }
        if (value < 0)
            return -1;
        total = value == 100 ? std::max<std::int64_t>(total, 1) * 100 : total + value;
        from = to + 1;
    }
    return total;
}

// A word of letters, digits and hyphens at the start of s.
std::size_t WordLength(std::u32string_view s)
{
    std::size_t end = 0;
    while (end < s.size() && (IsAsciiLetter(s[end]) || (s[end] >= '0' && s[end] <= '9') || s[end] == '-'))
        ++end;
    return end;
}

// Chapter 7, CHAPTER XII. Title, Prologue, Part 2, part1 标题: the heading, or kind none.
HeadingLine EnglishHeading(std::u32string_view s)
{
    HeadingLine h;
    for (std::u32string_view word : {U"prologue", U"epilogue", U"preface", U"introduction"}) {
        if (StartsWithNoCase(s, word) && EndsOrSeparates(s.substr(word.size()))) {
            h.kind = HeadingKind::special;
            h.title = Encode(s);
            return h;
        }
    }
    // Part, Book, Volume, Letter, Section + number count as numbers without 第: headings
    // where the book runs them in sequence ("Letter 1" to "Letter 4" before "Chapter 1").
    for (std::u32string_view word : {U"chapter", U"part", U"book", U"volume", U"letter", U"section"}) {
        if (!StartsWithNoCase(s, word))
            continue;
        std::u32string_view rest = s.substr(word.size());
        const bool spaced = !rest.empty() && IsHeadingSpace(rest.front());
        rest = Trim(rest);
        const std::size_t length = WordLength(rest);
        const std::int64_t number = EnglishNumberValue(rest.substr(0, length));
        // "Chapter 7", "Letter 2", "part1": a number right after the word or after a space.
        if (number < 0 || (!spaced && !(rest[0] >= '0' && rest[0] <= '9')) || !EndsOrSeparates(rest.substr(length)))
            continue;
        h.kind = word == U"chapter" ? HeadingKind::english : HeadingKind::plainNumber;
        h.number = number;
        h.sequence = word;
        h.title = Encode(s);
        return h;
    }
    return h;
}

// What follows a key: nothing, a separated title (which may end in ？ or ！), or a title
// joined to the key that does not run on as a sentence. Sets the refusal otherwise.
bool TitleAfterKey(std::u32string_view rest, HeadingLine& h)
{
    if (rest.empty())
        return true;
    if (IsSeparator(rest.front())) {
        if (rest.find(U'。') != std::u32string_view::npos) {
            h.refusal = HeadingRefusal::runningText;
            return false;
        }
        return true;
    }
    if (EndsQuestionOrExclamation(rest.front())) {
        h.refusal = HeadingRefusal::noTitleAfterMark;
        return false;
    }
    if (std::any_of(rest.begin(), rest.end(), IsSentenceMark)) {
        h.refusal = HeadingRefusal::runningText;
        return false;
    }
    return true;
}

// 第…章 at the start of s, maybe after a volume ("第三册第二十章", "第一卷 风起 第一章").
HeadingLine NumberedHeading(std::u32string_view s)
{
    HeadingLine h;
    const Key key = NumberedKey(s);
    if (key.length == 0)
        return h;
    std::size_t end = key.length;
    Key chapter = key;
    if (Contains(kVolumeUnits, key.unit) || key.unit == U'篇') {
        std::size_t i = key.length;
        while (i < s.size() && IsHeadingSpace(s[i]))
            ++i;
        const Key next = NumberedKey(s.substr(i));
        if (next.length != 0 && Contains(kChapterUnits, next.unit) && next.unit != U'篇') {
            chapter = next;
            end = i + next.length;
        }
    }
    if (!TitleAfterKey(s.substr(end), h))
        return h;
    h.kind = Contains(kVolumeUnits, chapter.unit) ? HeadingKind::volume : HeadingKind::numbered;
    h.number = chapter.number;
    h.sequence = std::u32string(1, chapter.unit);
    h.title = Encode(s);
    return h;
}

// A number without 第 at the start: "1. 雨夜", "2．归途", "12、标题", "一、标题", a bare "22".
HeadingLine PlainNumberHeading(std::u32string_view s)
{
    HeadingLine h;
    // "（1）", "(2) 标题": the number in brackets.
    const bool bracketed = !s.empty() && (s[0] == U'（' || s[0] == U'(');
    std::size_t from = bracketed ? 1 : 0;
    std::size_t i = from;
    while (i < s.size() && IsNumeral(s[i]))
        ++i;
    if (i == from || i - from > 6)
        return h;
    const std::int64_t number = NumberValue(s.substr(from, i - from));
    if (number < 0)
        return h;
    const bool digits = IsDigit(s[from]);
    std::u32string style = bracketed ? U"(" : U"";
    style += digits ? U'1' : U'一';
    if (bracketed) {
        if (i >= s.size() || (s[i] != U'）' && s[i] != U')'))
            return h;
        ++i;
        if (i < s.size() && !IsHeadingSpace(s[i]))
            return h;
    }
    if (i < s.size()) {
        if (!Contains(U".．、:：- 　\t", s[i]) || (bracketed && !IsHeadingSpace(s[i])))
            return h;
        // Half- and full-width marks are one style: "1. 雨夜" and "2．归途".
        style += IsHeadingSpace(s[i]) ? U' ' : s[i] == U'．' ? U'.' : s[i] == U'：' ? U':' : s[i];
        const std::u32string_view title = Trim(s.substr(i + 1));
        // "4．" with nothing after it: a number whose title was left out.
        if (title.empty() && !bracketed && Contains(U".．、", s[i]) && i + 1 == s.size()) {
            h.kind = HeadingKind::plainNumber;
            h.number = number;
            h.sequence = style;
            h.title = Encode(s);
            return h;
        }
        if (title.empty() || std::any_of(title.begin(), title.end(), IsSentenceMark) ||
            !std::any_of(title.begin(), title.end(), IsLetterOrIdeograph))
            return h;
    }
    h.kind = HeadingKind::plainNumber;
    h.number = number;
    h.sequence = style;
    h.title = Encode(s);
    return h;
}

// A title may end in a closing bracket whose opening one it holds ("妈妈的一封信（代序）"),
// not in one that closes what an earlier line opened.
bool ClosesOnlyWhatItOpens(std::u32string_view s)
{
    static constexpr std::u32string_view kOpen = U"（(【「『“‘《", kClose = U"）)】」』”’》";
    const std::size_t k = kClose.find(s.back());
    return k == std::u32string_view::npos || s.find(kOpen[k]) != std::u32string_view::npos;
}

// A prefix that belongs to the title: 正文, 卷 + number, or a volume heading of its own.
bool IsKnownPrefix(std::u32string_view prefix)
{
    prefix = Trim(prefix);
    if (prefix == U"正文")
        return true;
    if (prefix.starts_with(U"卷") && prefix.size() > 1 && std::all_of(prefix.begin() + 1, prefix.end(), IsNumeral))
        return true;
    return NumberedKey(prefix).length != 0;
}

} // namespace

bool MayHoldKey(std::u32string_view s)
{
    static_assert(kKeyWindowChars > kMaxPrefixChars + 1);
    static constexpr std::u32string_view kSpecialStarts = U"序前楔引尾终后番";
    if (s.empty())
        return false;
    const char32_t c = s[0];
    if (IsAsciiLetter(c) || IsNumeral(c) || c == U'第' || c == U'卷' || c == U'（' || c == U'(' || Contains(kSpecialStarts, c))
        return true;
    for (std::size_t i = 1; i <= kMaxPrefixChars && i < s.size(); ++i) {
        if (s[i] == U'第' || (IsHeadingSpace(s[i - 1]) && Contains(kSpecialStarts, s[i])))
            return true;
    }
    return false;
}

HeadingLine ReadHeadingLine(std::u32string_view s)
{
    HeadingLine none;
    if (s.empty() || s.size() > kMaxEnglishHeadingChars || EndsSentence(s.back()) || !CanStartHeading(s.front()))
        return none;
    if (IsAsciiLetter(s.front())) {
        if (HeadingLine h = EnglishHeading(s); h.kind != HeadingKind::none)
            return h;
    }
    if (s.size() > kMaxHeadingChars)
        return none;
    if (HeadingLine h = NumberedHeading(s); h.kind != HeadingKind::none || h.refusal != HeadingRefusal::none)
        return h;
    if (const std::size_t word = SpecialWord(s); word != 0) {
        HeadingLine h;
        h.kind = HeadingKind::special;
        h.title = Encode(s);
        return h;
    }
    // A prefix before "第…": one that belongs to the title, or a short one set off by a space.
    if (const std::size_t at = s.substr(0, kMaxPrefixChars + 1).find(U'第', 1); at != std::u32string_view::npos) {
        HeadingLine h = NumberedHeading(s.substr(at));
        const std::u32string_view prefix = s.substr(0, at);
        if (h.kind != HeadingKind::none) {
            if (IsKnownPrefix(prefix)) {
                h.title = Encode(s);
                return h;
            }
            if (IsHeadingSpace(prefix.back()) && std::none_of(prefix.begin(), prefix.end(), IsSentenceMark))
                return h;
        }
    }
    if (s.starts_with(U"卷") && s.size() > 1 && IsNumeral(s[1])) {
        std::size_t i = 1;
        while (i < s.size() && IsNumeral(s[i]))
            ++i;
        if (EndsOrSeparates(s.substr(i))) {
            HeadingLine h;
            h.kind = HeadingKind::volume;
            h.number = NumberValue(s.substr(1, i - 1));
            h.sequence = U"卷";
            h.title = Encode(s);
            return h;
        }
    }
    // An opening or closing word after a short prefix set off by a space ("◆ 《书名》 楔子　…").
    for (std::size_t at = 1; at <= kMaxPrefixChars && at < s.size(); ++at) {
        if (!IsHeadingSpace(s[at - 1]) || IsHeadingSpace(s[at]))
            continue;
        const std::u32string_view prefix = s.substr(0, at);
        if (std::any_of(prefix.begin(), prefix.end(), IsSentenceMark))
            break;
        if (SpecialWord(s.substr(at)) != 0) {
            HeadingLine h;
            h.kind = HeadingKind::special;
            h.title = Encode(s.substr(at));
            return h;
        }
    }
    if (HeadingLine h = PlainNumberHeading(s); h.kind != HeadingKind::none)
        return h;
    // A bare title: short, no sentence inside it, some word in it.
    // The list comma may stand inside one ("柳条、木屐和灯笼").
    if (s.size() <= kMaxBareTitleChars && !EndsQuestionOrExclamation(s.back()) &&
        std::none_of(s.begin(), s.end(), [](char32_t c) { return c != U'、' && IsSentenceMark(c); }) && std::any_of(s.begin(), s.end(), IsLetterOrIdeograph) &&
        ClosesOnlyWhatItOpens(s)) {
        HeadingLine h;
        h.kind = HeadingKind::bare;
        h.title = Encode(s);
        return h;
    }
    return none;
}

namespace {

// Where an advertisement glued to a heading begins: a web address ("http", "www."), or the
// 【 or [ that opens a bracket holding one. The line's size when it has none.
std::size_t AdvertisementStart(std::u32string_view s)
{
    std::size_t at = std::u32string_view::npos;
    for (std::u32string_view marker : {U"http", U"www.", U"WWW.", U"HTTP"}) {
        const std::size_t found = s.find(marker);
        if (found != std::u32string_view::npos)
            at = std::min(at, found);
    }
    if (at == std::u32string_view::npos) {
        // A bracket holding an address without its scheme: "[example-pan.com]".
        for (std::size_t open = 0; open < s.size(); ++open) {
            if (s[open] != U'【' && s[open] != U'[')
                continue;
            const std::size_t close = s.find(s[open] == U'【' ? U'】' : U']', open);
            const std::u32string_view inside = s.substr(open, close == std::u32string_view::npos ? s.npos : close - open);
            for (std::u32string_view tld : {U".com", U".net", U".org", U".cc", U".cn", U".la", U".info"}) {
                if (inside.find(tld) != std::u32string_view::npos)
                    return open;
            }
        }
        return s.size();
    }
    // The bracket the address stands in goes with it.
    for (std::size_t i = at; i > 0; --i) {
        if (s[i - 1] == U'【' || s[i - 1] == U'[' || s[i - 1] == U'（' || s[i - 1] == U'(')
            return i - 1;
        if (!IsAsciiLetter(s[i - 1]) && s[i - 1] != ':' && s[i - 1] != '/' && s[i - 1] != '.')
            break;
    }
    return at;
}

bool IsSequenceKind(HeadingKind k)
{
    return k == HeadingKind::numbered || k == HeadingKind::english || k == HeadingKind::plainNumber;
}

} // namespace

HeadingLine ReadSequenceLine(std::u32string_view line)
{
    HeadingLine none;
    line = Trim(line);
    if (line.empty() || line.size() > kMaxAdvertisedChars || !CanStartHeading(line.front()))
        return none;
    const std::u32string_view s = Trim(line.substr(0, AdvertisementStart(line)));
    if (s.empty() || s.size() > kMaxHeadingChars || s.find(U'。') != std::u32string_view::npos)
        return none;
    if (s.size() < line.size()) {
        HeadingLine h = ReadHeadingLine(s);
        if (IsSequenceKind(h.kind)) {
            h.weak = true;
            return h;
        }
    }
    if (EndsSentence(s.back()))
        return none;
    // 第N章 with punctuation in its title: "第十二章别走，师父", "第七章谁在说谎？".
    const Key key = NumberedKey(s);
    if (key.length != 0) {
        if (!Contains(kChapterUnits, key.unit) || key.number < 0)
            return none;
        HeadingLine h;
        h.kind = HeadingKind::numbered;
        h.weak = true;
        h.number = key.number;
        h.sequence = std::u32string(1, key.unit);
        h.title = Encode(s);
        return h;
    }
    // A number of any style, maybe after a word broken or joined to it: "part38标题",
    // "P art 47 标题", "22".
    std::size_t i = 0;
    while (i < s.size() && i <= 6 && (IsAsciiLetter(s[i]) || IsHeadingSpace(s[i])))
        ++i;
    const std::size_t from = i;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    if (i == from || i - from > 6 || (from > 0 && !IsAsciiLetter(s[0])))
        return none;
    if (i < s.size() && !IsSeparator(s[i]) && !IsLetterOrIdeograph(s[i]))
        return none;
    HeadingLine h;
    h.kind = HeadingKind::plainNumber;
    h.weak = true;
    h.number = NumberValue(s.substr(from, i - from));
    h.sequence = U"~";
    h.title = Encode(s);
    return h;
}
