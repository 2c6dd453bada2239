// Text clean-up of a downloaded novel, before its chapters are found: a download site's
// lines and the advertisements glued to a line's end are removed, hard-wrapped paragraphs
// joined, and the layout made even (each paragraph indented by two full-width spaces, at
// most one blank line between paragraphs, no trailing spaces, CR CR LF read as one line end).
// Story text is never removed: a line that speaks (quotes) or says more than a site's name
// and its promotion stays, and so do the author's notes (PS：, 求月票).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class CleanChangeKind {
    siteLine,   // a whole line removed: a web address or a site's promotion
    siteText,   // a site's address and promotion removed from the end of a line or from brackets
    joined,     // the lines line..lastLine were one wrapped paragraph
};

// Why a site's text was removed.
enum class SiteReason {
    none,       // joined lines
    address,    // a web address with at most a site's name and a few words
    promotion,  // a web address in a site's promotion ("更多精彩小说请访问……")
    note,       // a site's note without an address ("本书由某某网整理")
    glued,      // an address and its promotion after the story's text, or in brackets in it
};

struct CleanChange {
    CleanChangeKind kind;
    SiteReason reason = SiteReason::none;
    std::size_t line = 0;      // 1-based, in the text as given (CR CR LF ends one line)
    std::size_t lastLine = 0;  // joined: the paragraph's last line; otherwise line
    std::string text;          // what was removed (UTF-8, without the line end)
};

struct CleanReport {
    // The display width the lines were wrapped at (a full-width character counts 2); 0: the
    // text is not hard-wrapped and no lines were joined.
    std::size_t wrapWidth = 0;
    std::vector<CleanChange> changes;  // in the order of the text
};

// The text (well-formed UTF-8) cleaned, its lines ended by CR LF. With a report, what was
// removed and joined is listed there. Time and memory are linear in the text's size.
std::string CleanText(std::string_view text, CleanReport* report = nullptr);

// The display width of a line of UTF-8: 2 for a full-width (East Asian wide) character and
// the punctuation that GBK stores in two bytes (“”…—·), 1 otherwise; a tab counts 4.
std::size_t DisplayWidth(std::string_view line);
