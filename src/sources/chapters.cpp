#include "sources/chapters.h"

#include "platform/ascii.h"
#include "platform/utf16.h"
#include "platform/utf8_sequence.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>

namespace {

// Only this many bytes of a line are kept while it is read: a longer one is prose.
constexpr std::size_t kLineBytesKept = 512;
// And this many of its end: how a long paragraph ends (trailing spaces included).
constexpr std::size_t kTailBytes = 32;
// The trimmed bytes of a heading at most: kMaxEnglishHeadingChars ASCII characters or
// kMaxHeadingChars characters of up to four bytes.
constexpr std::size_t kMaxHeadingBytes = std::max(kMaxEnglishHeadingChars, kMaxHeadingChars * 4);
// A line of prose this long (trimmed, in bytes) counts as a paragraph when telling whether
// the book indents its paragraphs.
constexpr std::size_t kParagraphBytes = 30;
// Bare titles kept at most while reading: a text with more such lines is no book of titles.
constexpr std::size_t kMaxBareTitles = 100000;
// Refused lines kept for the report at most.
constexpr std::size_t kMaxRefused = 100000;
// Numbers without 第, and bare titles, make a book's headings when there are this many.
constexpr std::size_t kMinSequence = 3;
// Two numbers without 第 make a sequence when each begins a chapter of at least this many bytes.
constexpr std::size_t kLongChapterBytes = 1000;
// An opening or closing word between numbered chapters is a heading when the book has this
// many such.
constexpr std::size_t kMinSpecialsInside = 3;

struct Decoded {
    char32_t c;
    std::size_t length;
};

inline Decoded DecodeAt(std::string_view s, std::size_t at)
{
    const unsigned char b = static_cast<unsigned char>(s[at]);
    if (b < 0x80)
        return {b, 1};
    const Utf8Sequence q = ReadUtf8Sequence(reinterpret_cast<const unsigned char*>(s.data()) + at, s.size() - at);
    return {q.status == Utf8Status::Valid ? q.codePoint : kReplacementCharacter, q.length};
}

// The start of the character that ends at `end`.
inline std::size_t CharacterStart(std::string_view s, std::size_t end)
{
    std::size_t at = end - 1;
    while (at > 0 && end - at < 4 && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

std::u32string Decode(std::string_view bytes)
{
    std::u32string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const Decoded d = DecodeAt(bytes, i);
        out += d.c;
        i += d.length;
    }
    return out;
}

// A line whose last character is one of these has ended its sentence.
bool EndsParagraph(char32_t c)
{
    switch (c) {
    case U'！': case U'？': case '!': case '?': case U'…': case U'”': case U'」': case U'』': case U'）': case ')':
    case '"': case '\'': case '.': return true;
    default: return EndsSentence(c);
    }
}


bool IsNumberedKind(HeadingKind k)
{
    return k == HeadingKind::numbered || k == HeadingKind::english;
}

ChapterRefusal Refusal(HeadingRefusal r)
{
    return r == HeadingRefusal::runningText ? ChapterRefusal::runningText : ChapterRefusal::noTitleAfterMark;
}

// "*** END OF THE PROJECT GUTENBERG EBOOK …" (or "THIS"): the licence after it is no book.
bool IsGutenbergEnd(std::string_view line)
{
    while (!line.empty() && line.front() == '*')
        line.remove_prefix(1);
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    if (line.size() < 10 || !(EqualsIgnoringAsciiCase(line.substr(0, 10), "end of the") ||
                              EqualsIgnoringAsciiCase(line.substr(0, 10), "end of thi")))
        return false;
    for (std::size_t i = 0; i + 9 <= line.size(); ++i) {
        if (EqualsIgnoringAsciiCase(line.substr(i, 9), "gutenberg"))
            return true;
    }
    return false;
}

// A line that may be read by ReadSequenceLine: it starts with 第, a digit, or a few ASCII
// letters and a digit ("part38", "P art 47"). Asked of every line an English book has.
bool MayStartSequenceLine(std::string_view s)
{
    const unsigned char c = static_cast<unsigned char>(s[0]);
    if (s.starts_with("\xE7\xAC\xAC") || (c >= '0' && c <= '9') || s.starts_with("\xEF\xBC"))
        return true;  // 第, a digit, a full-width digit (or another full-width form: read to tell)
    if (!IsAsciiLetter(c))
        return false;
    for (std::size_t i = 1; i < s.size() && i < 8; ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            return true;
    }
    return false;
}

} // namespace

struct ChapterFinder::State {
    struct Candidate {
        HeadingLine heading;
        std::size_t begin = 0;
        std::size_t line = 0;
        bool blankBefore = false;    // the line before is blank (or there is none)
        bool blankAfter = false;     // the line after is blank (or there is none)
        bool indented = false;
        bool nextIndented = false;   // the line after starts with a space
        bool afterSentence = false;  // the line before is blank or ends a sentence
        bool proseBefore = false;    // text that is no candidate since the candidate before
        std::size_t proseAfter = 0;  // bytes of that text up to the next candidate
    };

    std::string title;
    std::vector<Candidate> candidates;
    std::vector<RefusedHeading> lineRefusals;  // lines refused by themselves
    std::size_t bareTitles = 0;

    // The line being read.
    std::string line;            // its first kLineBytesKept bytes
    std::string lineTail;        // and its last bytes, for how a longer one ends
    std::size_t lineBytes = 0;   // all its bytes
    std::size_t lineIndent = 0;  // ASCII spaces and tabs before it, not kept (a centred heading has hundreds)
    std::size_t lineBegin = 0;
    std::size_t lineNumber = 1;
    std::size_t offset = 0;      // bytes fed so far
    bool afterCr = false;        // the last piece ended with CR: an LF next belongs to it
    bool bookEnded = false;      // past a Project Gutenberg end line: the licence follows

    // What came before.
    bool previousBlank = true;
    bool previousEndedSentence = true;
    bool previousWasCandidate = false;
    bool proseSinceCandidate = false;
    std::size_t proseBytes = 0;  // since the last candidate
    std::size_t firstText = std::string::npos;  // offset of the first line that is not blank
    std::size_t paragraphs = 0;
    std::size_t indentedParagraphs = 0;

    std::u32string decoded;      // a line that may be a heading, decoded (kept for its room)

    // The user's pattern, when given.
    std::shared_ptr<const ChapterPattern> pattern;
    std::unique_ptr<ChapterPattern::Matcher> matcher;
    std::size_t patternGaveUpLine = 0;

    // A line ends: its first kLineBytesKept bytes, whether that is all of it, its last
    // bytes (up to kTailBytes) and its length.
    void EndLine(std::string_view kept, bool whole, std::string_view tail, std::size_t bytes);
    ChapterList Decide();
    struct Heading {
        std::string title;
        std::size_t begin;
        std::size_t line;
    };
    // The chapters that begin at these headings (in order, at least one).
    std::vector<Chapter> Cut(std::vector<Heading> headings) const;
};

void ChapterFinder::State::EndLine(std::string_view s, bool whole, std::string_view tail, std::size_t bytes)
{
    std::size_t b = 0, e = s.size();
    while (b < e) {
        const Decoded d = DecodeAt(s, b);
        if (!IsHeadingSpace(d.c))
            break;
        b += d.length;
    }
    if (whole) {
        while (e > b) {
            const std::size_t at = CharacterStart(s, e);
            if (!IsHeadingSpace(DecodeAt(s, at).c))
                break;
            e = at;
        }
    }
    const bool blank = whole && b == e;
    const bool indented = b > 0 || lineIndent > 0;
    if (previousWasCandidate) {
        candidates.back().blankAfter = blank;
        candidates.back().nextIndented = !blank && indented;
    }
    previousWasCandidate = false;
    if (blank) {
        previousBlank = true;
        previousEndedSentence = true;
        return;
    }
    if (firstText == std::string::npos)
        firstText = lineBegin;
    if (matcher) {
        // The user's pattern decides alone; after a runaway match it is given up.
        if (whole && patternGaveUpLine == 0) {
            const ChapterPattern::Match m = (*matcher)(s.substr(b, e - b));
            if (m == ChapterPattern::Match::tooComplex) {
                patternGaveUpLine = lineNumber;
                candidates.clear();
            } else if (m == ChapterPattern::Match::yes) {
                Candidate c;
                c.begin = lineBegin;
                c.line = lineNumber;
                c.heading.kind = HeadingKind::numbered;
                c.heading.title = std::string(s.substr(b, e - b));
                candidates.push_back(std::move(c));
            }
        }
        previousBlank = false;
        return;
    }
    HeadingLine heading;
    char32_t last = 0;
    if (s[b] == '*' && !bookEnded)
        bookEnded = IsGutenbergEnd(s.substr(b, e - b));
    if (whole && !bookEnded) {
        const std::size_t lastAt = CharacterStart(s, e);
        last = DecodeAt(s, lastAt).c;
        // Most lines are refused before they are decoded: too long, ending like a sentence
        // or closing speech after one ("。”"), starting as no heading does.
        const bool closesSpeech = ClosesSpeech(last) && lastAt > b && EndsSentence(DecodeAt(s, CharacterStart(s, lastAt)).c);
        if (e - b <= kMaxHeadingBytes && !EndsSentence(last) && !closesSpeech && CanStartHeading(DecodeAt(s, b).c)) {
            // A line longer than a bare title needs a key near its start: its first
            // characters are looked at before the rest is decoded.
            decoded.clear();
            std::size_t i = b;
            const bool long_ = e - b > 4 * kMaxBareTitleChars;
            while (i < e && (!long_ || decoded.size() < kKeyWindowChars)) {
                const Decoded d = DecodeAt(s, i);
                decoded += d.c;
                i += d.length;
            }
            if (!long_ || MayHoldKey(decoded)) {
                while (i < e) {
                    const Decoded d = DecodeAt(s, i);
                    decoded += d.c;
                    i += d.length;
                }
                heading = ReadHeadingLine(decoded);
            }
            if (heading.kind == HeadingKind::bare && (bareTitles >= kMaxBareTitles || !(previousBlank || previousEndedSentence)))
                heading.kind = HeadingKind::none;  // a wrapped line of a paragraph
        }
        // What only the running sequence can make a heading: a line starting with 第 or a
        // number (or a word and a number) that its own reading refused or took for a title.
        if ((heading.kind == HeadingKind::none || heading.kind == HeadingKind::bare) && e - b <= kMaxAdvertisedChars * 4 &&
            MayStartSequenceLine(s.substr(b, e - b))) {
            decoded.clear();
            for (std::size_t i = b; i < e;) {
                const Decoded d = DecodeAt(s, i);
                decoded += d.c;
                i += d.length;
            }
            HeadingLine weak = ReadSequenceLine(decoded);
            if (weak.kind != HeadingKind::none) {
                weak.refusal = heading.refusal;
                heading = std::move(weak);
            }
        }
    } else {
        while (!tail.empty()) {
            const std::size_t at = CharacterStart(tail, tail.size());
            last = DecodeAt(tail, at).c;
            if (!IsHeadingSpace(last))
                break;
            last = 0;
            tail.remove_suffix(tail.size() - at);
        }
    }
    if (heading.kind != HeadingKind::none) {
        Candidate c;
        c.begin = lineBegin;
        c.line = lineNumber;
        c.blankBefore = previousBlank;
        c.indented = indented;
        c.afterSentence = previousBlank || previousEndedSentence;
        c.proseBefore = proseSinceCandidate;
        if (!candidates.empty())
            candidates.back().proseAfter = proseBytes;
        bareTitles += heading.kind == HeadingKind::bare;
        c.heading = std::move(heading);
        candidates.push_back(std::move(c));
        previousWasCandidate = true;
        proseSinceCandidate = false;
        proseBytes = 0;
    } else {
        if (heading.refusal != HeadingRefusal::none && lineRefusals.size() < kMaxRefused)
            lineRefusals.push_back({lineNumber, std::string(s.substr(b, e - b)), Refusal(heading.refusal)});
        proseSinceCandidate = true;
        proseBytes += bytes;
        if (!whole || e - b >= kParagraphBytes) {
            ++paragraphs;
            indentedParagraphs += indented;
        }
    }
    previousBlank = false;
    previousEndedSentence = last != 0 && EndsParagraph(last);
}

ChapterList ChapterFinder::State::Decide()
{
    if (matcher) {
        ChapterList list;
        list.patternGaveUpLine = patternGaveUpLine;
        std::vector<Heading> headings;
        for (Candidate& c : candidates)
            headings.push_back({std::move(c.heading.title), c.begin, c.line});
        if (!headings.empty())
            list.chapters = Cut(std::move(headings));
        return list;
    }
    if (!candidates.empty())
        candidates.back().proseAfter = proseBytes;
    const std::size_t n = candidates.size();
    // A weak line is text for the lines around it until its number makes it a heading.
    for (std::size_t i = n; i-- > 0;) {
        if (!candidates[i].heading.weak)
            continue;
        if (i > 0)
            candidates[i - 1].proseAfter += candidates[i].proseAfter + 1;
        if (i + 1 < n)
            candidates[i + 1].proseBefore = true;
    }
    const auto weak = [&](std::size_t i) { return candidates[i].heading.weak; };
    enum class Mark { open, heading, refused };
    std::vector<Mark> mark(n, Mark::open);
    std::vector<ChapterRefusal> why(n, ChapterRefusal::notTheBooksPattern);
    const auto refuse = [&](std::size_t i, ChapterRefusal reason) {
        mark[i] = Mark::refused;
        why[i] = reason;
    };
    const auto kind = [&](std::size_t i) { return candidates[i].heading.kind; };

    // A number that breaks the sequence around it: the headings before and after it run on
    // and it is neither the next nor the same as the one before (as "上" and "下" halves are).
    const auto dropOutOfSequence = [&](const std::vector<std::size_t>& members) {
        std::vector<std::size_t> kept;
        for (std::size_t k = 0; k < members.size(); ++k) {
            const std::int64_t number = candidates[members[k]].heading.number;
            if (!kept.empty() && k + 1 < members.size() && number >= 0) {
                const std::int64_t before = candidates[kept.back()].heading.number;
                const std::int64_t after = candidates[members[k + 1]].heading.number;
                if (before >= 0 && after == before + 1 && number != before && number != before + 1) {
                    refuse(members[k], ChapterRefusal::outOfSequence);
                    continue;
                }
            }
            kept.push_back(members[k]);
        }
        return kept;
    };
    // A title is set off by blank lines around it, or unindented among indented paragraphs
    // after a sentence's end; a number (a stronger sign) by a blank line on either side too.
    const bool indentedBook = indentedParagraphs * 2 > paragraphs;
    const auto setOff = [&](const Candidate& c) {
        return (c.blankBefore && c.blankAfter) || (c.afterSentence && indentedBook && !c.indented && c.nextIndented);
    };
    // A number alone on its line after a paragraph's end is set off too: books without blank
    // lines ("三" between paragraphs).
    const auto numberSetOff = [&](const Candidate& c) {
        const std::u32string& style = c.heading.sequence;
        const bool alone = !style.empty() && (style.back() == U'1' || style.back() == U'一');
        return setOff(c) || c.blankBefore || c.blankAfter || (alone && c.afterSentence);
    };

    // The pattern: 第N and Chapter N headings first.
    std::map<std::u32string, std::vector<std::size_t>> sequences;
    for (std::size_t i = 0; i < n; ++i) {
        if ((IsNumberedKind(kind(i)) || kind(i) == HeadingKind::volume) && !weak(i))
            sequences[candidates[i].heading.sequence].push_back(i);
    }
    std::size_t numbered = 0;
    std::size_t largest = 0;
    for (auto& [sequence, members] : sequences) {
        members = dropOutOfSequence(members);
        if (kind(members.front()) != HeadingKind::volume) {
            numbered += members.size();
            largest = std::max(largest, members.size());
        }
    }
    // Numbered headings are headings wherever they stand, but a unit used once where
    // another runs through the book is a word in the text.
    for (const auto& [sequence, members] : sequences) {
        const bool stray = members.size() == 1 && largest >= 5 && kind(members.front()) != HeadingKind::volume;
        for (std::size_t i : members)
            mark[i] = stray ? Mark::refused : Mark::heading;
    }
    // Numbers without 第: the style with the longest run in sequence, when the book has no
    // 第N/Chapter headings; beside them only an English word's sequence ("Letter 1"...).
    std::map<std::u32string, std::vector<std::size_t>> styles;
    for (std::size_t i = 0; i < n; ++i) {
        const HeadingLine& h = candidates[i].heading;
        const bool word = !h.sequence.empty() && IsAsciiLetter(h.sequence.front());
        if (kind(i) == HeadingKind::plainNumber && !weak(i) && (numbered < 2 || word) && (numberSetOff(candidates[i]) || word))
            styles[h.sequence].push_back(i);
    }
    std::vector<std::size_t> best;
    for (auto& [style, members] : styles) {
        std::vector<std::size_t> kept = dropOutOfSequence(members);
        // Steps of one run on; so do steps of two or three, where a heading written unlike the
        // others (ReadSequenceLine) fills the gap.
        std::size_t runsOn = 0, exact = 0;
        for (std::size_t k = 1; k < kept.size(); ++k) {
            const std::int64_t step = candidates[kept[k]].heading.number - candidates[kept[k - 1]].heading.number;
            runsOn += step >= 1 && step <= 3;
            exact += step == 1;
        }
        const bool word = IsAsciiLetter(style.front());
        // Two make a sequence when they are 1 and 2 (an English word's) or begin long chapters.
        const bool pair = kept.size() == 2 && exact == 1 && candidates[kept[0]].heading.number == 1 &&
                          (word || std::all_of(kept.begin(), kept.end(), [&](std::size_t k) {
                               return candidates[k].proseAfter >= kLongChapterBytes;
                           }));
        if ((kept.size() >= kMinSequence && runsOn * 3 >= (kept.size() - 1) * 2) || pair) {
            if (kept.size() > best.size())
                best = std::move(kept);
        }
    }
    for (std::size_t i : best)
        mark[i] = Mark::heading;

    // The running sequence: a weak line (and a number of another style beside the book's
    // numbers) is a heading where the heading before it is n-1 and the next line of the
    // sequence is n+1 (at the book's ends, one neighbour that continues suffices).
    const auto continueSequence = [&](const std::vector<std::size_t>& run) {
        std::int64_t previous = -1;
        for (std::size_t k = 0; k < run.size(); ++k) {
            const std::size_t i = run[k];
            const std::int64_t number = candidates[i].heading.number;
            if (mark[i] == Mark::heading) {
                previous = number;
                continue;
            }
            if (number < 0)
                continue;
            // After it: a line of the sequence numbered n+1 before the next heading of it.
            int after = -1;  // -1: nothing after it
            for (std::size_t m = k + 1; m < run.size() && after < 0; ++m) {
                if (candidates[run[m]].heading.number == number + 1)
                    after = 1;
                else if (mark[run[m]] == Mark::heading)
                    after = 0;
            }
            const bool before = previous >= 0 ? previous == number - 1 : number == 1 && after == 1;
            if (before && (after == 1 || (after < 0 && previous >= 0))) {
                mark[i] = Mark::heading;
                previous = number;
            }
        }
    };
    for (const auto& [sequence, members] : sequences) {
        if (members.size() < 2 || kind(members.front()) == HeadingKind::volume || mark[members.front()] != Mark::heading)
            continue;
        std::vector<std::size_t> run = members;
        for (std::size_t i = 0; i < n; ++i) {
            if (weak(i) && IsNumberedKind(kind(i)) && candidates[i].heading.sequence == sequence)
                run.push_back(i);
        }
        std::sort(run.begin(), run.end());
        continueSequence(run);
    }
    if (best.size() >= 2) {
        std::vector<std::size_t> run = best;
        for (std::size_t i = 0; i < n; ++i) {
            if (kind(i) == HeadingKind::plainNumber && mark[i] == Mark::open && i >= best.front())
                run.push_back(i);
        }
        std::sort(run.begin(), run.end());
        continueSequence(run);
    }
    // Bare titles, set off and followed by text: the book's headings when it has no others,
    // or beside numbers that stay in one part of it (the numbered sections of one essay).
    const bool localNumbers = !best.empty() && numbered < 2 &&
                              (candidates[best.back()].line - candidates[best.front()].line) * 2 < lineNumber;
    if (numbered < 2 && (best.empty() || localNumbers)) {
        std::vector<std::size_t> titles;
        for (std::size_t i = 0; i < n; ++i) {
            const Candidate& c = candidates[i];
            if (kind(i) == HeadingKind::bare && !weak(i) && setOff(c) && c.proseAfter > 0 && (i + 1 == n || candidates[i + 1].proseBefore))
                titles.push_back(i);
        }
        if (titles.size() >= kMinSequence && bareTitles < kMaxBareTitles) {
            for (std::size_t i : titles)
                mark[i] = Mark::heading;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (kind(i) == HeadingKind::special && mark[i] == Mark::open && !weak(i))
            mark[i] = Mark::heading;
    }

    // Runs of headings with nothing but blank lines between them.
    const auto runs = [&] {
        std::vector<std::vector<std::size_t>> all(1);
        bool text = false;
        for (std::size_t i = 0; i < n; ++i) {
            text = text || candidates[i].proseBefore;
            if (mark[i] != Mark::heading) {
                text = true;
                continue;
            }
            if (text && !all.back().empty())
                all.emplace_back();
            all.back().push_back(i);
            text = false;
        }
        if (all.back().empty())
            all.pop_back();
        return all;
    };
    // A table of contents stays text; the heading after it is the first of the book.
    for (const std::vector<std::size_t>& run : runs()) {
        if (run.size() < 3)
            continue;
        // The last heading is the book's first when the contents began with it (the same
        // number, or the same title) or do not list its kind; with a volume heading before it.
        // Whether run[m] opens the book: the contents began with it or do not list its kind.
        const auto opens = [&](std::size_t m) {
            const HeadingLine& last = candidates[run[m]].heading;
            for (std::size_t k = 0; k < m; ++k) {
                const HeadingLine& h = candidates[run[k]].heading;
                if (h.kind == last.kind && h.sequence == last.sequence)
                    return (last.number >= 0 && h.number == last.number) || h.title == last.title;
            }
            return true;
        };
        std::size_t keep = 0;
        if (opens(run.size() - 1)) {
            keep = 1;
            // The volume before it too, unless it is the contents' last entry ("第五卷" after
            // "第一卷 … 第二卷 …" listed two on a line).
            const std::size_t volume = run.size() - 2;
            if (kind(run[volume]) == HeadingKind::volume && kind(run.back()) != HeadingKind::volume && opens(volume))
                keep = 2;
        }
        for (std::size_t k = 0; k + keep < run.size(); ++k)
            refuse(run[k], ChapterRefusal::tableOfContents);
    }
    // Opening and closing words inside the book, between numbered headings, are text unless
    // the book has several such.
    std::size_t first = n, last = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (mark[i] == Mark::heading && kind(i) != HeadingKind::special && kind(i) != HeadingKind::volume) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first < n) {
        std::vector<std::size_t> inside;
        for (std::size_t i = first + 1; i < last; ++i) {
            // One that heads the numbered heading right after it ("EPILOGUE", blank lines,
            // "Chapter I.") is a part's heading as a volume's is: the two make one title.
            const bool headsNext = i + 1 < n && mark[i + 1] == Mark::heading && !candidates[i + 1].proseBefore;
            if (mark[i] == Mark::heading && kind(i) == HeadingKind::special && !headsNext)
                inside.push_back(i);
        }
        if (inside.size() < kMinSpecialsInside) {
            for (std::size_t i : inside)
                refuse(i, ChapterRefusal::insideTheBook);
        }
    }

    ChapterList list;
    for (std::size_t i = 0; i < n; ++i) {
        // Bare lines that are not the book's titles are ordinary text, not worth a report.
        // A weak line that stays text is reported only when its own reading refused it.
        if (mark[i] == Mark::heading || kind(i) == HeadingKind::bare || list.refused.size() >= kMaxRefused)
            continue;
        if (!weak(i))
            list.refused.push_back({candidates[i].line, candidates[i].heading.title, why[i]});
        else if (candidates[i].heading.refusal != HeadingRefusal::none)
            list.refused.push_back({candidates[i].line, candidates[i].heading.title, Refusal(candidates[i].heading.refusal)});
    }
    // Merged with the refusals of single lines, in order of lines.
    std::vector<RefusedHeading> merged;
    std::merge(lineRefusals.begin(), lineRefusals.end(), list.refused.begin(), list.refused.end(), std::back_inserter(merged),
               [](const RefusedHeading& a, const RefusedHeading& b) { return a.line < b.line; });
    list.refused = std::move(merged);

    std::vector<Heading> headings;
    for (const std::vector<std::size_t>& run : runs()) {
        Heading h {candidates[run.front()].heading.title, candidates[run.front()].begin, candidates[run.front()].line};
        for (std::size_t k = 1; k < run.size(); ++k)
            h.title += " " + candidates[run[k]].heading.title;
        headings.push_back(std::move(h));
    }
    if (headings.size() >= 2)
        list.chapters = Cut(std::move(headings));
    return list;
}

std::vector<Chapter> ChapterFinder::State::Cut(std::vector<Heading> headings) const
{
    std::vector<Chapter> chapters;
    const bool blankBefore = firstText >= headings.front().begin;
    if (!blankBefore)
        chapters.push_back({title, 0, headings.front().begin, 1});
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const std::size_t begin = i == 0 && blankBefore ? 0 : headings[i].begin;
        const std::size_t end = i + 1 < headings.size() ? headings[i + 1].begin : offset;
        chapters.push_back({std::move(headings[i].title), begin, end, i == 0 && blankBefore ? 1 : headings[i].line});
    }
    return chapters;
}

ChapterFinder::ChapterFinder(std::string sourceTitle, std::shared_ptr<const ChapterPattern> pattern)
    : m_state(std::make_unique<State>())
{
    m_state->title = std::move(sourceTitle);
    if (pattern) {
        m_state->matcher = std::make_unique<ChapterPattern::Matcher>(*pattern);
        m_state->pattern = std::move(pattern);
    }
}

ChapterFinder::~ChapterFinder() = default;

void ChapterFinder::Feed(std::string_view piece)
{
    State& s = *m_state;
    const char* p = piece.data();
    std::size_t i = 0;
    if (s.afterCr && !piece.empty() && piece[0] == '\n') {
        i = 1;
        ++s.lineBegin;
    }
    s.afterCr = false;
    std::size_t lf = 0;  // the next LF at or after i, or the piece's end; searched once for all CR lines
    bool lfKnown = false;
    while (i < piece.size()) {
        if (!lfKnown || lf < i) {
            const void* found = std::memchr(p + i, '\n', piece.size() - i);
            lf = found ? static_cast<std::size_t>(static_cast<const char*>(found) - p) : piece.size();
            lfKnown = true;
        }
        const void* cr = std::memchr(p + i, '\r', lf - i);
        const std::size_t j = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - p) : lf;
        const std::size_t length = j - i;
        if (s.lineBytes == 0 && j < piece.size()) {
            // The whole line is in this piece: read it where it is, after its ASCII indent.
            std::size_t lead = 0;
            while (lead < length && (p[i + lead] == ' ' || p[i + lead] == '\t'))
                ++lead;
            const std::string_view line(p + i + lead, length - lead);
            s.lineIndent = lead;
            s.EndLine(line.substr(0, std::min(line.size(), kLineBytesKept)), line.size() <= kLineBytesKept,
                      line.substr(line.size() - std::min(line.size(), kTailBytes)), length);
            s.lineIndent = 0;
        } else {
            // A line that goes on from or into another piece: its start (after its ASCII
            // indent) and its end kept.
            std::size_t from = i;
            if (s.line.empty()) {
                while (from < j && (p[from] == ' ' || p[from] == '\t'))
                    ++from;
                s.lineIndent += from - i;
            }
            if (s.line.size() < kLineBytesKept)
                s.line.append(p + from, std::min(j - from, kLineBytesKept - s.line.size()));
            const std::size_t tailFrom = length > kTailBytes ? j - kTailBytes : i;
            s.lineTail.append(p + tailFrom, j - tailFrom);
            if (s.lineTail.size() > kTailBytes)
                s.lineTail.erase(0, s.lineTail.size() - kTailBytes);
            s.lineBytes += length;
            if (j == piece.size())
                break;  // the line goes on in the next piece
            s.EndLine(s.line, s.lineBytes - s.lineIndent <= kLineBytesKept, s.lineTail, s.lineBytes);
            s.line.clear();
            s.lineTail.clear();
            s.lineBytes = 0;
            s.lineIndent = 0;
        }
        std::size_t next = j + 1;
        if (piece[j] == '\r') {
            if (next < piece.size())
                next += piece[next] == '\n';
            else
                s.afterCr = true;
        }
        s.lineBegin = s.offset + next;
        ++s.lineNumber;
        i = next;
    }
    s.offset += piece.size();
}

ChapterList ChapterFinder::Finish()
{
    State& s = *m_state;
    if (s.lineBegin < s.offset)
        s.EndLine(s.line, s.lineBytes - s.lineIndent <= kLineBytesKept, s.lineTail, s.lineBytes);
    else if (s.previousWasCandidate)
        s.candidates.back().blankAfter = true;
    return s.Decide();
}

ChapterList FindChapterList(std::string_view text, const std::string& sourceTitle, std::shared_ptr<const ChapterPattern> pattern)
{
    ChapterFinder finder(sourceTitle, std::move(pattern));
    finder.Feed(text);
    return finder.Finish();
}

std::vector<Chapter> FindChapters(std::string_view text, const std::string& sourceTitle)
{
    return FindChapterList(text, sourceTitle).chapters;
}

std::optional<std::string> ChapterHeading(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    const std::u32string decoded = Decode(line);
    std::u32string_view t = decoded;
    while (!t.empty() && IsHeadingSpace(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && IsHeadingSpace(t.back()))
        t.remove_suffix(1);
    HeadingLine h = ReadHeadingLine(t);
    switch (h.kind) {
    case HeadingKind::numbered:
    case HeadingKind::volume:
    case HeadingKind::english:
    case HeadingKind::special: return std::move(h.title);
    default: return std::nullopt;
    }
}
