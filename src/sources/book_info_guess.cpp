#include "sources/book_info_guess.h"

#include <algorithm>
#include <array>

namespace {

// ASCII and full-width spaces, tab, line ends and the byte-order mark around a name.
std::string_view Trim(std::string_view s)
{
    static constexpr std::array<std::string_view, 3> kWide = {"\u3000", "\u00A0", "\uFEFF"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
            s.remove_prefix(1);
            trimmed = true;
        }
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
            s.remove_suffix(1);
            trimmed = true;
        }
        for (std::string_view w : kWide) {
            if (s.starts_with(w)) {
                s.remove_prefix(w.size());
                trimmed = true;
            }
            if (s.ends_with(w)) {
                s.remove_suffix(w.size());
                trimmed = true;
            }
        }
    }
    return s;
}

// "作者：", "作者:", "作者 " at the start of s: its length, or 0.
std::size_t LabelLength(std::string_view s, std::string_view label)
{
    if (!s.starts_with(label))
        return 0;
    std::string_view rest = s.substr(label.size());
    for (std::string_view colon : {"：", ":", " ", "\u3000"}) {
        if (rest.starts_with(colon))
            return label.size() + colon.size();
    }
    return 0;
}

std::size_t Characters(std::string_view s)
{
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A name of a person: not empty, not too long, not a part or an edition ("上", "12", "精校版").
bool LooksLikeAuthor(std::string_view s)
{
    if (s.empty() || Characters(s) > 16)
        return false;
    if (std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-' || c == ' '; }))
        return false;
    for (std::string_view word : {"上", "中", "下", "全", "完", "全本", "完本", "完结", "全集", "精校", "精校版", "校对版", "修订版",
                                  "文字版", "典藏版", "连载", "新版", "TXT", "txt", "未完"}) {
        if (s == word)
            return false;
    }
    for (std::string_view word : {"卷", "部", "册", "章", "版"}) {
        if (s.ends_with(word))
            return false;
    }
    return true;
}

std::string Name(std::string_view s)
{
    s = Trim(s);
    if (s.starts_with("《") && s.ends_with("》") && s.size() > 6)
        s = Trim(s.substr(3, s.size() - 6));
    return std::string(s);
}

} // namespace

GuessedBookInfo BookInfoFromTitle(std::string_view title)
{
    GuessedBookInfo info;
    title = Trim(title);
    // 《书名》 anywhere first: what follows it may name the author.
    const std::size_t open = title.find("《");
    const std::size_t close = open == std::string_view::npos ? open : title.find("》", open);
    if (open != std::string_view::npos && close != std::string_view::npos && close > open + 3) {
        info.name = std::string(Trim(title.substr(open + 3, close - open - 3)));
        std::string_view rest = Trim(title.substr(close + 3));
        for (std::string_view label : {"作者", "著者"}) {
            if (const std::size_t at = LabelLength(rest, label))
                rest = Trim(rest.substr(at));
        }
        if (LooksLikeAuthor(rest))
            info.author = std::string(rest);
        return info;
    }
    // "书名 作者：某人", "书名作者：某人".
    for (std::string_view label : {"作者：", "作者:"}) {
        const std::size_t at = title.find(label);
        if (at != std::string_view::npos && at > 0) {
            info.name = Name(title.substr(0, at));
            const std::string_view author = Trim(title.substr(at + label.size()));
            if (LooksLikeAuthor(author))
                info.author = std::string(author);
            return info;
        }
    }
    // "书名(作者)", "书名（作者）".
    for (auto [openMark, closeMark] : {std::pair<std::string_view, std::string_view> {"(", ")"}, {"（", "）"}}) {
        if (!title.ends_with(closeMark))
            continue;
        const std::size_t at = title.rfind(openMark);
        if (at == std::string_view::npos || at == 0)
            continue;
        const std::string_view inside = Trim(title.substr(at + openMark.size(), title.size() - closeMark.size() - at - openMark.size()));
        if (LooksLikeAuthor(inside) && !Trim(title.substr(0, at)).empty()) {
            info.name = Name(title.substr(0, at));
            info.author = std::string(inside);
            return info;
        }
    }
    // "书名_作者".
    if (const std::size_t at = title.rfind('_'); at != std::string_view::npos && at > 0) {
        const std::string_view author = Trim(title.substr(at + 1));
        if (LooksLikeAuthor(author) && !Trim(title.substr(0, at)).empty()) {
            info.name = Name(title.substr(0, at));
            info.author = std::string(author);
            return info;
        }
    }
    return info;
}

GuessedBookInfo BookInfoFromFirstLines(std::string_view text)
{
    GuessedBookInfo info;
    // The first few lines that are not blank.
    std::size_t lines = 0;
    while (!text.empty() && lines < 10) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty())
            continue;
        // "《书名》 作者：某人" as the first line says what such a file name says.
        if (++lines == 1 && line.starts_with("《")) {
            const GuessedBookInfo fromLine = BookInfoFromTitle(line);
            if (!fromLine.author.empty() || fromLine.name.size() + 6 >= line.size())
                info = fromLine;
            continue;
        }
        for (std::string_view label : {"书名", "書名"}) {
            if (const std::size_t at = LabelLength(line, label); at && info.name.empty())
                info.name = Name(line.substr(at));
        }
        for (std::string_view label : {"作者", "著者"}) {
            if (const std::size_t at = LabelLength(line, label); at && info.author.empty()) {
                const std::string_view author = Trim(line.substr(at));
                if (LooksLikeAuthor(author))
                    info.author = std::string(author);
            }
        }
    }
    return info;
}

GuessedBookInfo GuessBookInfo(std::string_view title, std::string_view firstLines)
{
    GuessedBookInfo info = BookInfoFromTitle(title);
    const GuessedBookInfo lines = BookInfoFromFirstLines(firstLines);
    if (info.name.empty())
        info.name = lines.name;
    if (info.author.empty())
        info.author = lines.author;
    if (info.name.empty())
        info.name = Name(title);
    return info;
}
