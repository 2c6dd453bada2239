#include "jar/archive_check.h"

#include "platform/file.h"
#include "zip/zip_container.h"
#include "zip/zip_extra_field.h"
#include "zip/zip_record_fields.h"
#include "zip/zip_records.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <map>
#include <zlib.h>

using namespace zip;

namespace {

constexpr std::uint32_t kChunk = 65536;
constexpr std::uint16_t kUnicodePathExtraId = 0x7075;

std::string Slashed(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Reads count bytes at pos; false when the file ends first.
bool ReadAt(CFile& file, std::uint64_t pos, char* out, std::uint32_t count)
{
    file.Seek(static_cast<std::int64_t>(pos), CFile::begin);
    return file.Read(out, count) == count;
}

// The end record the archive engine reads (the last signature with room for a whole record)
// and its faults. Returns its position in the file.
std::uint64_t FindEndRecord(CFile& file, std::uint64_t fileSize, std::string& tail, std::uint64_t& tailAt)
{
    tailAt = fileSize > kEndRecordSearchDepth ? fileSize - kEndRecordSearchDepth : 0;
    tail.assign(static_cast<std::size_t>(fileSize - tailAt), '\0');
    ReadAt(file, tailAt, tail.data(), static_cast<std::uint32_t>(tail.size()));
    for (std::size_t at = tail.size() >= kEndRecordSize ? tail.size() - kEndRecordSize + 1 : 0; at-- > 0;)
        if (std::memcmp(tail.data() + at, kEndRecordSignature, kSignatureSize) == 0)
            return tailAt + at;
    return kNotFound;
}

void ReadDirectory(CFile& file, ArchiveListing& archive)
{
    const std::uint64_t fileSize = file.GetLength();
    std::string tail;
    std::uint64_t tailAt = 0;
    const std::uint64_t endAt = FindEndRecord(file, fileSize, tail, tailAt);
    if (endAt == kNotFound) {  // the engine opened it, so this does not happen
        archive.problems.push_back("找不到中央目录结束记录");
        return;
    }
    const EndRecordFields end = ReadEndRecordFields(tail.data() + (endAt - tailAt));

    if (endAt + kEndRecordSize + end.commentSize != fileSize)
        archive.problems.push_back("结束记录的注释长度与文件长度不符");
    // An earlier record whose comment holds this one and ends the file: readers that take
    // the record whose comment ends the file may read that one, and another directory.
    for (std::uint64_t at = endAt; at-- > tailAt;) {
        const char* p = tail.data() + (at - tailAt);
        if (at + kEndRecordSize <= fileSize && std::memcmp(p, kEndRecordSignature, kSignatureSize) == 0 &&
            at + kEndRecordSize + ReadEndRecordFields(p).commentSize == fileSize) {
            archive.problems.push_back("压缩包注释中藏有结束记录");
            break;
        }
    }
    if (end.thisDisk != 0 || end.directoryDisk != 0)
        archive.problems.push_back("结束记录的磁盘编号不为 0");
    if (end.diskEntries != end.entries)
        archive.problems.push_back("结束记录中本磁盘的条目数与总数不符");
    if (static_cast<std::uint64_t>(end.directoryOffset) + end.directorySize > endAt) {
        archive.problems.push_back("中央目录越过了结束记录");
        return;
    }
    // Bytes before the archive that its offsets do not count (a stub put in front without
    // adjusting them) stay in front of it: the offsets are read from the archive's start,
    // as the engine and the readers that accept such a prefix read them.
    archive.start = endAt - end.directoryOffset - end.directorySize;
    archive.directoryAt = end.directoryOffset;

    // Every header within the directory's extent counts, whatever the end record says: its
    // 16-bit count wraps at 65536.
    std::string directory(end.directorySize, '\0');
    ReadAt(file, archive.start + end.directoryOffset, directory.data(), end.directorySize);
    std::size_t at = 0;
    while (at < directory.size()) {
        const char* p = directory.data() + at;
        if (directory.size() - at < kCentralHeaderSize ||
            std::memcmp(p, kCentralHeaderSignature, kSignatureSize) != 0) {
            archive.problems.push_back("中央目录第 " + std::to_string(archive.entries.size() + 1) + " 个文件头损坏");
            break;
        }
        const CentralHeaderFields f = ReadCentralHeaderFields(p);
        const std::size_t recordSize = f.RecordSize();
        if (directory.size() - at < recordSize) {
            archive.problems.push_back("中央目录第 " + std::to_string(archive.entries.size() + 1) + " 个文件头越过了目录");
            break;
        }
        ArchiveEntry e;
        e.versionNeeded = f.versionNeeded;
        e.flags = f.flags;
        e.method = f.method;
        e.crc = f.crc;
        e.compressedSize = f.compressedSize;
        e.size = f.size;
        e.offset = f.offset;
        e.name.assign(p + kCentralHeaderSize, f.nameSize);
        e.centralExtra.assign(p + kCentralHeaderSize + f.nameSize, f.extraSize);
        if (f.diskStart != 0)
            archive.problems.push_back("条目 " + e.name + " 的起始磁盘编号不为 0");
        archive.entries.push_back(std::move(e));
        at += recordSize;
    }
    if (archive.entries.size() != end.entries)
        archive.problems.push_back("中央目录中有 " + std::to_string(archive.entries.size()) + " 个文件头，结束记录记为 " +
                                   std::to_string(end.entries) + " 个");
}

// Checks that an extra field splits into records as unzip reads them, then gives the name
// an Info-ZIP Unicode path record (0x7075: version 1, the CRC-32 of the header's
// name, the name in UTF-8) gives the header whose name and extra field these are: unzip
// takes it instead of the name when the CRC matches. The fault of a record that does not
// match the name it stands for, or "".
std::string UnicodePath(const std::string& name, const std::string& extra, std::string& unicodeName)
{
    unicodeName = name;
    // A record that claims more bytes than are left: unzip refuses the entry. Fewer bytes
    // than a record's head at the end (padding) it lets pass.
    for (std::size_t at = 0; extra.size() - at >= kExtraRecordHeadSize;) {
        const std::size_t size = GetU16(extra.data() + at + 2);
        if (size > extra.size() - at - kExtraRecordHeadSize)
            return "附加字段损坏（记录长 " + std::to_string(size) + " 字节，只剩 " +
                   std::to_string(extra.size() - at - kExtraRecordHeadSize) + " 字节）";
        at += kExtraRecordHeadSize + size;
    }
    CZipExtraField field;
    if (!field.Read(extra.data(), static_cast<std::uint32_t>(extra.size())))
        return {};  // padding at the end: the engine keeps the bytes as they are, and so do readers
    const CZipExtraRecord* record = field.Lookup(kUnicodePathExtraId);
    if (!record)
        return {};
    const char* p = record->m_data.Data();
    const std::uint32_t size = record->m_data.GetSize();
    if (size < 5 || p[0] != 1)
        return "Unicode 路径附加字段损坏";
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(name.data()), static_cast<uInt>(name.size()));
    if (GetU32(p + 1) != static_cast<std::uint32_t>(crc))
        return "Unicode 路径附加字段与名称不符";
    unicodeName.assign(p + 5, size - 5);
    return {};
}

// "CRC、大小": the names of the fields that differ, or "".
std::string Differences(std::initializer_list<std::pair<bool, const char*>> fields)
{
    std::string names;
    for (const auto& [differs, name] : fields)
        if (differs)
            names += (names.empty() ? "" : "、") + std::string(name);
    return names;
}

// Streams count bytes of stored or deflated data from the file's position, taking size and
// CRC of what comes out; keeps it in data when keep. Returns the fault, or "".
std::string ReadData(CFile& file, const ArchiveEntry& entry, bool keep, std::string& data)
{
    std::uint64_t size = 0;
    uLong crc = crc32(0, nullptr, 0);
    auto take = [&](const char* p, std::uint32_t n) {
        size += n;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(p), n);
        if (keep)
            data.append(p, n);
    };
    std::string in(kChunk, '\0');
    std::uint32_t left = entry.compressedSize;
    if (entry.method == 0) {
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
        while (rc != Z_STREAM_END && size <= entry.size) {
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
        const std::uint32_t unused = left + z.avail_in;
        inflateEnd(&z);
        if (rc != Z_STREAM_END && size <= entry.size)
            return "压缩数据损坏";
        if (rc == Z_STREAM_END && unused != 0)
            return "压缩数据结束后还有 " + std::to_string(unused) + " 字节";
    }
    if (size != entry.size)
        return "大小不符：记录 " + std::to_string(entry.size) + "，实际 " +
               (size > entry.size ? "更多" : std::to_string(size));
    if (static_cast<std::uint32_t>(crc) != entry.crc)
        return "CRC 不符";
    return {};
}

} // namespace

ArchiveListing ReadArchive(CFile& file)
{
    const std::string& path = file.GetFilePath();
    // The names as the engine reads them (a strings record may carry another), by offset.
    std::map<std::uint32_t, std::string> engineNames;
    {
        CZipContainer zip;
        zip.Open(path, CZipContainer::zipOpenReadOnly);
        for (std::size_t i = 0; i < zip.GetCount(); ++i)
            engineNames[zip.GetEntry(i).m_uOffset] = Slashed(zip.GetEntry(i).GetFileName());
        zip.Close();
    }

    ArchiveListing archive;
    ReadDirectory(file, archive);
    for (const ArchiveEntry& e : archive.entries) {
        const auto it = engineNames.find(e.offset);
        if (it != engineNames.end() && it->second != Slashed(e.name))
            archive.problems.push_back("条目 " + e.name + " 的字符串记录把它改名为 " + it->second);
        std::string unicodeName;
        const std::string fault = UnicodePath(e.name, e.centralExtra, unicodeName);
        if (!fault.empty())
            archive.problems.push_back("条目 " + e.name + " 的" + fault);
        else if (unicodeName != e.name)
            archive.problems.push_back("条目 " + e.name + " 的 Unicode 路径附加字段把它改名为 " + unicodeName);
    }
    return archive;
}

std::string CheckArchiveEntry(CFile& file, const ArchiveListing& archive, ArchiveEntry& entry, bool keep,
                              std::string& data)
{
    data.clear();
    if (entry.flags & 1)
        return "加密条目，无法检查";
    if (entry.method != 0 && entry.method != 8)
        return "不支持的压缩方法 " + std::to_string(entry.method);
    if (static_cast<std::uint64_t>(entry.offset) + kLocalHeaderSize > archive.directoryAt)
        return "本地文件头不在中央目录之前";

    char local[kLocalHeaderSize];
    ReadAt(file, archive.start + entry.offset, local, kLocalHeaderSize);
    if (std::memcmp(local, kLocalHeaderSignature, kSignatureSize) != 0)
        return "本地文件头签名错误";
    const LocalHeaderFields f = ReadLocalHeaderFields(local);
    const std::uint16_t nameSize = f.nameSize, extraSize = f.extraSize;
    const std::uint64_t dataAt = static_cast<std::uint64_t>(entry.offset) + kLocalHeaderSize + nameSize + extraSize;
    std::string nameAndExtra(nameSize + extraSize, '\0');
    if (dataAt > archive.directoryAt ||
        (!nameAndExtra.empty() && !ReadAt(file, archive.start + entry.offset + kLocalHeaderSize, nameAndExtra.data(),
                                          static_cast<std::uint32_t>(nameAndExtra.size()))))
        return "本地文件头越过了中央目录";
    const std::string name = nameAndExtra.substr(0, nameSize);

    // With flag bit 3 the local header may hold zeros; the data descriptor has the values.
    const bool descriptor = (entry.flags & 8) != 0;
    auto differs = [descriptor](std::uint32_t inLocal, std::uint32_t central) {
        return inLocal != central && !(descriptor && inLocal == 0);
    };
    const std::string fields = Differences({
        {f.versionNeeded != entry.versionNeeded, "所需版本"},
        {f.flags != entry.flags, "标志"},
        {f.method != entry.method, "压缩方法"},
        {name != entry.name, "名称"},
        {differs(f.crc, entry.crc), "CRC"},
        {differs(f.compressedSize, entry.compressedSize), "压缩后大小"},
        {differs(f.size, entry.size), "大小"},
    });
    if (!fields.empty())
        return "本地文件头的" + fields + "与中央目录不符";
    // unzip reads the local header's Unicode path too: it must give the central name.
    std::string localUnicode, centralUnicode;
    const std::string fault = UnicodePath(name, nameAndExtra.substr(nameSize), localUnicode);
    if (!fault.empty())
        return "本地文件头的" + fault;
    UnicodePath(entry.name, entry.centralExtra, centralUnicode);
    if (localUnicode != centralUnicode)
        return "本地文件头的 Unicode 路径 " + localUnicode + " 与中央目录的名称 " + centralUnicode + " 不符";
    if (entry.method == 0 && entry.compressedSize != entry.size)
        return "未压缩条目的压缩后大小与大小不符";

    std::uint64_t end = dataAt + entry.compressedSize;
    if (end > archive.directoryAt)
        return "数据越过了中央目录";
    if (descriptor) {
        // 12 bytes (CRC, sizes), or 16 with a signature in front.
        char d[kDescriptorSize] = {};
        const std::uint64_t room = std::min<std::uint64_t>(archive.directoryAt - end, kDescriptorSize);
        ReadAt(file, archive.start + end, d, static_cast<std::uint32_t>(room));
        auto matches = [&](const char* p) {
            return GetU32(p) == entry.crc && GetU32(p + 4) == entry.compressedSize && GetU32(p + 8) == entry.size;
        };
        if (room >= kDescriptorSize && std::memcmp(d, kDescriptorSignature, kSignatureSize) == 0 &&
            matches(d + kSignatureSize))
            end += kDescriptorSize;
        else if (room >= kCrcAndSizesSize && matches(d))
            end += kCrcAndSizesSize;
        else
            return "数据描述符与中央目录不符";
    }
    entry.end = end;

    file.Seek(static_cast<std::int64_t>(archive.start + dataAt), CFile::begin);
    return ReadData(file, entry, keep, data);
}

std::string FindOverlappingEntries(const ArchiveListing& archive)
{
    std::vector<const ArchiveEntry*> placed;
    for (const ArchiveEntry& e : archive.entries)
        if (e.end != 0)
            placed.push_back(&e);
    std::stable_sort(placed.begin(), placed.end(),
                     [](const ArchiveEntry* a, const ArchiveEntry* b) { return a->offset < b->offset; });
    for (std::size_t i = 1; i < placed.size(); ++i)
        if (placed[i]->offset < placed[i - 1]->end)
            return "条目 " + placed[i - 1]->name + " 与条目 " + placed[i]->name + " 的数据重叠";
    return {};
}
