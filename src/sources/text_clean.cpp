#include "sources/text_clean.h"

#include "sources/chapter_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace {

// One code point of well-formed UTF-8 at p (at most `available` bytes); a cut-off sequence
// reads as U+FFFD of one byte.
struct CodePoint {
    char32_t c;
    std::size_t length;
};

inline CodePoint ReadCodePoint(const unsigned char* p, std::size_t available)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return {b, 1};
    if (b < 0xE0 && available >= 2)
        return {(char32_t(b & 0x1F) << 6) | (p[1] & 0x3F), 2};
    if (b < 0xF0 && available >= 3)
        return {(char32_t(b & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F), 3};
    if (b >= 0xF0 && available >= 4)
        return {(char32_t(b & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F), 4};
    return {0xFFFD, 1};
}

int CharWidth(char32_t c)
{
    if (c < 0x80)
        return c == '\t' ? 4 : 1;
    if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
        (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD))
        return 2;
    // Punctuation and symbols that GBK stores in two bytes, as wide as an ideograph in Chinese text.
    if ((c >= 0x2010 && c <= 0x203B) || c == 0xB7 || c == 0xD7 || c == 0xF7 || (c >= 0x2160 && c <= 0x22FF) ||
        (c >= 0x2460 && c <= 0x26FF))
        return 2;
    return 1;
}

bool IsSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0x3000 || c == 0xFEFF || c == '\f' || c == '\v';
}

bool IsIdeograph(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// Full-width ASCII as ASCII, capitals as small letters: web addresses are written in both.
char32_t Fold(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        c -= 0xFEE0;
    if (c >= 'A' && c <= 'Z')
        c += 'a' - 'A';
    return c;
}

bool IsLatinLetter(char32_t folded) { return folded >= 'a' && folded <= 'z'; }
bool IsAddressChar(char32_t f)
{
    return IsLatinLetter(f) || (f >= '0' && f <= '9') || f == '-' || f == '_';
}

bool IsQuote(char32_t c)
{
    switch (c) {
    case U'“': case U'”': case U'「': case U'」': case U'『': case U'』': case U'‘': case U'’': case '"': return true;
    default: return false;
    }
}

// Ends a sentence or closes speech or brackets: a site's text glued to a line starts after it.
bool EndsStoryText(char32_t c)
{
    switch (c) {
    case U'。': case U'！': case U'？': case '!': case '?': case U'…': case U'”': case U'」': case U'』': case U'’':
    case U'》': return true;
    default: return false;
    }
}

// Characters found in the promotion words of download sites: a line without a web address
// is looked at closely only if it holds one.
bool IsPromotionKey(char32_t c)
{
    switch (c) {
    case U'书': case U'整': case U'载': case U'访': case U'首': case U'站': case U'权': case U'传': return true;
    default: return false;
    }
}

// People: a line that says "he" or "she" is story, whatever else it holds (a site says "you").
bool IsPerson(char32_t c) { return c == U'他' || c == U'她'; }

// Words of the download sites' lines, gathered from real downloads (longest first where one
// holds another, as they are matched from the left).
constexpr std::u32string_view kPromotionWords[] = {
    U"但求最经典最完整", U"我们提供给您的", U"不求最多", U"最有文艺气息", U"人文社科", U"文学名著", U"武侠小说",
    U"言情小说", U"相关书籍", U"书籍", U"专题网址", U"书评", U"查看",
    U"本作品来自", U"本书来自", U"本书由", U"本图书由", U"本电子书由", U"本书下载于", U"下载于",
    U"自网络收集", U"网络收集", U"收集", U"整理制作", U"整理", U"制作", U"提供", U"网友", U"分享", U"上传",
    U"版权归原作者", U"版权归作者", U"版权", U"原作者", U"出版社", U"所有", U"请购买正版", U"购买正版", U"正版",
    U"请支持", U"支持", U"订阅", U"购买", U"下载后", U"小时内删除", U"删除", U"仅供", U"预览", U"交流学习",
    U"学习", U"使用", U"如果喜欢", U"喜欢", U"免责声明", U"声明", U"申明", U"说明", U"本人不做任何负责",
    U"内容", U"互联网", U"网络", U"无任何关系", U"用户", U"存储", U"空间", U"服务", U"以下作品", U"以上作品", U"作品",
    U"更多精彩", U"更多", U"精彩", U"精品", U"好书", U"最新章节", U"最新", U"章节", U"更新", U"最快", U"全文阅读",
    U"全文", U"全本", U"免费下载", U"免费", U"下载", U"在线阅读", U"在线", U"阅读", U"手机访问", U"手机用户",
    U"手机", U"请访问", U"访问", U"请登录", U"请登陆", U"登录", U"登陆", U"欢迎", U"敬请", U"请", U"尽在",
    U"本站", U"网站", U"网址", U"地址", U"论坛", U"首发", U"无弹窗", U"手打", U"百度云搜索", U"百度搜索", U"百度",
    U"搜索", U"请记住", U"记住", U"收藏", U"推荐", U"电子书", U"小说网", U"中文网", U"文学网", U"书网", U"小说",
    U"手机铃声", U"手机电影", U"手机游戏", U"智能软件", U"软件", U"游戏", U"应用", U"丰富多彩", U"资源网",
    U"天堂", U"书吧", U"书城", U"书屋", U"书库", U"书包", U"乐园", U"文学", U"资源", U"排行榜", U"网",
};

// The last character of a download site's name.
bool IsSiteSuffix(char32_t c)
{
    switch (c) {
    case U'网': case U'吧': case U'阁': case U'城': case U'屋': case U'库': case U'站': case U'堂': case U'居': case U'园':
        return true;
    default: return false;
    }
}

// A line starting so is a site's note on the book ("本书由某某网整理").
constexpr std::u32string_view kSiteNoteStarts[] = {
    U"本书由", U"本书来自", U"本作品来自", U"本图书由", U"本电子书由", U"本书下载于", U"声明", U"申明", U"免责声明",
    U"更多精彩", U"更多txt", U"更多好书", U"手机用户", U"百度搜索", U"百度云搜索", U"小说下载", U"用户上传",
};
constexpr std::u32string_view kSiteNoteVerbs[] = {U"整理", U"提供", U"制作", U"收集", U"下载", U"版权", U"访问", U"登",
                                                  U"之内容"};

// The author's own words about the book (asking for votes, a postscript): never removed.
constexpr std::u32string_view kAuthorNotes[] = {U"求月票", U"求推荐", U"求收藏", U"求订阅", U"求打赏", U"求票", U"月票"};

constexpr std::u32string_view kTopLevelDomains[] = {
    U"com", U"net", U"org", U"cn", U"cc", U"la", U"info", U"tw", U"hk", U"me", U"tv", U"biz", U"co", U"in",
    U"io", U"us", U"xyz", U"top", U"vip", U"wang", U"club", U"site", U"so", U"name",
};

// One line of a text as code points, folded, with the byte offset of each in the line.
struct LineChars {
    std::u32string original;
    std::u32string folded;
    std::vector<std::size_t> offsets;  // offsets.size() == original.size() + 1

    void Read(std::string_view line)
    {
        original.clear();
        folded.clear();
        offsets.clear();
        const auto* p = reinterpret_cast<const unsigned char*>(line.data());
        for (std::size_t i = 0; i < line.size();) {
            const CodePoint cp = ReadCodePoint(p + i, line.size() - i);
            original.push_back(cp.c);
            folded.push_back(Fold(cp.c));
            offsets.push_back(i);
            i += cp.length;
        }
        offsets.push_back(line.size());
    }
};

struct Span {
    std::size_t begin, end;
};

bool StartsWith(std::u32string_view s, std::size_t at, std::u32string_view word)
{
    return s.size() - at >= word.size() && s.compare(at, word.size(), word) == 0;
}

// The web addresses of a line (in folded characters): http://..., www.... (also written
// "w w w", "www。", "wwW、"), and a bare domain such as bookbao.com or 4020.cn.
std::vector<Span> FindAddresses(std::u32string_view f)
{
    std::vector<Span> spans;
    const std::size_t n = f.size();
    auto addressEnd = [&](std::size_t j) {
        // Letters, digits and the signs of a path; a lone space inside ("xiao shu otx t.net").
        while (j < n) {
            const char32_t c = f[j];
            if (IsAddressChar(c) || c == '.' || c == '/' || c == ':' || c == '?' || c == '=' || c == '&' ||
                c == '%' || c == '~' || c == '#' || c == '+' || c == U'。' || c == U'、')
                ++j;
            else if (c == ' ' && j + 1 < n && IsAddressChar(f[j + 1]) && j > 0 && IsAddressChar(f[j - 1]))
                ++j;
            else
                break;
        }
        return j;
    };
    for (std::size_t i = 0; i < n;) {
        const bool wordStart = i == 0 || !IsAddressChar(f[i - 1]);
        if (wordStart && (StartsWith(f, i, U"http://") || StartsWith(f, i, U"https://"))) {
            const std::size_t e = addressEnd(i + (f[i + 4] == 's' ? 8 : 7));
            spans.push_back({i, e});
            i = e;
            continue;
        }
        if (wordStart && f[i] == 'w') {
            // w, w, w with at most one space between, then a separator and a letter or digit.
            std::size_t j = i, ws = 0;
            while (j < n && ws < 3) {
                if (f[j] == 'w') {
                    ++ws;
                    ++j;
                } else if (f[j] == ' ' && ws > 0 && j + 1 < n && f[j + 1] == 'w') {
                    ++j;
                } else {
                    break;
                }
            }
            if (ws == 3 && j + 1 < n &&
                (f[j] == '.' || f[j] == U'。' || f[j] == U'、' || f[j] == ',' || f[j] == '/' || f[j] == ' ') &&
                IsAddressChar(f[j + 1])) {
                const std::size_t e = addressEnd(j + 1);
                spans.push_back({i, e});
                i = e;
                continue;
            }
        }
        if (wordStart && IsAddressChar(f[i])) {
            // A bare domain: labels joined by dots, the last a known top-level domain.
            std::size_t j = i;
            std::size_t lastDot = 0;
            bool dotted = false;
            while (j < n && (IsAddressChar(f[j]) || (f[j] == '.' && j + 1 < n && IsAddressChar(f[j + 1])))) {
                if (f[j] == '.') {
                    lastDot = j;
                    dotted = true;
                }
                ++j;
            }
            if (dotted) {
                // Any label from the second on may be the top-level domain (".com.cn", ".com/x").
                bool domain = false;
                for (std::size_t k = i; k < j && !domain; ++k) {
                    if (f[k] != '.')
                        continue;
                    std::size_t e = k + 1;
                    while (e < j && IsAddressChar(f[e]))
                        ++e;
                    const std::u32string_view label = f.substr(k + 1, e - k - 1);
                    for (const std::u32string_view tld : kTopLevelDomains)
                        domain = domain || label == tld;
                }
                (void)lastDot;
                if (domain && (IsLatinLetter(f[i]) || (f[i] >= '0' && f[i] <= '9'))) {
                    const std::size_t e = addressEnd(j);
                    spans.push_back({i, e});
                    i = e;
                    continue;
                }
            }
            i = std::max(j, i + 1);
            continue;
        }
        ++i;
    }
    return spans;
}

// What the words of a stretch of a line are: ideographs in promotion words and in short
// site names, and the others (the story's).
struct WordCount {
    std::size_t promotion = 0;  // ideographs in promotion words
    std::size_t other = 0;      // ideographs in no promotion word
};

// Counts the ideographs of f[from, to), skipping the address spans. A run of ideographs that
// touches an address and ends like a site's name (…网, …吧, …阁) is the site's name.
WordCount CountWords(std::u32string_view f, std::size_t from, std::size_t to, const std::vector<Span>& addresses)
{
    WordCount count;
    std::size_t i = from;
    std::size_t a = 0;
    while (i < to) {
        while (a < addresses.size() && addresses[a].end <= i)
            ++a;
        if (a < addresses.size() && addresses[a].begin <= i) {
            i = addresses[a].end;
            continue;
        }
        if (f[i] == U'《') {
            // A book's title, as a site names the book it offers: neither the site's words nor the story's.
            const std::size_t close = f.find(U'》', i);
            if (close != std::u32string_view::npos && close < to && close - i <= 30) {
                i = close + 1;
                continue;
            }
        }
        if (IsLatinLetter(f[i])) {
            // A Latin word of three letters or more is the story's (English text), but for the
            // pieces of an address or watermark ("txt", "www").
            std::size_t e = i;
            while (e < to && IsLatinLetter(f[e]))
                ++e;
            const std::u32string_view word = f.substr(i, e - i);
            if (word.size() >= 3 && word != U"txt" && word != U"www" && word != U"com" && word != U"net" &&
                word != U"wap" && word != U"http")
                count.other += 2;
            i = e;
            continue;
        }
        if (!IsIdeograph(f[i])) {
            ++i;
            continue;
        }
        std::size_t runEnd = i;
        while (runEnd < to && IsIdeograph(f[runEnd]))
            ++runEnd;
        const bool touchesAddress =
            std::any_of(addresses.begin(), addresses.end(), [&](const Span& s) { return s.begin == runEnd || s.end == i; });
        if (touchesAddress && runEnd - i <= 8 && IsSiteSuffix(f[runEnd - 1])) {
            count.promotion += runEnd - i;
            i = runEnd;
            continue;
        }
        while (i < runEnd) {
            std::size_t matched = 0;
            for (const std::u32string_view w : kPromotionWords) {
                if (w.size() <= runEnd - i && f.compare(i, w.size(), w) == 0) {
                    matched = w.size();
                    break;
                }
            }
            if (matched) {
                count.promotion += matched;
                i += matched;
            } else {
                ++count.other;
                ++i;
            }
        }
    }
    return count;
}

bool Contains(std::u32string_view s, std::u32string_view w) { return s.find(w) != std::u32string_view::npos; }

enum class SiteVerdict { keep, removeLine, removeText };

struct SiteFinding {
    SiteVerdict verdict = SiteVerdict::keep;
    SiteReason reason = SiteReason::none;
    std::vector<Span> removed;  // removeText: the stretches of code points to remove
};

// A heading the chapter rules read: it starts a paragraph, is never joined nor removed.
bool ReadsAsHeading(std::u32string_view line)
{
    while (!line.empty() && IsSpace(line.back()))
        line.remove_suffix(1);
    while (!line.empty() && IsSpace(line.front()))
        line.remove_prefix(1);
    if (line.empty())
        return false;
    const HeadingKind kind = ReadHeadingLine(line).kind;
    return kind == HeadingKind::numbered || kind == HeadingKind::volume || kind == HeadingKind::english ||
           kind == HeadingKind::special;
}

// A site's text in brackets anywhere in the line, "［华夏网·电子书下载乐园—www.china8.com.cn］".
void FindBracketedSiteText(std::u32string_view f, const std::vector<Span>& addresses, SiteFinding& finding)
{
    for (const Span& address : addresses) {
        std::size_t open = address.begin;
        char32_t close = 0;
        while (open > 0) {
            const char32_t c = f[--open];
            if (c == '[' || c == U'【' || c == U'〔' || c == '(' || c == '{') {
                close = c == '[' ? ']' : c == U'【' ? U'】' : c == U'〔' ? U'〕' : c == '(' ? ')' : '}';
                break;
            }
            if (c == ']' || c == U'】' || c == ')' || c == U'〕' || c == '}' || address.begin - open > 24)
                break;
        }
        if (!close)
            continue;
        const std::size_t end = f.find(close, address.end);
        if (end == std::u32string_view::npos || end - address.end > 24)
            continue;
        // A bare address in brackets may be the story's ("我的博客（http://…）"): a site's has its words.
        const WordCount words = CountWords(f, open + 1, end, addresses);
        if (words.other > 4 || words.promotion < 2)
            continue;
        if (finding.removed.empty() || finding.removed.back().end <= open)
            finding.removed.push_back({open, end + 1});
    }
}

// A site's address and promotion at the end of a line ("……不做作。”t!xt-小说天\堂www.xiaoshuotxt.net",
// "第一章 雨夜 八一中文网 www.81zw.com"): from the first address back over signs, Latin
// letters and the site's words, to the end of the story's sentence or a word of the story.
void FindSiteTail(std::u32string_view f, std::u32string_view original, const std::vector<Span>& addresses,
                  SiteFinding& finding)
{
    const std::size_t firstTail = finding.removed.empty() ? 0 : finding.removed.back().end;
    std::size_t a = 0;
    while (a < addresses.size() && addresses[a].begin < firstTail)
        ++a;
    if (a == addresses.size())
        return;
    std::size_t k = addresses[a].begin;
    while (k > firstTail) {
        const char32_t c = f[k - 1];
        // "!" and "?" inside Latin letters are a watermark's ("t!xt"), not the story's.
        const bool inLatin = (c == '!' || c == '?') && k >= 2 && IsLatinLetter(f[k - 2]);
        if (EndsStoryText(c) && !inLatin)
            break;
        if (!IsIdeograph(c)) {
            --k;
            continue;
        }
        std::size_t run = k - 1;
        while (run > firstTail && IsIdeograph(f[run - 1]))
            --run;
        const WordCount words = CountWords(f, run, k, {});
        const bool siteName = IsSiteSuffix(f[k - 1]) && k - run <= 8;
        // Ideographs strewn between signs ("t|xt.小.说天+堂www…"): a watermark's pieces.
        const bool touching = k - run <= 3 && k < f.size() && !IsSpace(f[k]) && !IsIdeograph(f[k]);
        if (words.other == 0 || (siteName && words.other <= 4) || touching)
            k = run;
        else
            break;
    }
    // The story before it, ended as a sentence or a heading ("他打开电脑，登录www.…，搜索" goes on
    // as a sentence: no site's text is glued there), and nothing but the site's text after it.
    std::size_t story = k;
    while (story > 0 && IsSpace(f[story - 1]))
        --story;
    if (story == 0)
        return;
    const char32_t storyEnd = f[story - 1];
    const bool inLatin = (storyEnd == '!' || storyEnd == '?') && story >= 2 && IsLatinLetter(f[story - 2]);
    const bool sentenceEnded = EndsStoryText(storyEnd) && storyEnd != U'》' && !inLatin;
    if (!sentenceEnded && !ReadsAsHeading(original.substr(0, story)))
        return;
    const WordCount after = CountWords(f, k, f.size(), addresses);
    if (after.other > 4)
        return;
    finding.removed.push_back({story, f.size()});
}

bool HasAuthorNote(std::u32string_view f)
{
    if (StartsWith(f, 0, U"ps") || StartsWith(f, 0, U"p.s"))
        return true;
    return std::any_of(std::begin(kAuthorNotes), std::end(kAuthorNotes), [&](std::u32string_view w) { return Contains(f, w); });
}

// Whether a line (without its indentation and trailing spaces) is a site's line, holds a
// site's text, or is the book's.
SiteFinding JudgeSiteLine(const LineChars& line, bool hasLatin)
{
    SiteFinding finding;
    const std::u32string_view f = line.folded;
    if (HasAuthorNote(f))
        return finding;
    const bool speaks = std::any_of(f.begin(), f.end(), IsQuote);
    const bool person = std::any_of(f.begin(), f.end(), IsPerson);
    const std::vector<Span> addresses = hasLatin ? FindAddresses(f) : std::vector<Span>{};
    if (addresses.empty()) {
        // A site's note without an address: "本书由某某网整理", "声明：本书由…版权归原作者所有"
        // (the site's name may be quoted).
        if (person || f.size() > 100)
            return finding;
        for (const std::u32string_view start : kSiteNoteStarts) {
            // At the start, after a word such as "附：【", or after a rule ("-----用户上传之内容开始-----").
            const std::size_t at = f.find(start);
            std::size_t firstWord = 0;
            while (firstWord < f.size() && !IsIdeograph(f[firstWord]) && !IsLatinLetter(f[firstWord]))
                ++firstWord;
            if (at == std::u32string_view::npos || at > firstWord + 4)
                continue;
            const bool verb = std::any_of(std::begin(kSiteNoteVerbs), std::end(kSiteNoteVerbs), [&](std::u32string_view v) {
                return f.find(v, at + start.size()) != std::u32string_view::npos;
            });
            const WordCount words = verb ? CountWords(f, 0, f.size(), {}) : WordCount{};
            if (verb && words.other <= std::max<std::size_t>(6, words.promotion / 2)) {
                finding.verdict = SiteVerdict::removeLine;
                finding.reason = SiteReason::note;
            }
            break;
        }
        return finding;
    }
    const WordCount words = CountWords(f, 0, f.size(), addresses);
    FindBracketedSiteText(f, addresses, finding);
    FindSiteTail(f, line.original, addresses, finding);
    // What is left when the site's text is cut: a heading ("第二十三章www.…") or a sentence
    // of the story's words ("新闻。[网罗电子书：www.…]") is the book's, and stays.
    bool storyLeft = false;
    if (!finding.removed.empty()) {
        const std::u32string_view left = std::u32string_view(line.original).substr(0, finding.removed.front().begin);
        const WordCount leftWords = CountWords(f, 0, finding.removed.front().begin, addresses);
        storyLeft = ReadsAsHeading(left) ||
                    (std::any_of(left.begin(), left.end(), [](char32_t c) { return c != U'》' && EndsStoryText(c); }) &&
                     leftWords.other * 2 > leftWords.promotion);
    }
    if (!storyLeft && !speaks && !person && (words.other <= 6 || words.other * 2 <= words.promotion)) {
        finding.verdict = SiteVerdict::removeLine;
        finding.reason = words.other <= 6 ? SiteReason::address : SiteReason::promotion;
        finding.removed.clear();
    } else if (!finding.removed.empty()) {
        finding.verdict = SiteVerdict::removeText;
        finding.reason = SiteReason::glued;
    }
    return finding;
}

// A line of the text: where it is, its indentation, its display width and what it holds.
// Kept small: a book has a million lines.
struct Line {
    std::size_t begin = 0;  // content: after the indentation
    std::size_t end = 0;    // without trailing spaces
    std::uint32_t number = 0;
    std::uint16_t width = 0;       // display width, the indentation counted (at most 65535)
    std::uint16_t firstWidth = 0;  // width of the first word (Latin) or character
    bool indented : 1;
    bool hasLatin : 1;    // a Latin letter, ASCII or full-width: may hold an address
    bool hasKey : 1;      // a character of the sites' promotion words
    bool latinEnd : 1;    // ends with a Latin letter, digit or ASCII sign
    bool latinStart : 1;
    bool hasSpace : 1;    // an ASCII space inside: words, not ideographs
    bool endsWord : 1;    // ends with a letter, digit or ideograph: cut in the middle of a sentence
    bool removed : 1;
    bool heading : 1;
    Line()
        : indented(false), hasLatin(false), hasKey(false), latinEnd(false), latinStart(false), hasSpace(false),
          endsWord(false), removed(false), heading(false)
    {
    }
    bool blank() const { return begin == end; }
};

// Reads the lines of text: CR LF, LF, CR and CR CR LF end a line.
std::vector<Line> ReadLines(std::string_view text)
{
    std::vector<Line> lines;
    lines.reserve(text.size() / 64 + 16);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::size_t number = 0;
    while (i < n) {
        Line line;
        line.number = static_cast<std::uint32_t>(++number);
        // Indentation.
        std::uint32_t width = 0;
        while (i < n) {
            const CodePoint cp = ReadCodePoint(p + i, n - i);
            if (!IsSpace(cp.c))
                break;
            width += CharWidth(cp.c);
            i += cp.length;
        }
        line.indented = width >= 2;  // one space is a scan's slip, not a paragraph's indentation
        line.begin = i;
        std::size_t contentEnd = i;
        std::uint32_t contentWidth = width;
        bool first = true;
        char32_t last = 0;
        while (i < n && p[i] != '\n' && p[i] != '\r') {
            const unsigned char b = p[i];
            if (b < 0x80) {
                ++width;
                if (b == '\t')
                    width += 3;
                if (b == ' ' || b == '\t') {
                    line.hasSpace = line.hasSpace || b == ' ';
                    ++i;
                    continue;
                }
                if ((b | 0x20) >= 'a' && (b | 0x20) <= 'z')
                    line.hasLatin = true;
                if (first) {
                    line.latinStart = true;
                    // The first word: up to a space.
                    std::size_t j = i;
                    while (j < n && p[j] > ' ' && p[j] < 0x80)
                        ++j;
                    line.firstWidth = static_cast<std::uint16_t>(std::min<std::size_t>(j - i, 0xFFFF));
                    first = false;
                }
                last = b;
                ++i;
                contentEnd = i;
                contentWidth = width;
                continue;
            }
            if (b >= 0xE4 && b <= 0xE9 && n - i >= 3) {
                // An ideograph of U+4E00..U+9FFF, most of a Chinese text: wide, no space, no letter.
                const char32_t c = (char32_t(b & 0x0F) << 12) | (char32_t(p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F);
                width += 2;
                i += 3;
                if (first) {
                    line.firstWidth = 2;
                    first = false;
                }
                line.hasKey = line.hasKey || IsPromotionKey(c);
                last = c;
                contentEnd = i;
                contentWidth = width;
                continue;
            }
            const CodePoint cp = ReadCodePoint(p + i, n - i);
            const int w = CharWidth(cp.c);
            width += w;
            i += cp.length;
            if (IsSpace(cp.c))
                continue;
            if (first) {
                line.firstWidth = static_cast<std::uint16_t>(w);
                first = false;
            }
            if ((cp.c >= 0xFF21 && cp.c <= 0xFF3A) || (cp.c >= 0xFF41 && cp.c <= 0xFF5A))
                line.hasLatin = true;
            line.hasKey = line.hasKey || IsPromotionKey(cp.c);
            last = cp.c;
            contentEnd = i;
            contentWidth = width;
        }
        line.end = contentEnd;
        line.width = static_cast<std::uint16_t>(std::min<std::uint32_t>(contentWidth, 0xFFFF));
        line.latinEnd = last != 0 && last < 0x80;
        line.endsWord = last != 0 && ((last < 0x80 && (std::isalnum(static_cast<int>(last)) != 0)) || IsIdeograph(last));
        if (line.blank())
            line.indented = false;
        lines.push_back(line);
        // The line end: CR CR LF is one, as are CR LF, LF and CR.
        if (i < n && p[i] == '\r' && i + 2 < n && p[i + 1] == '\r' && p[i + 2] == '\n')
            i += 3;
        else if (i < n && p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
            i += 2;
        else if (i < n)
            ++i;
    }
    return lines;
}

std::u32string ToCodePoints(std::string_view s)
{
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    for (std::size_t i = 0; i < s.size();) {
        const CodePoint cp = ReadCodePoint(p + i, s.size() - i);
        out.push_back(cp.c);
        i += cp.length;
    }
    return out;
}

// A heading line starts a paragraph and is never joined: the chapter rules read it.
bool IsHeading(std::string_view content)
{
    // Most lines are longer than a heading: counted before they are read.
    if (content.size() > 4 * kMaxEnglishHeadingChars)
        return false;
    std::size_t chars = 0;
    for (const char c : content)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    const bool latin = static_cast<unsigned char>(content[0]) < 0x80;
    if (chars > (latin ? kMaxEnglishHeadingChars : kMaxHeadingChars) + 4)
        return false;
    thread_local std::u32string line;
    line.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(content.data());
    for (std::size_t i = 0; i < content.size();) {
        const CodePoint cp = ReadCodePoint(p + i, content.size() - i);
        line.push_back(cp.c);
        i += cp.length;
    }
    // The chapter rules' quick look first: a heading of the kinds read here has its key early.
    return MayHoldKey(std::u32string_view(line).substr(0, kKeyWindowChars)) && ReadsAsHeading(line);
}

// A list item starts a paragraph: "1.", "12、", "一、", "（一）", "(3)", "①", "- ", "* ".
bool StartsListItem(std::string_view content)
{
    const std::u32string start = ToCodePoints(content.substr(0, 16));
    std::size_t i = 0;
    if (!start.empty() && (start[0] == U'（' || start[0] == '('))
        ++i;
    std::size_t digits = 0;
    while (i < start.size() && ((start[i] >= '0' && start[i] <= '9') ||
                                std::u32string_view(U"一二三四五六七八九十").find(start[i]) != std::u32string_view::npos)) {
        ++i;
        ++digits;
    }
    if (digits > 0 && digits <= 3 && i < start.size() &&
        (start[i] == '.' || start[i] == U'、' || start[i] == U'．' || start[i] == ')' || start[i] == U'）'))
        return true;
    if (!start.empty() && start[0] >= 0x2460 && start[0] <= 0x2473)  // ①..⑳
        return true;
    return start.size() >= 2 && (start[0] == '-' || start[0] == '*' || start[0] == U'•') && start[1] == ' ';
}

// A rule of one sign repeated ("-----", "====", "*****", a scan's "---- page 32 ----"):
// a separator, never joined to a paragraph.
bool IsRule(std::string_view content)
{
    if (content.size() < 3)
        return false;
    const char c = content[0];
    if (c != '-' && c != '=' && c != '*' && c != '~' && c != '_' && c != '#')
        return content.compare(0, 9, "\u2014\u2014\u2014") == 0 || content.compare(0, 9, "\u2500\u2500\u2500") == 0;
    return content[1] == c && content[2] == c;
}

constexpr std::size_t kMaxWidth = 512;  // wider lines are not wrapped at a width
constexpr std::size_t kMinWrapWidth = 40;

// The widths W at which `line` was wrapped before `next`, as [low, high]: the next word would
// not have fitted, up to one wide character of slack either way (the wrapping kept closing
// punctuation on the line, or moved a character to the next so that none starts it).
struct WidthRange {
    std::size_t low, high;
};
WidthRange WrapRange(const Line& line, const Line& next)
{
    const std::size_t gap = line.latinEnd && next.latinStart && line.hasSpace ? 1 : 0;
    const std::size_t low = line.width >= 2 ? line.width - 2 : 0;
    return {low, line.width + gap + std::max<std::uint32_t>(next.firstWidth, 2) + 1};
}

// The wrap width of the text, or 0 when it is not hard-wrapped: the width W at which most
// lines followed by a line of the same paragraph end because the next word did not fit,
// while few lines are wider (page headers of a scan may be), and many of those lines end in the middle of a sentence.
std::size_t FindWrapWidth(const std::vector<Line>& lines, bool doubleSpaced)
{
    std::vector<std::int64_t> starts(kMaxWidth + 2, 0);  // lines wrapped at W: a difference array
    std::vector<std::int64_t> midSentence(kMaxWidth + 2, 0);
    std::vector<std::int64_t> wider(kMaxWidth + 2, 0);  // lines of each width
    std::size_t lineCount = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.blank() || line.removed)
            continue;
        ++lineCount;
        ++wider[std::min<std::size_t>(line.width, kMaxWidth + 1)];
        std::size_t j = i + 1;
        while (j < lines.size() && (lines[j].removed || (doubleSpaced && lines[j].blank())))
            ++j;
        if (j == lines.size() || lines[j].blank() || line.width > kMaxWidth)
            continue;
        const WidthRange r = WrapRange(line, lines[j]);
        const std::size_t high = std::min(r.high, kMaxWidth);
        if (r.low > high)
            continue;
        ++starts[r.low];
        --starts[high + 1];
        if (line.endsWord) {
            ++midSentence[r.low];
            --midSentence[high + 1];
        }
    }
    if (lineCount < 5)
        return 0;
    // Lines wider than W + 2, for each W: from the widths' counts.
    std::vector<std::int64_t> above(kMaxWidth + 3, 0);
    for (std::size_t w = kMaxWidth + 1; w-- > 0;)
        above[w] = above[w + 1] + wider[w + 1];
    std::size_t best = 0;
    std::int64_t bestScore = 0, bestCount = 0, bestMid = 0;
    std::int64_t count = 0, mid = 0;
    for (std::size_t w = 0; w <= kMaxWidth; ++w) {
        count += starts[w];
        mid += midSentence[w];
        if (w < kMinWrapWidth)
            continue;
        const std::int64_t over = w + 2 <= kMaxWidth ? above[w + 2] : 0;
        const std::int64_t score = count - 4 * over;
        if (score > bestScore) {
            best = w;
            bestScore = score;
            bestCount = count;
            bestMid = mid;
        }
    }
    if (best == 0)
        return 0;
    const std::int64_t over = best + 2 <= kMaxWidth ? above[best + 2] : 0;
    const auto total = static_cast<std::int64_t>(lineCount);
    if (bestCount < 4 || bestCount * 5 < total || over * 8 > total || bestMid * 5 < bestCount * 2)
        return 0;
    return best;
}

void AppendLineEnd(std::string& out) { out += "\r\n"; }

} // namespace

std::size_t DisplayWidth(std::string_view line)
{
    std::size_t width = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    for (std::size_t i = 0; i < line.size();) {
        const CodePoint cp = ReadCodePoint(p + i, line.size() - i);
        width += CharWidth(cp.c);
        i += cp.length;
    }
    return width;
}

std::string CleanText(std::string_view text, CleanReport* report)
{
    std::vector<Line> lines = ReadLines(text);
    // Site lines and site text glued to lines. Cut lines are kept as their new text.
    std::vector<std::pair<std::size_t, std::string>> cutLines;  // line index, text left
    LineChars chars;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Line& line = lines[i];
        if (line.blank() || !(line.hasLatin || (line.hasKey && line.end - line.begin <= 300)))
            continue;
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        chars.Read(content);
        const SiteFinding finding = JudgeSiteLine(chars, line.hasLatin);
        if (finding.verdict == SiteVerdict::removeLine) {
            line.removed = true;
            if (report)
                report->changes.push_back({CleanChangeKind::siteLine, finding.reason, line.number, line.number, std::string(content)});
        } else if (finding.verdict == SiteVerdict::removeText) {
            std::string left;
            std::size_t from = 0;
            for (const Span& s : finding.removed) {
                left.append(content.substr(from, chars.offsets[s.begin] - from));
                if (report)
                    report->changes.push_back({CleanChangeKind::siteText, SiteReason::glued, line.number, line.number,
                                               std::string(content.substr(chars.offsets[s.begin],
                                                                          chars.offsets[s.end] - chars.offsets[s.begin]))});
                from = chars.offsets[s.end];
            }
            left.append(content.substr(from));
            while (!left.empty() && (left.back() == ' ' || left.back() == '\t'))
                left.pop_back();
            // The width of the line as it was wrapped stays: the site's text came after the wrapping.
            cutLines.emplace_back(i, std::move(left));
        }
    }
    std::size_t cut = 0;
    auto contentOf = [&](std::size_t i) -> std::string_view {
        while (cut < cutLines.size() && cutLines[cut].first < i)
            ++cut;
        if (cut < cutLines.size() && cutLines[cut].first == i)
            return cutLines[cut].second;
        return text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    };

    // Most lines indented: indentation marks paragraphs only if the lines inside them are not.
    std::size_t nonBlank = 0, indented = 0;
    for (const Line& line : lines) {
        if (!line.blank() && !line.removed) {
            ++nonBlank;
            indented += line.indented;
        }
    }
    const bool indentMarksParagraphs = indented * 10 < nonBlank * 9;
    // A blank line after nearly every line ("double spaced"): blank lines mark no paragraphs.
    std::size_t beforeBlank = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        beforeBlank += !lines[i].blank() && !lines[i].removed && lines[i + 1].blank();
    const bool doubleSpaced = nonBlank >= 8 && beforeBlank * 5 >= nonBlank * 4;
    const std::size_t wrapWidth = FindWrapWidth(lines, doubleSpaced);
    if (report)
        report->wrapWidth = wrapWidth;

    std::string out;
    out.reserve(text.size() + text.size() / 8 + 16);
    bool blankSeen = false;  // blank lines since the last line written
    bool open = false;       // a paragraph is being written (its line end not yet)
    std::size_t paragraphFirst = 0, paragraphLast = 0;
    const Line* previous = nullptr;
    auto closeParagraph = [&] {
        if (!open)
            return;
        AppendLineEnd(out);
        if (report && paragraphLast > paragraphFirst)
            report->changes.push_back({CleanChangeKind::joined, SiteReason::none, paragraphFirst, paragraphLast, {}});
        open = false;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.removed)
            continue;
        if (line.blank()) {
            blankSeen = true;
            continue;
        }
        const std::string_view content = contentOf(i);
        if (content.empty())
            continue;
        const bool heading = IsHeading(content) || IsRule(content);  // neither joined nor indented
        bool join = false;
        if (open && previous && wrapWidth && (!blankSeen || doubleSpaced) && !heading && !previous->heading) {
            const WidthRange r = WrapRange(*previous, line);
            const bool full = r.low <= wrapWidth && wrapWidth <= r.high && previous->width * 5 >= wrapWidth * 3;
            const bool startsParagraph = (line.indented && indentMarksParagraphs) || StartsListItem(content);
            join = full && !startsParagraph;
        }
        if (join) {
            // Latin words are joined with a space, ideographs without; a hyphen joins.
            if (previous->latinEnd && line.latinStart && previous->hasSpace && out.back() != '-')
                out += ' ';
            out.append(content);
            paragraphLast = line.number;
        } else {
            closeParagraph();
            if (blankSeen && !out.empty())
                AppendLineEnd(out);  // at most one blank line between paragraphs
            if (!heading)
                out += "\u3000\u3000";
            out.append(content);
            open = true;
            paragraphFirst = paragraphLast = line.number;
        }
        blankSeen = false;
        lines[i].heading = heading;
        previous = &lines[i];
    }
    closeParagraph();
    if (report)
        std::stable_sort(report->changes.begin(), report->changes.end(),
                         [](const CleanChange& a, const CleanChange& b) { return a.line < b.line; });
    return out;
}
