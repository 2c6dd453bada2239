// Record signatures, sizes and the little-endian field helpers of the zip format.
// Fields are read and written byte by byte, never by copying structs.
#pragma once

#include <cstdint>

namespace zip {

// Signatures, in file order.
inline constexpr std::uint32_t kSignatureSize = 4;
inline constexpr char kLocalHeaderSignature[kSignatureSize] = {'P', 'K', 3, 4};
inline constexpr char kCentralHeaderSignature[kSignatureSize] = {'P', 'K', 1, 2};
inline constexpr char kEndRecordSignature[kSignatureSize] = {'P', 'K', 5, 6};
inline constexpr char kDescriptorSignature[kSignatureSize] = {'P', 'K', 7, 8};
inline constexpr char kZip64LocatorSignature[kSignatureSize] = {'P', 'K', 6, 7};

// local header: 30 bytes, signature included, before the name and the extra field
inline constexpr std::uint32_t kLocalHeaderSize = 30;
// central header: 46 bytes, signature included, before the name, extra field and comment
inline constexpr std::uint32_t kCentralHeaderSize = 46;
// end of central directory record: 22 bytes, signature included, before the comment
inline constexpr std::uint32_t kEndRecordSize = 22;
// the CRC-32 and the compressed and uncompressed sizes: 12 bytes, in the local header (at
// kLocalCrcOffset) and in the data descriptor alike
inline constexpr std::uint32_t kCrcAndSizesSize = 12;
// data descriptor: 16 bytes with its signature (the signature is optional)
inline constexpr std::uint32_t kDescriptorSize = kSignatureSize + kCrcAndSizesSize;
// offset of the CRC-32 in the local header; the compressed and uncompressed sizes follow
inline constexpr std::uint32_t kLocalCrcOffset = 14;
// encryption header of the traditional PKWARE encryption: 12 bytes before the data,
// counted in the compressed size
inline constexpr std::uint32_t kEncryptionHeaderSize = 12;
// head of an extra-field record: 4 bytes (u16 id, u16 data size) before its data
inline constexpr std::uint32_t kExtraRecordHeadSize = 4;
// the deepest the end record can lie: the longest archive comment plus the record itself
inline constexpr std::uint32_t kEndRecordSearchDepth = 65535 + kEndRecordSize;
inline constexpr std::uint32_t kNotFound = 0xFFFFFFFF;

// The engine's own extra record carrying code pages ("LZ").
inline constexpr std::uint16_t ZIP_STRINGS_EXTRA_ID = 0x5A4C;

// Host systems (high byte of "version made by").
enum ZipSystem : std::uint8_t {
    ZS_DOS = 0,
    ZS_UNIX = 3,
    ZS_OS2 = 6,
    ZS_MAC = 7,
    ZS_NTFS = 10,
};
inline constexpr std::uint8_t kOwnSystem = ZS_DOS;
// Versions of the format (10 * major + minor): what the engine writes and what a new entry
// needs to be read (a directory 1.0, a file 2.0, which brought deflate and folders).
inline constexpr std::uint8_t kZipVersion = 20;
inline constexpr std::uint16_t kVersionNeededDirectory = 10;
inline constexpr std::uint16_t kVersionNeededFile = 20;

inline std::uint16_t GetU16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
inline std::uint32_t GetU32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}
inline char* PutU16(char* p, std::uint16_t v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
    return p + 2;
}
inline char* PutU32(char* p, std::uint32_t v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
    p[2] = static_cast<char>((v >> 16) & 0xFF);
    p[3] = static_cast<char>(v >> 24);
    return p + 4;
}

} // namespace zip
