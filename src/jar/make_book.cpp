#include "jar/make_book.h"

#include "jar/book_name.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"

#include <new>

namespace {

// A limit below the template's size: no jar could keep it.
void CheckVolumeLimit(const CCheckedTemplate& templ, std::uint64_t maxJarBytes)
{
    const std::uint64_t templateBytes = templ.Size();
    if (maxJarBytes != 0 && maxJarBytes < templateBytes)
        throw CJarException::VolumeBelowTemplate(templ.Path(), maxJarBytes, templateBytes);
}

} // namespace

CheckedBookRequest CheckBookRequest(const BookRequest& request)
{
    CheckBookName(request.book.bookName);
    CheckedBookRequest checked {request, std::make_unique<CCheckedTemplate>(request.templatePath)};
    CheckVolumeLimit(*checked.templ, request.maxJarBytes);
    CheckBookPaths(request.jarPath, request.templatePath, request.sourcePaths);
    // Volumes are named "(1)" and up: the first one's name is known before any text is read.
    CheckBookFileNames(request.jarPath, request.maxJarBytes ? 1 : 0);
    return checked;
}

BookResult MakeBook(CheckedBookRequest& checked, const std::vector<BookPart>& parts)
{
    const BookRequest& request = checked.request;
    if (parts.empty())
        throw CJarException(CJarException::nothingToBuild);
    try {
        CJarBuilder builder(request.book);
        builder.SetParts(parts);
        builder.SetProtectedFiles(request.sourcePaths);
        if (request.progress)
            builder.SetProgress(request.progress);
        if (request.volumeStarted)
            builder.SetVolumeStarted(request.volumeStarted);
        if (request.clock)
            builder.SetClock(request.clock);
        builder.SetMaxJarSize(request.maxJarBytes);
        builder.SetCompression(request.compression);
        builder.BuildTo(*checked.templ, request.jarPath);
        return BookResult {builder.GetVolumes(), parts.size(), builder.GetRemovedFiles(), builder.GetRecoveredFiles()};
    } catch (const std::bad_alloc&) {
        throw CJarException(CJarException::outOfMemory, request.jarPath);
    }
}

BookResult MakeBook(const BookRequest& request, const std::vector<BookPart>& parts)
{
    // What the user has not given yet comes before what is wrong with what was given.
    if (IsBlankBookName(request.book.bookName))
        throw CJarException(CJarException::emptyBookName);
    if (parts.empty())
        throw CJarException(CJarException::nothingToBuild);
    CheckedBookRequest checked = CheckBookRequest(request);
    return MakeBook(checked, parts);
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
