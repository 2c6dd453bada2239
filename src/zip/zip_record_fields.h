// The fixed fields of the zip records, read from a record's bytes starting at its
// signature: the one reading of each record the engine and the strict archive check share.
#pragma once

#include "zip/zip_records.h"

#include <cstdint>

namespace zip {

// End of central directory record (kEndRecordSize bytes).
struct EndRecordFields {
    std::uint16_t thisDisk, directoryDisk, diskEntries, entries;
    std::uint32_t directorySize, directoryOffset;
    std::uint16_t commentSize;
};

inline EndRecordFields ReadEndRecordFields(const char* p)
{
    return {GetU16(p + 4), GetU16(p + 6), GetU16(p + 8), GetU16(p + 10), GetU32(p + 12), GetU32(p + 16), GetU16(p + 20)};
}

// Central header (kCentralHeaderSize bytes); the name, extra field and comment follow.
struct CentralHeaderFields {
    std::uint16_t versionMadeBy, versionNeeded, flags, method, modTime, modDate;
    std::uint32_t crc, compressedSize, size;
    std::uint16_t nameSize, extraSize, commentSize, diskStart, internalAttributes;
    std::uint32_t externalAttributes, offset;

    // The whole record: fixed fields, name, extra field and comment.
    std::uint32_t RecordSize() const { return kCentralHeaderSize + nameSize + extraSize + commentSize; }
};

inline CentralHeaderFields ReadCentralHeaderFields(const char* p)
{
    return {GetU16(p + 4),  GetU16(p + 6),  GetU16(p + 8),  GetU16(p + 10), GetU16(p + 12), GetU16(p + 14),
            GetU32(p + 16), GetU32(p + 20), GetU32(p + 24), GetU16(p + 28), GetU16(p + 30), GetU16(p + 32),
            GetU16(p + 34), GetU16(p + 36), GetU32(p + 38), GetU32(p + 42)};
}

// Local header (kLocalHeaderSize bytes); the name and extra field follow.
struct LocalHeaderFields {
    std::uint16_t versionNeeded, flags, method, modTime, modDate;
    std::uint32_t crc, compressedSize, size;
    std::uint16_t nameSize, extraSize;
};

inline LocalHeaderFields ReadLocalHeaderFields(const char* p)
{
    return {GetU16(p + 4),  GetU16(p + 6),  GetU16(p + 8),  GetU16(p + 10), GetU16(p + 12),
            GetU32(p + 14), GetU32(p + 18), GetU32(p + 22), GetU16(p + 26), GetU16(p + 28)};
}

} // namespace zip
