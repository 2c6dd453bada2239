#include "jar/make_book.h"

#include "jar/book_name.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"

#include <new>

void CheckBookRequest(const BookRequest& request)
{
    CheckBookName(request.book.bookName);
    CheckTemplatePresent(request.templatePath);
    CheckTemplate(request.templatePath);
    CheckVolumeLimit(request.templatePath, request.maxJarBytes);
    CheckBookPaths(request.jarPath, request.templatePath, request.sourcePaths);
    // Volumes are named "(1)" and up: the first one's name is known before any text is read.
    CheckBookFileNames(request.jarPath, request.maxJarBytes ? 1 : 0);
}

BookResult MakeBook(const BookRequest& request, const std::vector<std::string>& titles,
                    const std::vector<std::string>& texts)
{
    // What the user has not given yet comes before what is wrong with what was given.
    if (IsBlankBookName(request.book.bookName))
        throw CJarException(CJarException::emptyBookName);
    if (texts.empty())
        throw CJarException(CJarException::nothingToBuild);
    try {
        CJarBuilder builder(request.book);
        builder.SetContents(titles, texts);
        builder.SetProtectedFiles(request.sourcePaths);
        if (request.progress)
            builder.SetProgress(request.progress);
        if (request.clock)
            builder.SetClock(request.clock);
        builder.SetMaxJarSize(request.maxJarBytes);
        builder.SetCompression(request.compression);
        builder.BuildTo(request.templatePath, request.jarPath);
        return BookResult {builder.GetVolumes(), texts.size(), builder.GetRemovedFiles(), builder.GetRecoveredFiles()};
    } catch (const std::bad_alloc&) {
        throw CJarException(CJarException::outOfMemory, request.jarPath);
    }
}

std::vector<std::pair<std::string, std::string>> DescribeCleanup(const BookResult& book)
{
    std::vector<std::pair<std::string, std::string>> lines;
    for (const std::string& path : book.removed)
        lines.emplace_back("已删除旧的分卷：", path);
    for (const RecoveredFile& file : book.recovered)
        lines.emplace_back(RecoveredFileText(file.action), file.path);
    return lines;
}
