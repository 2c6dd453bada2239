#include "jar/book_check.h"

#include "jar/archive_check.h"
#include "jar/book_files.h"
#include "jar/book_name.h"
#include "jar/jar_contents.h"
#include "platform/ascii.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "platform/utf16.h"
#include "platform/utf8_sequence.h"
#include "sources/text_import.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Entries kept in memory for the content checks (manifest, index, parts) up to this size;
// the rest is only checked against its size and CRC as it streams by.
constexpr std::uint32_t kKeepLimit = 64u << 20;

void CheckManifest(const std::string& manifest, std::vector<std::string>& problems)
{
    if (!IsValidUtf8(manifest.data(), manifest.size()))
        problems.push_back("清单不是有效的 UTF-8");
    std::size_t number = 1;
    for (const std::string_view line : ManifestLines(manifest)) {
        if (line.size() > kMaxManifestLineBytes)
            problems.push_back("清单第 " + std::to_string(number) + " 行长 " + std::to_string(line.size()) +
                               " 字节（含行尾），Java 只接受 " + std::to_string(kMaxManifestLineBytes) + " 字节");
        ++number;
    }
    for (const char* key : {"MIDlet-1: ", "MIDlet-Name: "})
        if (manifest.find(std::string("\n") + key) == std::string::npos)
            problems.push_back(std::string("清单缺少 ") + key);
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

// The "Name: value" lines of a manifest's main section or of a JAD, in order. A line ends
// at LF, CR LF or a lone CR; one that starts with a space continues the line before (how a
// manifest folds long lines); the main section ends at an empty line.
Attributes ReadAttributes(const std::string& text)
{
    Attributes attributes;
    for (const std::string_view ended : ManifestLines(text)) {
        const std::string line(WithoutLineEnd(ended));
        if (line.empty())
            break;
        if (line[0] == ' ' && !attributes.empty()) {
            attributes.back().second += line.substr(1);
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::size_t value = colon + 1;
        while (value < line.size() && (line[value] == ' ' || line[value] == '\t'))
            ++value;
        std::string v = line.substr(value);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
            v.pop_back();
        attributes.emplace_back(line.substr(0, colon), v);
    }
    return attributes;
}

const std::string* Find(const Attributes& attributes, const std::string& name)
{
    for (const auto& [key, value] : attributes)
        if (key == name)
            return &value;
    return nullptr;
}

// "MIDlet-Jar-Size 出现了 2 次" for every attribute given more than once (names compared
// without case, as Java's manifest reader does): a phone may take either value.
std::vector<std::string> Repeated(const Attributes& attributes)
{
    std::vector<std::string> said;
    std::map<std::string, std::pair<std::string, int>> seen;  // folded name: first spelling, count
    std::vector<std::string> order;
    for (const auto& [key, value] : attributes) {
        const std::string folded = AsciiLower(key);
        auto [it, first] = seen.try_emplace(folded, key, 0);
        if (first)
            order.push_back(folded);
        ++it->second.second;
    }
    for (const std::string& folded : order)
        if (seen[folded].second > 1)
            said.push_back(seen[folded].first + " 出现了 " + std::to_string(seen[folded].second) + " 次");
    return said;
}

// The JAD at jadPath against the book at bookPath and its manifest.
void CheckJad(const std::string& jadPath, const std::string& bookPath, const std::string& manifest,
              std::vector<std::string>& problems)
{
    const std::string said = "描述文件 " + FileNameOfPath(jadPath) + " ";
    std::string jad;
    try {
        CFile file;
        file.Open(jadPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
        const std::uint64_t length = file.GetLength();
        if (length > kKeepLimit) {
            problems.push_back(said + "过大，无法检查");
            return;
        }
        jad.resize(static_cast<std::size_t>(length));
        jad.resize(file.Read(jad.data(), static_cast<std::uint32_t>(jad.size())));
    } catch (const CFileException&) {
        problems.push_back(said + "无法读取");
        return;
    }
    if (!IsValidUtf8(jad.data(), jad.size()))
        problems.push_back(said + "不是有效的 UTF-8");
    const Attributes attributes = ReadAttributes(jad);
    for (const std::string& repeated : Repeated(attributes))
        problems.push_back(said + "中 " + repeated);
    for (const char* key : {"MIDlet-Name", "MIDlet-Version", "MIDlet-Vendor", "MIDlet-Jar-URL", "MIDlet-Jar-Size"})
        if (!Find(attributes, key))
            problems.push_back(said + "缺少 " + key);
    std::uint64_t bytes = 0;
    const std::string* size = Find(attributes, "MIDlet-Jar-Size");
    if (size && CFile::GetSize(bookPath, bytes) && *size != std::to_string(bytes))
        problems.push_back(said + "的 MIDlet-Jar-Size 是 " + *size + "，电子书有 " + std::to_string(bytes) + " 字节");
    const std::string* url = Find(attributes, "MIDlet-Jar-URL");
    if (url && *url != FileNameOfPath(bookPath))
        problems.push_back(said + "的 MIDlet-Jar-URL 是 " + *url + "，不是电子书的文件名 " + FileNameOfPath(bookPath));
    const Attributes inManifest = ReadAttributes(manifest);
    for (const auto& [key, value] : attributes) {
        const std::string* other = Find(inManifest, key);
        if (other && *other != value)
            problems.push_back(said + "的 " + key + " 是“" + value + "”，清单里是“" + *other + "”");
    }
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
    const std::size_t nul = units.find(u'\0');
    if (nul == std::u16string::npos) {
        book.problems.push_back("index.txt 没有结尾的 NUL");
    } else {
        if (nul + 1 < units.size()) {
            const auto lengths = ParseIndexLengths(std::u16string_view(units).substr(nul + 1));
            if (lengths)
                book.indexLengths = *lengths;
            else
                book.problems.push_back("index.txt 标题后的各部分长度不是以 NUL 结束的数字行");
        }
        units.resize(nul);
    }
    const std::string text = Utf16ToUtf8(units);
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        book.indexLines.push_back(text.substr(from, at - from));
    if (from != text.size())
        book.problems.push_back("index.txt 最后一行没有以 CR LF 结束");
    if (book.indexLines.size() < 3)
        book.problems.push_back("index.txt 缺少作者、制作者或书名行");
}

// The data of the entry of archive named name, when it is there, sound and at most
// kIdentityBytes long.
constexpr std::uint32_t kIdentityBytes = 1u << 20;

std::optional<std::string> SmallEntry(CFile& file, ArchiveListing& archive, const std::string& name)
{
    for (ArchiveEntry& e : archive.entries) {
        if (e.name != name)
            continue;
        std::string data;
        if (e.size > kIdentityBytes || !CheckArchiveEntry(file, archive, e, true, data).empty())
            return std::nullopt;
        return data;
    }
    return std::nullopt;
}

} // namespace

bool IsBookVolume(const std::string& jarPath, const std::string& volumeName)
{
    try {
        CFile file;
        file.Open(jarPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
        ArchiveListing archive = ReadArchive(file);
        const std::optional<std::string> manifest = SmallEntry(file, archive, kManifestStoredName);
        const std::optional<std::string> index = SmallEntry(file, archive, kIndexEntryName);
        if (!manifest || !index)
            return false;
        const Attributes attributes = ReadAttributes(*manifest);
        const std::string* name = Find(attributes, "MIDlet-Name");
        BookInspection book;
        ReadIndex(*index, book);
        return name && *name == volumeName && book.indexLines.size() >= 3 && book.indexLines[2] == volumeName;
    } catch (const CException&) {
        return false;  // what cannot be read is not known to be ours
    }
}

bool IsBookJad(const std::string& jadPath, const std::string& jarFileName, const std::string& volumeName)
{
    try {
        CFile file;
        file.Open(jadPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
        if (file.GetLength() > kIdentityBytes)
            return false;
        std::string jad(static_cast<std::size_t>(file.GetLength()), '\0');
        jad.resize(file.Read(jad.data(), static_cast<std::uint32_t>(jad.size())));
        const Attributes attributes = ReadAttributes(jad);
        const std::string* url = Find(attributes, "MIDlet-Jar-URL");
        const std::string* name = Find(attributes, "MIDlet-Name");
        return url && name && *url == jarFileName && *name == volumeName;
    } catch (const CException&) {
        return false;
    }
}

bool BookInspection::Ok() const
{
    if (!problems.empty())
        return false;
    return std::all_of(entries.begin(), entries.end(), [](const BookEntryCheck& e) { return e.problem.empty(); });
}

BookInspection InspectBook(const std::string& path)
{
    BookInspection book;
    CFile file;
    file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    ArchiveListing archive = ReadArchive(file);
    book.problems = archive.problems;

    std::map<std::string, std::size_t> byName;  // the last entry of each name
    std::string manifest, index;
    bool hasManifest = false, hasIndex = false;
    for (std::size_t i = 0; i < archive.entries.size(); ++i) {
        ArchiveEntry& a = archive.entries[i];
        book.entries.push_back({a.name, a.method, a.compressedSize, a.size, a.crc, {}});
        BookEntryCheck& e = book.entries.back();
        const bool isManifest = e.name == kManifestStoredName;
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

    if (hasManifest) {
        CheckManifest(manifest, book.problems);
        for (const std::string& repeated : Repeated(ReadAttributes(manifest)))
            book.problems.push_back("清单中 " + repeated);
    }
    else
        book.problems.push_back("缺少 META-INF/MANIFEST.MF");
    std::error_code ec;
    if (fs::is_regular_file(U8Path(JadPathFor(path)), ec)) {
        book.jadPath = JadPathFor(path);
        CheckJad(book.jadPath, path, manifest, book.problems);
    }
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
    if (!book.indexLengths.empty() && book.indexLengths.size() != parts)
        book.problems.push_back("index.txt 记下 " + std::to_string(book.indexLengths.size()) + " 个部分的长度，而有 " +
                                std::to_string(parts) + " 个部分");
    for (std::size_t i = 0; i < parts && i < book.indexLengths.size(); ++i) {
        if (book.partSizes[i] >= 0 && static_cast<std::uint64_t>(book.partSizes[i]) != book.indexLengths[i])
            book.problems.push_back("index.txt 记下 " + PartEntryName(i) + " 长 " +
                                    std::to_string(book.indexLengths[i]) + " 字节，实有 " +
                                    std::to_string(book.partSizes[i]) + " 字节");
    }
    if (byName.count(PartEntryName(parts)))
        book.problems.push_back(PartEntryName(parts) + " 不在索引中");
    return book;
}
