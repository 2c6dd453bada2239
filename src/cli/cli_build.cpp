// bookmaker-cli [options] SOURCE...: reads the sources through the same import as the
// window, then writes the book with the jar builder.
#include "cli/cli_commands.h"
#include "cli/cli_paths.h"
#include "cli/progress_line.h"
#include "cli/source_reader.h"
#include "jar/jar_exception.h"
#include "jar/make_book.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "platform/user_texts.h"
#include "sources/book_info_guess.h"
#include "sources/source_files.h"
#include "sources/reading_texts.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "sources/text_sniff.h"

#include <algorithm>
#include <new>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The files to read, in order: a folder gives its .txt files in natural order by name.
// A file named on the command line must be there and open; a file of a folder that cannot
// be opened is skipped with a note.
struct SourceFile {
    std::string path;
    bool named;  // given on the command line
};

void ReportOpenFailed(std::ostream& err, const CException& failure)
{
    err << kOpenFileFailedMessage << '\n';
    ReportFailure(err, failure);
}

// A file that could not be opened, or whose text ran out of memory while it was decoded.
void ReportOpenFailed(std::ostream& err, const std::string& path)
{
    err << kOpenFileFailedMessage << '\n' << "  " << path << '\n';
}

// What kept a file from being read, and for a folder's file left out (leftOut) that it was
// skipped.
void ReportSourceFault(std::ostream& err, const SourceRead& read, bool leftOut)
{
    if (!read.failure) {  // it could not be opened
        if (leftOut)
            err << "跳过无法打开的文件：" << read.path << '\n';
        else
            ReportOpenFailed(err, read.path);
        return;
    }
    try {
        std::rethrow_exception(read.failure);
    } catch (const CNotTextException& e) {
        err << e.Message() << (leftOut ? "（已跳过）\n" : "\n");
    } catch (const CFileException& e) {
        ReportOpenFailed(err, e);
    } catch (const CException& e) {
        // Read, but it could not be split into parts; or memory ran out reading it.
        ReportFailure(err, e);
    } catch (const std::exception&) {
        ReportOpenFailed(err, read.path);  // larger than a text can be held
    }
}

// False, with the reason written, for a named source that is missing, a pipe or a device,
// or a folder that cannot be listed.
bool ListSources(const std::vector<std::string>& sources, std::vector<SourceFile>& files, std::ostream& err)
{
    for (const std::string& source : sources) {
        std::error_code ec;
        const fs::file_status status = fs::status(U8Path(source), ec);
        if (fs::is_directory(status)) {
            try {
                for (std::string& file : ScanFolder(source))
                    files.push_back({std::move(file), false});
            } catch (const CFileException& e) {
                ReportOpenFailed(err, e);
                return false;
            }
        } else if (fs::is_regular_file(status)) {
            files.push_back({source, true});
        } else {
            // A pipe or a device: its size says nothing and reading it may never end.
            ReportFailure(err, CFileException(fs::exists(status) ? CFileException::notRegularFile
                                                                  : CFileException::fileNotFound,
                                              0, source));
            return false;
        }
    }
    return true;
}

// Reads every file through the same import as the window (on worker threads, handed over
// in order) and says what each held. False, with the reason written, after a file named on
// the command line could not be opened or is not a text, or a file could not be read.
bool ReadSources(const std::vector<SourceFile>& files, bool byChapters, const SourceReading& reading,
                 CSourceList& list, std::ostream& out, std::ostream& err)
{
    bool warned = false;
    std::vector<std::string> paths;
    for (const SourceFile& f : files)
        paths.push_back(f.path);
    std::size_t i = 0;
    bool failed = false;
    auto take = [&](SourceRead& read) {
        const bool named = files[i++].named;
        const SourceFault fault = FaultOf(read.opened, read.failure);
        if (fault != SourceFault::none) {
            const bool leftOut = !named && IsLeftOutOfFolder(fault);
            ReportSourceFault(err, read, leftOut);
            failed = failed || !leftOut;
            return leftOut;
        }
        if (read.title.empty()) {
            out << "跳过：" << read.path << "（标题为空）\n";
        } else {
            out << "添加：" << read.added.title << "（" << ReadingDescription(read.added.encoding, reading.conversion)
                << "，" << read.added.parts << " 部分";
            if (byChapters && read.added.chapters)
                out << "，" << read.added.chapters << " 章";
            else if (byChapters)
                out << "，" << NoChaptersText(read.added, reading);
            out << "）\n";
        }
        if (read.added.implausible) {
            err << ImplausibleWarning(read.path, read.added.encoding) << '\n';
            warned = true;
        }
        if (read.added.markOverrode && reading.encoding)
            err << MarkOverrodeWarning(read.path, read.added.encoding, *reading.encoding) << '\n';
        for (const BookPart& part : read.list.GetParts())
            list.AddEntry(part.title, part.text, false);
        return true;
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    ReadSourcesInOrder(paths, threads, 2 * threads + 2, g_cancelRequested, take, byChapters, reading);
    if (warned && !failed)
        err << "  书照样生成；编码不对时，用 --encoding 指定编码（gbk、big5、utf-8、utf-16le、utf-16be）。\n";
    return !failed;
}

std::string Absolute(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(U8Path(path), ec);
    return ec ? path : Utf8Path(absolute);
}

// Every file written, with the parts each jar holds, and the older volumes taken away.
void ReportWritten(const BookResult& book, std::uint64_t maxJarBytes, std::ostream& out)
{
    for (const BookVolume& v : book.volumes) {
        out << "已生成：" << Absolute(v.jarPath) << "（";
        if (book.volumes.size() == 1)
            out << v.parts << " 部分";
        else if (v.parts == 1)
            out << "第 " << v.firstPart + 1 << " 部分";
        else
            out << "第 " << v.firstPart + 1 << "–" << v.firstPart + v.parts << " 部分";
        out << "，" << v.bytes << " 字节）\n";
        out << "已生成：" << Absolute(v.jadPath) << '\n';
    }
    for (const auto& [said, path] : DescribeCleanup(book))
        out << said << Absolute(path) << '\n';
    if (book.volumes.size() > 1)
        out << "共 " << book.volumes.size() << " 卷，" << book.parts << " 部分，每卷不超过 "
            << SizeLimitText(maxJarBytes) << "。\n";
}

void StopIfCancelled()
{
    if (g_cancelRequested)
        throw CJarException(CJarException::cancelled);
}

} // namespace

namespace {

// The name and author a single source gives where the command gave none (-n, -a); the
// name is empty when the source gives none either.
CliOptions WithBookInfoFromSource(CliOptions options, std::ostream& out)
{
    if (options.sources.size() != 1 || (!options.name.empty() && options.authorGiven))
        return options;
    const std::string& path = options.sources[0];
    std::error_code ec;
    GuessedBookInfo info;
    if (fs::is_directory(U8Path(path), ec)) {
        fs::path folder = fs::absolute(U8Path(path), ec).lexically_normal();
        if (!folder.has_filename())
            folder = folder.parent_path();
        info.name = Utf8Path(folder.filename());
    } else
        info = GuessBookInfo(TitleFromFileName(path), ReadTextStart(path, options.reading));
    if (options.name.empty() && !info.name.empty()) {
        options.name = info.name;
        out << "书名：" << info.name << "（取自来源）\n";
    }
    if (!options.authorGiven && !info.author.empty()) {
        options.author = info.author;
        out << "作者：" << info.author << "（取自来源）\n";
    }
    return options;
}

} // namespace

int RunBuild(const CliOptions& given, const CliContext& context, std::ostream& out, std::ostream& err)
{
    const CliOptions options = WithBookInfoFromSource(given, out);
    if (options.name.empty()) {
        ReportUsageError(err, CUsageError(kNeedBookNameMessage));
        return 2;
    }
    CProgressLine progress(err, context.stderrIsTerminal, context.clock);
    BookRequest request;
    request.book = BookInfo {options.name, options.author, options.maker};
    request.templatePath = ResolveTemplate(options.templatePath, context.executablePath);
    request.jarPath = ResolveOutput(options.output, options.name);
    request.maxJarBytes = options.maxJarBytes;
    request.compression = options.compression;
    request.progress = [&progress](std::size_t done, std::size_t total) {
        StopIfCancelled();
        progress.Update(done, total);
    };
    // Said as it happens, before the book is written: it stands whether the build succeeds.
    request.recovery = [&out, &err](const RecoveryReport& report) {
        for (const RecoveryLine& line : DescribeRecovery(report))
            (line.refused ? err : out) << (line.refused ? "警告：" : "") << line.said << Absolute(line.path)
                                       << line.why << '\n';
    };
    try {
        std::vector<SourceFile> files;
        if (!ListSources(options.sources, files, err))
            return 1;
        for (const SourceFile& f : files)
            request.sourcePaths.push_back(f.path);
        // What the build would refuse is refused before the sources are read.
        CheckedBookRequest checked;
        try {
            checked = CheckBookRequest(request);
        } catch (const CJarException& e) {
            if (e.GetCause() != CJarException::outputIsSource && e.GetCause() != CJarException::outputIsTemplate &&
                e.GetCause() != CJarException::outputIsDescriptor &&
                e.GetCause() != CJarException::outputNameEndsBadly)
                throw;
            // The book would replace the template or a text it is made from: a mistake in
            // the command.
            ReportUsageError(err, e);
            return 2;
        }

        CSourceList list;
        if (!ReadSources(files, options.byChapters, options.reading, list, out, err))
            return 1;
        StopIfCancelled();
        const BookResult book = MakeBook(checked, list.GetParts());
        progress.Finish();

        ReportWritten(book, options.maxJarBytes, out);
        return 0;
    } catch (const CException& e) {
        progress.Finish();
        ReportFailure(err, e);
    } catch (const std::bad_alloc&) {
        progress.Finish();
        err << kBookOutOfMemoryMessage << '\n';
    }
    return 1;
}
