// bookmaker-cli inspect BOOK.jar: the entries, the index and the parts of a book, every
// entry's data checked against its CRC, and the JAD beside it checked against it.
#include "cli/cli_commands.h"
#include "jar/book_check.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "platform/exception.h"
#include "zip/zip_exception.h"

#include <cstdio>

namespace {

std::string Hex(std::uint32_t v)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", v);
    return text;
}

std::string Method(std::uint16_t method)
{
    if (method == 0)
        return "stored ";
    if (method == 8)
        return "deflate";
    return "方法" + std::to_string(method);
}

} // namespace

int RunInspect(const std::string& path, std::ostream& out, std::ostream& err)
{
    BookInspection book;
    try {
        book = InspectBook(path);
    } catch (const CZipException& e) {
        // The engine's texts are English: the user is told in the program's words.
        if (IsDamagedArchiveCause(e.GetCause()))
            err << "不是有效的 jar 文件，或者文件已损坏：" << path << '\n';
        else
            err << "无法读取电子书（压缩引擎代码 " << e.GetCause() << "）：" << path << '\n';
        return 1;
    } catch (const CException& e) {
        ReportFailure(err, e);
        return 1;
    }

    out << "条目（" << book.entries.size() << "）：\n";
    for (const BookEntryCheck& e : book.entries) {
        out << "  " << Method(e.method) << "  " << e.size << " → " << e.compressedSize << "  CRC " << Hex(e.crc)
            << "  " << e.name << "  " << (e.problem.empty() ? "正确" : e.problem) << '\n';
    }
    if (book.indexLines.size() >= 3) {
        out << "索引：\n  作者：" << book.indexLines[0] << "\n  制作者：" << book.indexLines[1]
            << "\n  书名：" << book.indexLines[2] << '\n';
        for (std::size_t i = 0; i < book.partSizes.size(); ++i) {
            out << "  " << PartEntryName(i) << "  " << book.indexLines[3 + i] << "  ";
            if (book.partSizes[i] < 0)
                out << "缺少\n";
            else
                out << book.partSizes[i] << " 字节\n";
        }
    }
    if (!book.jadPath.empty())
        out << "描述文件：" << book.jadPath << '\n';
    for (const std::string& problem : book.problems)
        out << "问题：" << problem << '\n';
    std::size_t bad = book.problems.size();
    for (const BookEntryCheck& e : book.entries)
        bad += e.problem.empty() ? 0 : 1;
    if (bad == 0) {
        out << "检查结果：正确\n";
        return 0;
    }
    out << "检查结果：" << bad << " 处问题\n";
    return 1;
}
