// bookmaker-cli [options] SOURCE...: reads the sources through the same import as the
// window, then writes the book with the jar builder.
#include "cli/cli_commands.h"
#include "cli/cli_paths.h"
#include "cli/progress_line.h"
#include "jar/jar_builder.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "sources/source_files.h"
#include "sources/source_list.h"
#include "sources/text_import.h"

#include <new>

namespace fs = std::filesystem;

namespace {

constexpr char kOpenFailedMessage[] = "打开文件出错!";
constexpr char kNothingToBuildMessage[] = "没有要生成的内容!";

class CCancelled {};

// Reads one file into the list and says what it found. False when the file cannot be
// opened.
bool AddFile(CSourceList& list, const std::string& path, std::ostream& out)
{
    const std::string title = TitleFromFileName(FileNameOf(path));
    AddedSource added;
    if (!AddSourceFile(list, path, title, &added))
        return false;
    if (title.empty())
        out << "跳过：" << path << "（标题为空）\n";
    else
        out << "添加：" << title << "（" << EncodingName(added.encoding) << "，" << added.parts << " 部分）\n";
    return true;
}

// Every source in order: a folder gives its .txt files, in natural order by name. A file of
// a folder that cannot be opened is skipped with a note; a file named on the command line
// must be there.
bool ReadSources(const std::vector<std::string>& sources, CSourceList& list, std::ostream& out, std::ostream& err)
{
    for (const std::string& source : sources) {
        if (g_cancelRequested)
            throw CCancelled();
        std::error_code ec;
        const fs::file_status status = fs::status(U8Path(source), ec);
        if (fs::is_directory(status)) {
            for (const std::string& file : ScanFolder(source)) {
                if (g_cancelRequested)
                    throw CCancelled();
                if (!AddFile(list, file, out))
                    err << "跳过无法打开的文件：" << file << '\n';
            }
        } else if (!fs::exists(status)) {
            ReportFailure(err, CFileException(CFileException::fileNotFound, 0, source));
            return false;
        } else if (!AddFile(list, source, out)) {
            err << kOpenFailedMessage << '\n' << "  " << source << '\n';
            return false;
        }
    }
    return true;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(U8Path(a), U8Path(b), ec);
}

} // namespace

int RunBuild(const CliOptions& options, const CliContext& context, std::ostream& out, std::ostream& err)
{
    CProgressLine progress(err, context.stderrIsTerminal, context.clock);
    const std::string templatePath = ResolveTemplate(options.templatePath, context.executablePath);
    const std::string outputPath = ResolveOutput(options.output, options.name);
    try {
        // What the builder would refuse is refused before the sources are read.
        std::uint64_t size;
        if (!IsValidBookName(options.name))
            throw CJarException(CJarException::badBookName);
        if (!CFile::GetSize(templatePath, size))
            throw CJarException(CJarException::templateMissing, templatePath);
        if (SameFile(templatePath, outputPath)) {
            err << "电子书不能写在模板上：" << outputPath << "\n用 bookmaker-cli --help 查看用法。\n";
            return 2;
        }

        CSourceList list;
        try {
            if (!ReadSources(options.sources, list, out, err))
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
