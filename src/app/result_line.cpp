#include "app/result_line.h"

#include "platform/path.h"

#include <cstdio>
#include <vector>

std::string FormatSize(std::uint64_t bytes)
{
    constexpr std::uint64_t kKiB = 1024;
    constexpr std::uint64_t kMiB = kKiB * kKiB;
    char text[32];
    if (bytes < kMiB) {
        // Rounded up: a file is never said to be smaller than it is.
        std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>((bytes + kKiB - 1) / kKiB));
    } else {
        // Tenths of a MB, rounded up for the same reason.
        const std::uint64_t tenths = (bytes * 10 + kMiB - 1) / kMiB;
        std::snprintf(text, sizeof text, "%llu.%llu MB", static_cast<unsigned long long>(tenths / 10),
                      static_cast<unsigned long long>(tenths % 10));
    }
    return text;
}

std::string ShortenedFolder(const std::string& folder)
{
    // The parts between separators; a leading "\\" (a network path) stays with the first.
    std::size_t start = 0;
    while (start < folder.size() && IsPathSeparator(folder[start]))
        ++start;
    std::vector<std::string> parts;
    for (std::size_t i = start; i < folder.size();) {
        std::size_t end = i;
        while (end < folder.size() && !IsPathSeparator(folder[end]))
            ++end;
        if (end > i)
            parts.push_back(folder.substr(i, end - i));
        i = end + 1;
    }
    if (parts.size() <= 3)
        return folder;
    const char separator = folder[start + parts.front().size()];  // the first part starts at start
    return folder.substr(0, start) + parts.front() + separator + "…" + separator + parts.back();
}

std::string DescribeWrittenBook(const BookResult& book, bool brief)
{
    if (book.volumes.empty())
        return {};
    const std::string& first = book.volumes.front().jarPath;
    const std::string name = FileNameOfPath(first);
    const std::string folder = first.substr(0, first.size() - name.size());
    // The folder without its last separator, unless that is all there is of it ("C:\").
    std::string where = folder;
    if (where.size() > 1 && IsPathSeparator(where.back()) && where[where.size() - 2] != ':')
        where.pop_back();
    if (brief)
        where = ShortenedFolder(where);

    std::uint64_t total = 0;
    for (const BookVolume& volume : book.volumes)
        total += volume.bytes;

    std::string line;
    if (book.volumes.size() == 1) {
        line = "已生成 " + name + "（" + FormatSize(total) + "），位于 " + where + "。";
    } else {
        line = "已生成 " + std::to_string(book.volumes.size()) + " 卷：" + name + " 至 " +
               FileNameOfPath(book.volumes.back().jarPath) + "，共 " + FormatSize(total) + "，位于 " + where + "。";
    }
    if (brief && book.removed.size() > 2) {
        line += "已删除 " + std::to_string(book.removed.size()) + " 个旧的分卷文件（" +
                FileNameOfPath(book.removed.front()) + " 等）。";
    } else if (!book.removed.empty()) {
        line += "已删除旧的分卷 ";
        for (std::size_t i = 0; i < book.removed.size(); ++i)
            line += (i ? "、" : "") + FileNameOfPath(book.removed[i]);
        line += "。";
    }
    std::size_t restored = 0;
    const std::vector<RecoveredFile>& recovered = book.recovery.done;
    for (const RecoveredFile& file : recovered)
        restored += file.action == RecoveredFile::restored ? 1 : 0;
    if (restored)
        line += "已恢复中断的生成换下的 " + std::to_string(restored) + " 个旧文件。";
    if (recovered.size() > restored)
        line += "已删除中断的生成留下的 " + std::to_string(recovered.size() - restored) + " 个文件。";
    // A record left alone stays beside the book: named, with why, so it can be looked at.
    for (const RefusedRecord& record : book.recovery.refused)
        line += "未处理的生成记录 " + FileNameOfPath(record.path) + "（" + record.reason + "）。";
    if (book.volumes.size() == 1 && total > kLargeJarBytes)
        line += "超过 1 MB 的 jar 有些手机装不下，可用 工具 > 分卷大小 分卷。";
    return line;
}

std::string ListedNames(const std::vector<std::string>& names, std::size_t most, const std::string& indent)
{
    std::string text;
    // A last line "等 1 个文件" would take the place of the name it stands for.
    const std::size_t shown = names.size() <= most ? names.size() : (most ? most - 1 : 0);
    for (std::size_t i = 0; i < shown; ++i)
        text += indent + names[i] + "\r\n";
    if (shown < names.size())
        text += indent + "……等 " + std::to_string(names.size()) + " 个文件\r\n";
    return text;
}
