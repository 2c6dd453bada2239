#include "jar/book_check.h"

#include "jar/archive_check.h"
#include "jar/book_name.h"
#include "jar/jar_contents.h"
#include "platform/file.h"
#include "platform/utf16.h"
#include "platform/utf8_sequence.h"
#include "sources/text_import.h"

#include <algorithm>
#include <map>

namespace {

// Entries kept in memory for the content checks (manifest, index, parts) up to this size;
// the rest is only checked against its size and CRC as it streams by.
constexpr std::uint32_t kKeepLimit = 64u << 20;

void CheckManifest(const std::string& manifest, std::vector<std::string>& problems)
{
    if (!IsValidUtf8(manifest.data(), manifest.size()))
        problems.push_back("清单不是有效的 UTF-8");
    // A line ends at LF, CR LF or a lone CR.
    std::size_t line = 1;
    for (std::size_t from = 0; from < manifest.size(); ++line) {
        std::size_t to = manifest.find_first_of("\r\n", from);
        to = to == std::string::npos ? manifest.size() : to + (manifest.compare(to, 2, "\r\n") == 0 ? 2 : 1);
        if (to - from > kMaxManifestLineBytes)
            problems.push_back("清单第 " + std::to_string(line) + " 行长 " + std::to_string(to - from) +
                               " 字节（含行尾），Java 只接受 " + std::to_string(kMaxManifestLineBytes) + " 字节");
        from = to;
    }
    for (const char* key : {"MIDlet-1: ", "MIDlet-Name: "})
        if (manifest.find(std::string("\n") + key) == std::string::npos)
            problems.push_back(std::string("清单缺少 ") + key);
}

void ReadIndex(const std::string& bytes, BookInspection& book)
{
    if (bytes.size() < 4 || bytes.size() % 2 != 0 || bytes.compare(0, 2, "\xFF\xFE") != 0) {
        book.problems.push_back("index.txt 不是带字节顺序标记的 UTF-16LE");
        return;
    }
    std::u16string units;
    for (std::size_t i = 2; i < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (units.back() != 0)
        book.problems.push_back("index.txt 没有结尾的 NUL");
    else
        units.pop_back();
    const std::string text = Utf16ToUtf8(units);
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        book.indexLines.push_back(text.substr(from, at - from));
    if (from != text.size())
        book.problems.push_back("index.txt 最后一行没有以 CR LF 结束");
    if (book.indexLines.size() < 3)
        book.problems.push_back("index.txt 缺少作者、制作者或书名行");
}

} // namespace

bool BookInspection::Ok() const
{
    if (!problems.empty())
        return false;
    return std::all_of(entries.begin(), entries.end(), [](const BookEntryCheck& e) { return e.problem.empty(); });
}

BookInspection InspectBook(const std::string& path)
{
    BookInspection book;
    ArchiveListing archive = ReadArchive(path);
    book.problems = archive.problems;

    CFile file;
    file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    std::map<std::string, std::size_t> byName;  // the last entry of each name
    std::string manifest, index;
    bool hasManifest = false, hasIndex = false;
    for (std::size_t i = 0; i < archive.entries.size(); ++i) {
        ArchiveEntry& a = archive.entries[i];
        book.entries.push_back({a.name, a.method, a.compressedSize, a.size, a.crc, {}});
        BookEntryCheck& e = book.entries.back();
        const bool isManifest = e.name == "META-INF/MANIFEST.MF";
        const bool isPart = IsPartEntryName(e.name);
        const bool keep = (isManifest || e.name == kIndexEntryName || isPart) && e.size <= kKeepLimit;
        std::string data;
        e.problem = CheckArchiveEntry(file, archive, a, keep, data);
        if (byName.count(e.name))
            book.problems.push_back("重复的条目 " + e.name);
        else if (IsManifestName(e.name) && !isManifest)
            book.problems.push_back("与清单只差大小写的条目 " + e.name);
        byName[e.name] = i;
        if (!e.problem.empty())
            continue;
        if ((isManifest || e.name == kIndexEntryName) && !keep) {
            book.problems.push_back(e.name + " 过大，无法检查");
        } else if (isManifest) {
            manifest = data;
            hasManifest = true;
        } else if (e.name == kIndexEntryName) {
            index = data;
            hasIndex = true;
        } else if (isPart && !keep) {
            e.problem = "超过 " + std::to_string(kPartSize) + " 个 UTF-16 单元";
        } else if (isPart && !IsValidUtf8(data.data(), data.size())) {
            e.problem = "不是有效的 UTF-8";
        } else if (isPart) {
            const std::size_t units = Utf8ToUtf16(data).size();
            if (units > kPartSize)
                e.problem = "超过 " + std::to_string(kPartSize) + " 个 UTF-16 单元（" + std::to_string(units) + "）";
        }
    }
    file.Close();
    const std::string overlap = FindOverlappingEntries(archive);
    if (!overlap.empty())
        book.problems.push_back(overlap);

    if (hasManifest)
        CheckManifest(manifest, book.problems);
    else
        book.problems.push_back("缺少 META-INF/MANIFEST.MF");
    if (hasIndex)
        ReadIndex(index, book);
    else
        book.problems.push_back("缺少 index.txt");

    const std::size_t parts = book.indexLines.size() > 3 ? book.indexLines.size() - 3 : 0;
    if (hasIndex && book.indexLines.size() == 3)
        book.problems.push_back("索引中没有任何部分");
    for (std::size_t i = 0; i < parts; ++i) {
        const auto it = byName.find(PartEntryName(i));
        book.partSizes.push_back(it == byName.end() ? -1 : book.entries[it->second].size);
        if (it == byName.end())
            book.problems.push_back("缺少 " + PartEntryName(i));
    }
    if (byName.count(PartEntryName(parts)))
        book.problems.push_back(PartEntryName(parts) + " 不在索引中");
    return book;
}
