// Strict reading of an archive, shared by the template check and the book inspection: the
// end record and the central directory read from the file's own bytes, and each entry's
// local header, data and CRC held against its central header. A reader on the phone or a
// tool like unzip or Java's JarFile may trust either record, so any disagreement between
// them is a fault. Findings are short Chinese phrases that name the entry concerned.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CFile;

// One entry as its central header records it.
struct ArchiveEntry {
    std::string name;  // the bytes stored in the central header
    std::string centralExtra;  // the central header's extra field
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;  // of the local header, from the start of the archive
    // Set by CheckArchiveEntry: where the entry's records end (behind its data and data
    // descriptor), from the start of the archive; 0 while unknown.
    std::uint64_t end = 0;
};

struct ArchiveListing {
    std::uint64_t start = 0;        // bytes in the file before the archive
    std::uint64_t directoryAt = 0;  // the central directory's offset, from the archive start
    std::vector<ArchiveEntry> entries;  // in directory order
    // Faults of the end record and the directory, and names that the archive engine reads
    // otherwise than the central header stores them.
    std::vector<std::string> problems;
};

// Reads the archive open in file. First the archive engine opens it (at
// file.GetFilePath()), as the builder will: what it refuses throws its CZipException (or
// CFileException). Then the end record and every central header within the directory's
// extent are read from the bytes in file.
ArchiveListing ReadArchive(CFile& file);

// Holds the local header of entry against its central header (signature, version needed,
// flags, method, name, CRC and sizes; with flag bit 3 the data descriptor instead of zeros
// in the local header), requires its records to lie before the central directory, and
// reads its data, inflating it, against its size and CRC. With keep the data is returned
// in data. Sets entry.end when the records lie in place. Returns the fault, or "".
std::string CheckArchiveEntry(CFile& file, const ArchiveListing& archive, ArchiveEntry& entry, bool keep,
                              std::string& data);

// After CheckArchiveEntry of every entry: the first two entries whose records overlap, or "".
std::string FindOverlappingEntries(const ArchiveListing& archive);
