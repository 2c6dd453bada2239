#include "jar/make_book.h"

#include "jar/book_files.h"
#include "jar/book_name.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"
#include "platform/file.h"

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
    // Volumes are named "(1)" and up: the first one's name is known before any text is read,
    // and the volumes there now may be replaced or removed: a read-only one is refused now,
    // not after every text was read and packed.
    CheckBookFileNames(request.jarPath, request.maxJarBytes ? 1 : 0);
    if (request.maxJarBytes) {
        for (std::size_t n = 1;; ++n) {
            const std::string jar = VolumePathFor(request.jarPath, n);
            std::uint64_t size = 0;
            if (!CFile::GetSize(jar, size) && !CFile::GetSize(JadPathFor(jar), size))
                break;
            CheckBookPaths(jar, request.templatePath, request.sourcePaths);
        }
    }
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
        RecoveryReport recovered;
        builder.SetRecoveryReport([&recovered, &request](const RecoveryReport& report) {
            recovered = report;
            if (request.recovery)
                request.recovery(report);
        });
        if (request.volumeStarted)
            builder.SetVolumeStarted(request.volumeStarted);
        if (request.clock)
            builder.SetClock(request.clock);
        builder.SetMaxJarSize(request.maxJarBytes);
        builder.SetCompression(request.compression);
        builder.BuildTo(*checked.templ, request.jarPath);
        return BookResult {builder.GetVolumes(), parts.size(), builder.GetRemovedFiles(), std::move(recovered)};
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
    return lines;
}

std::vector<RecoveryLine> DescribeRecovery(const RecoveryReport& report)
{
    std::vector<RecoveryLine> lines;
    for (const RecoveredFile& file : report.done)
        lines.push_back({RecoveredFileText(file.action), file.path, {}, false});
    for (const RefusedRecord& record : report.refused)
        lines.push_back({RefusedRecordText(), record.path, "（" + record.reason + "）", true});
    return lines;
}
