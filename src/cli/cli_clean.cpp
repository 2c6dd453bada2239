// bookmaker-cli clean FILE... [--why]: what --clean would change in each file, without
// making a book: each line removed, each site's text cut from a line, each run of wrapped
// lines joined into one paragraph, by line numbers of the file; with --why also the reason
// for each removal and the wrap width found.
#include "cli/cli_commands.h"
#include "platform/user_texts.h"
#include "sources/reading_texts.h"
#include "sources/source_files.h"
#include "sources/text_sniff.h"

namespace {

const char* ReasonText(SiteReason reason)
{
    switch (reason) {
    case SiteReason::address: return "网址和网站名";
    case SiteReason::promotion: return "网站的推广语，带网址";
    case SiteReason::note: return "网站的说明，如“本书由……整理”";
    case SiteReason::glued: return "接在正文后或括号里的网址和推广语";
    case SiteReason::none: break;
    }
    return "";
}

// False, with the reason written, when the file could not be read.
bool ListCleaning(const std::string& path, bool why, const SourceReading& reading, std::ostream& out,
                  std::ostream& err)
{
    CleanedSource cleaned;
    if (!ReadForListing(path, err, [&] { return ReadCleanedSource(path, reading, cleaned); }))
        return false;
    if (cleaned.implausible)
        err << ImplausibleWarning(path, cleaned.encoding) << '\n';
    if (cleaned.markOverrode && reading.encoding)
        err << MarkOverrodeWarning(path, cleaned.encoding, *reading.encoding) << '\n';
    std::size_t removed = 0, cut = 0, joined = 0;
    for (const CleanChange& c : cleaned.report.changes) {
        removed += c.kind == CleanChangeKind::siteLine;
        cut += c.kind == CleanChangeKind::siteText;
        joined += c.kind == CleanChangeKind::joined;
    }
    out << path << "\n  " << ReadingDescription(cleaned.encoding, reading.conversion) << "，删除网站行 " << removed
        << " 行，删去行中网站文字 " << cut << " 处，";
    if (cleaned.report.wrapWidth)
        out << "折行接合 " << joined << " 段";
    else
        out << "没有固定宽度的折行";
    out << '\n';
    if (why && cleaned.report.wrapWidth)
        out << "  折行宽度：" << cleaned.report.wrapWidth
            << "（半角字符宽；到这个宽度的行与下一行接合，下一行缩进、是标题或列表项时除外）\n";
    for (const CleanChange& c : cleaned.report.changes) {
        switch (c.kind) {
        case CleanChangeKind::siteLine:
            out << "  删除 第 " << c.line << " 行：" << c.text;
            break;
        case CleanChangeKind::siteText:
            out << "  删去 第 " << c.line << " 行中：" << c.text;
            break;
        case CleanChangeKind::joined:
            out << "  接合 第 " << c.line << "-" << c.lastLine << " 行\n";
            continue;
        }
        if (why)
            out << "（" << ReasonText(c.reason) << "）";
        out << '\n';
    }
    return true;
}

} // namespace

int RunClean(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    bool failed = false;
    for (const std::string& path : options.sources)
        failed = !ListCleaning(path, options.why, options.reading, out, err) || failed;
    return failed ? 1 : 0;
}
