#include "jar/book_check.h"

#include "jar/jar_contents.h"
#include "platform/file.h"
#include "platform/utf16.h"
#include "zip/zip_container.h"
#include "zip/zip_records.h"

#include <algorithm>
#include <map>
#include <zlib.h>

namespace {

constexpr std::uint32_t kChunk = 65536;

// Entries kept in memory for the content checks (manifest, index, parts) up to this size;
// the rest is only checked against its size and CRC as it streams by.
constexpr std::uint32_t kKeepLimit = 64u << 20;

// Reads one entry's data behind its local header, inflating it, and checks its size and
// CRC. With keep the data is returned in data. Returns the problem found, or "".
std::string ReadEntry(CFile& file, std::uint64_t archiveStart, const CZipEntryHeader& header, bool keep,
                      std::string& data)
{
    if (header.m_uFlag & CZipEntryHeader::kFlagEncrypted)
        return "加密条目，无法检查";
    if (header.m_uMethod != 0 && header.m_uMethod != 8)
        return "不支持的压缩方法 " + std::to_string(header.m_uMethod);

    const std::uint64_t at = archiveStart + header.m_uOffset;
    char local[zip::kLocalHeaderSize];
    file.Seek(static_cast<std::int64_t>(at), CFile::begin);
    if (file.Read(local, sizeof local) != sizeof local || !std::equal(local, local + 4, zip::kLocalHeaderSignature))
        return "本地文件头损坏";
    const std::uint64_t dataAt = at + zip::kLocalHeaderSize + zip::GetU16(local + 26) + zip::GetU16(local + 28);
    file.Seek(static_cast<std::int64_t>(dataAt), CFile::begin);

    data.clear();
    std::uint64_t size = 0;
    uLong crc = crc32(0, nullptr, 0);
    auto take = [&](const char* p, std::uint32_t n) {
        size += n;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(p), n);
        if (keep)
            data.append(p, n);
    };
    std::string in(kChunk, '\0');
    std::uint32_t left = header.m_uComprSize;
    if (header.m_uMethod == 0) {
        while (left > 0) {
            const std::uint32_t n = file.Read(in.data(), std::min(left, kChunk));
            if (n == 0)
                return "数据不完整";
            take(in.data(), n);
            left -= n;
        }
    } else {
        z_stream z {};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return "zlib 初始化失败";
        std::string out(kChunk, '\0');
        int rc = Z_OK;
        while (rc != Z_STREAM_END && size <= header.m_uUncomprSize) {
            if (z.avail_in == 0) {
                const std::uint32_t n = left == 0 ? 0 : file.Read(in.data(), std::min(left, kChunk));
                if (n == 0)
                    break;
                left -= n;
                z.next_in = reinterpret_cast<Bytef*>(in.data());
                z.avail_in = n;
            }
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = kChunk;
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                break;
            take(out.data(), kChunk - z.avail_out);
        }
        inflateEnd(&z);
        if (rc != Z_STREAM_END && size <= header.m_uUncomprSize)
            return "压缩数据损坏";
    }
    if (size != header.m_uUncomprSize)
        return "大小不符：记录 " + std::to_string(header.m_uUncomprSize) + "，实际 " +
               (size > header.m_uUncomprSize ? "更多" : std::to_string(size));
    if (static_cast<std::uint32_t>(crc) != header.m_uCrc32)
        return "CRC 不符";
    return {};
}

bool IsPartName(const std::string& name)
{
    return name.size() > 4 && name.ends_with(".txt") && name[0] != '0' &&
           name.find_first_not_of("0123456789") == name.size() - 4;
}

bool IsValidUtf8(const std::string& s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        std::size_t len;
        std::uint32_t min;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4, min = 0x10000;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        std::uint32_t c = b & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

void CheckManifest(const std::string& manifest, std::vector<std::string>& problems)
{
    if (!IsValidUtf8(manifest))
        problems.push_back("清单不是有效的 UTF-8");
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
    std::vector<CZipEntryHeader> headers;
    std::uint64_t archiveStart = 0;
    {
        CZipContainer zip;
        zip.Open(path, CZipContainer::zipOpenReadOnly);
        archiveStart = zip.GetBytesBeforeZip();
        for (std::size_t i = 0; i < zip.GetCount(); ++i) {
            const CZipEntryHeader& h = zip.GetEntry(i);
            BookEntryCheck e;
            e.name = h.GetStoredName();
            e.method = h.m_uMethod;
            e.compressedSize = h.m_uComprSize;
            e.size = h.m_uUncomprSize;
            e.crc = h.m_uCrc32;
            book.entries.push_back(e);
            CZipEntryHeader copy;
            copy.m_uFlag = h.m_uFlag;
            copy.m_uMethod = h.m_uMethod;
            copy.m_uCrc32 = h.m_uCrc32;
            copy.m_uComprSize = h.m_uComprSize;
            copy.m_uUncomprSize = h.m_uUncomprSize;
            copy.m_uOffset = h.m_uOffset;
            headers.push_back(std::move(copy));
        }
        zip.Close();
    }

    CFile file;
    file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    std::map<std::string, std::size_t> byName;  // the last entry of each name
    std::string manifest, index;
    bool hasManifest = false, hasIndex = false;
    for (std::size_t i = 0; i < headers.size(); ++i) {
        BookEntryCheck& e = book.entries[i];
        std::string data;
        const bool keep = (e.name == "META-INF/MANIFEST.MF" || e.name == kIndexEntryName || IsPartName(e.name)) &&
                          e.size <= kKeepLimit;
        e.problem = ReadEntry(file, archiveStart, headers[i], keep, data);
        if (byName.count(e.name))
            book.problems.push_back("重复的条目 " + e.name);
        byName[e.name] = i;
        if (!e.problem.empty())
            continue;
        if ((e.name == "META-INF/MANIFEST.MF" || e.name == kIndexEntryName) && !keep) {
            book.problems.push_back(e.name + " 过大，无法检查");
        } else if (e.name == "META-INF/MANIFEST.MF") {
            manifest = data;
            hasManifest = true;
        } else if (e.name == kIndexEntryName) {
            index = data;
            hasIndex = true;
        } else if (keep && !IsValidUtf8(data)) {
            e.problem = "不是有效的 UTF-8";
        }
    }
    file.Close();

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
