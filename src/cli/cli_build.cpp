// bookmaker-cli [options] SOURCE...: reads the sources through the same import as the
// window, then writes the book with the jar builder.
#include "cli/cli_commands.h"
#include "cli/cli_paths.h"
#include "cli/progress_line.h"
#include "cli/source_reader.h"
#include "jar/book_name.h"
#include "jar/jar_builder.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "sources/source_files.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "sources/text_sniff.h"

#include <algorithm>
#include <new>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr char kOpenFailedMessage[] = "打开文件出错!";
constexpr char kNothingToBuildMessage[] = "没有要生成的内容!";

class CCancelled {};
class CReported {};  // a failure already written to stderr

// The files to read, in order: a folder gives its .txt files in natural order by name.
// A file named on the command line must be there and open; a file of a folder that cannot
// be opened is skipped with a note.
struct SourceFile {
    std::string path;
    bool named;  // given on the command line
};

bool ListSources(const std::vector<std::string>& sources, std::vector<SourceFile>& files, std::ostream& err)
{
    for (const std::string& source : sources) {
        std::error_code ec;
        const fs::file_status status = fs::status(U8Path(source), ec);
        if (fs::is_directory(status)) {
            for (std::string& file : ScanFolder(source))
                files.push_back({std::move(file), false});
        } else if (fs::is_regular_file(status)) {
            files.push_back({source, true});
        } else if (fs::exists(status)) {
            // A pipe or a device: its size says nothing and reading it may never end.
            ReportFailure(err, CFileException(CFileException::notRegularFile, 0, source));
            return false;
        } else {
            ReportFailure(err, CFileException(CFileException::fileNotFound, 0, source));
            return false;
        }
    }
    return true;
}

// Reads every file through the same import as the window (on worker threads, handed over
// in order) and says what each held. False after a file named on the command line could
// not be opened or is not a text.
bool ReadSources(const std::vector<SourceFile>& files, CSourceList& list, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> paths;
    for (const SourceFile& f : files)
        paths.push_back(f.path);
    std::size_t i = 0;
    auto take = [&](SourceRead& read) {
        const bool named = files[i++].named;
        if (read.failure) {
            try {
                std::rethrow_exception(read.failure);
            } catch (const CNotTextException& e) {
                // A picture or an archive: one named on the command line stops the build,
                // one found in a folder is left out.
                err << e.Message() << (named ? "\n" : "（已跳过）\n");
                if (named)
                    throw CReported();
                return;
            }
        }
        if (!read.opened) {
            if (!named) {
                err << "跳过无法打开的文件：" << read.path << '\n';
                return;
            }
            err << kOpenFailedMessage << '\n' << "  " << read.path << '\n';
            throw CReported();
        }
        if (read.title.empty())
            out << "跳过：" << read.path << "（标题为空）\n";
        else
            out << "添加：" << read.title << "（" << EncodingName(read.added.encoding) << "，" << read.added.parts
                << " 部分）\n";
        const std::vector<std::string>& titles = read.list.GetTitles();
        const std::vector<std::string>& texts = read.list.GetTexts();
        for (std::size_t k = 0; k < titles.size(); ++k)
            list.AddEntry(titles[k], texts[k], false);
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    try {
        ReadSourcesInOrder(paths, threads, 2 * threads + 2, g_cancelRequested, take);
    } catch (const CReported&) {
        return false;
    }
    if (g_cancelRequested)
        throw CCancelled();
    return true;
}

} // namespace

int RunBuild(const CliOptions& options, const CliContext& context, std::ostream& out, std::ostream& err)
{
    CProgressLine progress(err, context.stderrIsTerminal, context.clock);
    const std::string templatePath = ResolveTemplate(options.templatePath, context.executablePath);
    const std::string outputPath = ResolveOutput(options.output, options.name);
    try {
        // What the builder would refuse is refused before the sources are read.
        CheckBookName(options.name);
        CheckTemplatePresent(templatePath);
        CheckTemplate(templatePath);

        CSourceList list;
        std::vector<std::string> sourcePaths;
        try {
            std::vector<SourceFile> files;
            if (!ListSources(options.sources, files, err))
                return 1;
            for (const SourceFile& f : files)
                sourcePaths.push_back(f.path);
            try {
                CheckBookPath(outputPath, templatePath, sourcePaths);
            } catch (const CJarException& e) {
                if (e.GetCause() == CJarException::outputNotFile)
                    throw;
                // The book would replace the template or a text it is made from: a mistake
                // in the command, refused before anything is read.
                ReportFailure(err, e);
                err << "用 bookmaker-cli --help 查看用法。\n";
                return 2;
            }
            if (!ReadSources(files, list, out, err))
                return 1;
        } catch (const CFileException& e) {
            err << kOpenFailedMessage << '\n';
            ReportFailure(err, e);
            return 1;
        }
        if (list.GetCount() == 0) {
            err << kNothingToBuildMessage << '\n';
            return 1;
        }

        CJarBuilder builder(BookInfo {options.name, options.author, options.maker});
        builder.SetContents(list.GetTitles(), list.GetTexts());
        builder.SetProtectedFiles(sourcePaths);
        builder.SetProgress([&progress](std::size_t done, std::size_t total) {
            if (g_cancelRequested)
                throw CCancelled();
            progress.Update(done, total);
        });
        builder.BuildTo(templatePath, outputPath);
        progress.Finish();

        std::uint64_t bytes = 0;
        CFile::GetSize(outputPath, bytes);
        std::error_code ec;
        const fs::path absolute = fs::absolute(U8Path(outputPath), ec);
        out << "已生成：" << (ec ? outputPath : Utf8Path(absolute)) << "（" << list.GetCount() << " 部分，" << bytes
            << " 字节）\n";
        return 0;
    } catch (const CException& e) {
        progress.Finish();
        ReportFailure(err, e);
    } catch (const CCancelled&) {
        progress.Finish();
        ReportFailure(err, CJarException(CJarException::cancelled));
    } catch (const std::bad_alloc&) {
        progress.Finish();
        err << "内存不足，无法生成电子书。\n";
    }
    return 1;
}
