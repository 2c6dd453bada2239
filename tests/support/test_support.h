// Helpers shared by the archive tests: a scratch folder, whole-file I/O, a minimal archive
// writer for inputs the fixtures cannot hold, and a plain parser of what the engine wrote.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const;

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
// s n times over.
std::string Repeat(const std::string& s, std::size_t n);
void WriteFile(const std::string& path, const std::string& bytes);
std::string FixturePath(const std::string& relative);
// The file names in a fixture folder (relative to the fixtures), sorted: the cases of a
// table-driven test whose expected results are in the names.
std::vector<std::string> FixtureNames(const std::string& folder);
// A test name made of a fixture's file name: without its extension, other characters than
// letters and digits as '_'.
std::string FixtureTestName(const std::string& fileName);

void PutU16(std::string& out, std::uint32_t v);
void PutU32(std::string& out, std::uint32_t v);
std::uint16_t U16(const std::string& s, std::size_t at);
std::uint32_t U32(const std::string& s, std::size_t at);

// A stored (uncompressed) archive built byte by byte.
struct MiniEntry {
    std::string name;
    std::string data;
    std::uint8_t system = 0;
    std::string centralExtra;
    std::uint32_t crc = 0;  // filled in by Build
};
std::string BuildStoredZip(std::vector<MiniEntry> entries, const std::string& comment = {},
                           const std::string& prefix = {});

// What a central header says.
struct CentralRecord {
    std::size_t at = 0;  // position of the header in the file
    std::uint16_t madeBy = 0, needed = 0, flags = 0, method = 0, time = 0, date = 0;
    std::uint32_t crc = 0, compressed = 0, uncompressed = 0;
    std::uint16_t disk = 0, internal = 0;
    std::uint32_t external = 0, offset = 0;
    std::string name, extra, comment;
    std::string raw;  // the whole record
};
struct ParsedZip {
    std::size_t endAt = 0;
    std::uint16_t thisDisk = 0, cdDisk = 0, diskEntries = 0, total = 0;
    std::uint32_t cdSize = 0, cdOffset = 0;
    std::string comment;
    std::vector<CentralRecord> entries;
};
// Finds the end record from the back and reads every central header; offsets are taken
// relative to `prefix` bytes of the file.
ParsedZip ParseZip(const std::string& bytes, std::size_t prefix = 0);

// The data of an entry as it stands behind its local header.
std::string LocalData(const std::string& bytes, const CentralRecord& entry, std::size_t prefix = 0);
// Inflates raw deflate data.
std::string Inflate(const std::string& deflated, std::size_t expectedSize);
std::uint32_t Crc32(const std::string& data);

// A fixed point in time for byte-for-byte comparisons: 2024-05-17 13:45:31 local time.
std::time_t FixedTime();

} // namespace test
