// bookmaker-cli chapters FILE... [--why]: what --chapters would make of each file, before
// making it: the encoding, then one line per part (its number, the line of the source it
// begins on, its size in characters, its title); with --why also the lines that looked like
// headings and were refused, with the reason.
#include "cli/cli_commands.h"
#include "platform/file_exception.h"
#include "platform/user_texts.h"
#include "sources/chapters.h"
#include "sources/source_files.h"
#include "sources/reading_texts.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "sources/text_sniff.h"

#include <iomanip>

namespace {

const char* RefusalText(ChapterRefusal reason)
{
    switch (reason) {
    case ChapterRefusal::runningText: return "标题后接着句子，是正文";
    case ChapterRefusal::noTitleAfterMark: return "章节号后只有标点，是正文";
    case ChapterRefusal::outOfSequence: return "章节号与前后不接续";
    case ChapterRefusal::tableOfContents: return "目录中的一项";
    case ChapterRefusal::insideTheBook: return "序、楔子、尾声之类在正文中间";
    case ChapterRefusal::notTheBooksPattern: return "全书不用这种标题";
    }
    return "";
}

// Characters (code points) of well-formed UTF-8.
std::size_t Characters(const std::string& text)
{
    std::size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// Line ends in text (LF, CR LF, CR alone), the CR of a CR LF at the end counted.
std::size_t LineEnds(const std::string& text)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            ++n;
        else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            ++n;
    }
    return n;
}

// Blank lines at the start of a part (the first part takes them with its heading).
std::size_t LeadingBlankLines(const std::string& text)
{
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 3, "\u3000") == 0) {
            i += 3;
        } else if (text[i] == ' ' || text[i] == '\t') {
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            ++lines;
            i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
        } else {
            break;
        }
    }
    return lines;
}

// False, with the reason written, when the file could not be read.
bool ListChapters(const std::string& path, bool why, const SourceReading& reading, std::ostream& out,
                  std::ostream& err)
{
    const std::string title = TitleFromFileName(path);
    CSourceList list;
    AddedSource added;
    // The same import as --chapters, so the list is exactly what the book gets.
    if (!ReadForListing(path, err, [&] { return AddSourceFile(list, path, title.empty() ? "?" : title, &added, true, {}, reading); }))
        return false;
    if (added.implausible)
        err << ImplausibleWarning(path, added.encoding) << '\n';
    if (added.markOverrode && reading.encoding)
        err << MarkOverrodeWarning(path, added.encoding, *reading.encoding) << '\n';
    out << path << "\n  " << ReadingDescription(added.encoding, reading.conversion) << "，" << added.parts << " 部分";
    if (added.chapters)
        out << "，" << added.chapters << " 章\n";
    else
        out << "，" << NoChaptersText(added, reading) << "（按不分章节导入）\n";
    // The line shown is where the part's text begins, after blank lines.
    out << "  序号    行号      字数  标题\n";
    const std::vector<BookPart>& parts = list.GetParts();
    std::size_t line = 1;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        out << "  " << std::setw(4) << i + 1 << "  " << std::setw(6) << line + LeadingBlankLines(parts[i].text) << "  "
            << std::setw(8) << Characters(parts[i].text) << "  " << parts[i].title << '\n';
        line += LineEnds(parts[i].text);  // cuts keep a CR LF together
    }
    if (why) {
        out << "  未采用的标题行：" << (added.refusedHeadings.empty() ? "无" : "") << '\n';
        for (const RefusedHeading& r : added.refusedHeadings)
            out << "    第 " << r.line << " 行：" << r.text << "（" << RefusalText(r.reason) << "）\n";
    }
    return true;
}

} // namespace

std::string NoChaptersText(const AddedSource& added, const SourceReading& reading)
{
    if (added.patternGaveUpLine)
        return "章节规则在第 " + std::to_string(added.patternGaveUpLine) + " 行匹配时回溯过多，已放弃这条规则";
    if (reading.chapterPattern)
        return "章节规则“" + reading.chapterPattern->Text() + "”没有匹配任何一行";
    return "未找到章节";
}

int RunChapters(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    bool failed = false;
    for (const std::string& path : options.sources)
        failed = !ListChapters(path, options.why, options.reading, out, err) || failed;
    return failed ? 1 : 0;
}
