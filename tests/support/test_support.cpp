#include "support/test_support.h"

#include "platform/path.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <zlib.h>

namespace fs = std::filesystem;

namespace test {

TempDir::TempDir()
{
    static std::atomic<unsigned> counter {0};
    std::random_device rd;
    const fs::path base = fs::temp_directory_path() /
                          ("bookmaker-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    fs::create_directories(base);
    m_path = Utf8Path(base);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(U8Path(m_path), ec);
}

std::string TempDir::Path(const std::string& name) const { return Utf8Path(U8Path(m_path) / U8Path(name)); }

std::string Repeat(const std::string& s, std::size_t n)
{
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(U8Path(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(U8Path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string FixturePath(const std::string& relative)
{
    return Utf8Path(U8Path(BOOKMAKER_FIXTURES) / U8Path(relative));
}

std::vector<std::string> FixtureNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(U8Path(FixturePath(folder))))
        names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string FixtureTestName(const std::string& fileName)
{
    std::string name = fileName.substr(0, fileName.rfind('.'));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

void PutU16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

std::uint16_t U16(const std::string& s, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s.at(at)) |
                                      (static_cast<unsigned char>(s.at(at + 1)) << 8));
}

std::uint32_t U32(const std::string& s, std::size_t at)
{
    return U16(s, at) | (static_cast<std::uint32_t>(U16(s, at + 2)) << 16);
}

std::uint32_t Crc32(const std::string& data)
{
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string BuildStoredZip(std::vector<MiniEntry> entries, const std::string& comment,
                           const std::string& prefix)
{
    std::string body;
    std::vector<std::uint32_t> offsets;
    for (MiniEntry& e : entries) {
        e.crc = Crc32(e.data);
        offsets.push_back(static_cast<std::uint32_t>(body.size()));
        body += "PK\x03\x04";
        PutU16(body, 10);
        PutU16(body, 0);
        PutU16(body, 0);
        PutU16(body, 0x6000);  // 12:00
        PutU16(body, 0x5821);  // 2024-01-01
        PutU32(body, e.crc);
        PutU32(body, static_cast<std::uint32_t>(e.data.size()));
        PutU32(body, static_cast<std::uint32_t>(e.data.size()));
        PutU16(body, static_cast<std::uint32_t>(e.name.size()));
        PutU16(body, 0);
        body += e.name;
        body += e.data;
    }
    const std::uint32_t cdOffset = static_cast<std::uint32_t>(body.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MiniEntry& e = entries[i];
        body += "PK\x01\x02";
        PutU16(body, (e.system << 8) | 20);
        PutU16(body, 10);
        PutU16(body, 0);
        PutU16(body, 0);
        PutU16(body, 0x6000);
        PutU16(body, 0x5821);
        PutU32(body, e.crc);
        PutU32(body, static_cast<std::uint32_t>(e.data.size()));
        PutU32(body, static_cast<std::uint32_t>(e.data.size()));
        PutU16(body, static_cast<std::uint32_t>(e.name.size()));
        PutU16(body, static_cast<std::uint32_t>(e.centralExtra.size()));
        PutU16(body, 0);
        PutU16(body, 0);
        PutU16(body, 0);
        PutU32(body, e.system == 3 ? 0x81A40000u : 0x20u);
        PutU32(body, offsets[i]);
        body += e.name;
        body += e.centralExtra;
    }
    const std::uint32_t cdSize = static_cast<std::uint32_t>(body.size()) - cdOffset;
    body += "PK\x05\x06";
    PutU16(body, 0);
    PutU16(body, 0);
    PutU16(body, static_cast<std::uint32_t>(entries.size()));
    PutU16(body, static_cast<std::uint32_t>(entries.size()));
    PutU32(body, cdSize);
    PutU32(body, cdOffset);
    PutU16(body, static_cast<std::uint32_t>(comment.size()));
    body += comment;
    return prefix + body;
}

ParsedZip ParseZip(const std::string& bytes, std::size_t prefix)
{
    ParsedZip z;
    const std::size_t end = bytes.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos)
        throw std::runtime_error("no end record");
    z.endAt = end;
    z.thisDisk = U16(bytes, end + 4);
    z.cdDisk = U16(bytes, end + 6);
    z.diskEntries = U16(bytes, end + 8);
    z.total = U16(bytes, end + 10);
    z.cdSize = U32(bytes, end + 12);
    z.cdOffset = U32(bytes, end + 16);
    z.comment = bytes.substr(end + 22, U16(bytes, end + 20));
    std::size_t at = prefix + z.cdOffset;
    for (unsigned i = 0; i < z.total; ++i) {
        if (bytes.compare(at, 4, std::string("PK\x01\x02", 4)) != 0)
            throw std::runtime_error("bad central header signature");
        CentralRecord r;
        r.at = at;
        r.madeBy = U16(bytes, at + 4);
        r.needed = U16(bytes, at + 6);
        r.flags = U16(bytes, at + 8);
        r.method = U16(bytes, at + 10);
        r.time = U16(bytes, at + 12);
        r.date = U16(bytes, at + 14);
        r.crc = U32(bytes, at + 16);
        r.compressed = U32(bytes, at + 20);
        r.uncompressed = U32(bytes, at + 24);
        const std::size_t n = U16(bytes, at + 28), m = U16(bytes, at + 30), k = U16(bytes, at + 32);
        r.disk = U16(bytes, at + 34);
        r.internal = U16(bytes, at + 36);
        r.external = U32(bytes, at + 38);
        r.offset = U32(bytes, at + 42);
        r.name = bytes.substr(at + 46, n);
        r.extra = bytes.substr(at + 46 + n, m);
        r.comment = bytes.substr(at + 46 + n + m, k);
        r.raw = bytes.substr(at, 46 + n + m + k);
        at += r.raw.size();
        z.entries.push_back(r);
    }
    return z;
}

std::string LocalData(const std::string& bytes, const CentralRecord& entry, std::size_t prefix)
{
    const std::size_t at = prefix + entry.offset;
    if (bytes.compare(at, 4, std::string("PK\x03\x04", 4)) != 0)
        throw std::runtime_error("bad local header signature");
    const std::size_t start = at + 30 + U16(bytes, at + 26) + U16(bytes, at + 28);
    return bytes.substr(start, entry.compressed);
}

std::string Inflate(const std::string& deflated, std::size_t expectedSize)
{
    std::string out(expectedSize + 1, '\0');
    z_stream s {};
    inflateInit2(&s, -MAX_WBITS);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
    s.avail_in = static_cast<uInt>(deflated.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&s, Z_FINISH);
    out.resize(s.total_out);
    inflateEnd(&s);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("inflate failed");
    return out;
}

std::time_t FixedTime()
{
    std::tm tm {};
    tm.tm_year = 2024 - 1900;
    tm.tm_mon = 4;
    tm.tm_mday = 17;
    tm.tm_hour = 13;
    tm.tm_min = 45;
    tm.tm_sec = 31;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

} // namespace test
