// One entry's header: the fields of its local and central records, its name as stored
// bytes and as text, its code pages, and the reading and writing of its records.
#pragma once

#include "zip/zip_buffer.h"
#include "zip/zip_extra_field.h"
#include "zip/zip_records.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

class CZipStore;

// Code-page settings that new headers copy and read headers start from.
struct CZipStringSettings {
    static constexpr std::uint32_t kOemCodePage = 1;  // "the OEM code page"
    static constexpr std::uint32_t kAnsiCodePage = 0;

    bool m_bStoreNameInExtraData = false;
    std::uint32_t m_uNameCodePage = kOemCodePage;
    std::uint32_t m_uCommentCodePage = 0;

    void Reset() { *this = CZipStringSettings(); }
    bool IsStandardNameCodePage() const { return m_uNameCodePage == kOemCodePage; }
    // The name code page a header of this system gets by default.
    static std::uint32_t GetDefaultNameCodePage(int system)
    {
        return system == 0 ? kOemCodePage : kAnsiCodePage;
    }
};

class CZipEntryHeader {
public:
    static constexpr std::uint8_t kNoEncryption = 255;
    static constexpr std::uint8_t kStandardEncryption = 0;
    static constexpr std::uint16_t kFlagEncrypted = 0x0001;
    static constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
    // Deflate's speed hint (bits 1 and 2 of the flags).
    static constexpr std::uint16_t kFlagMaximum = 0x0002;
    static constexpr std::uint16_t kFlagFast = 0x0004;
    static constexpr std::uint16_t kFlagSuperFast = 0x0006;

    // --- reading and writing records --------------------------------------------------

    // Parses one central header at the store's file position. False when the header is
    // rejected (bad signature, extra field not in whole records, a too short code-page
    // record); a short read throws ZE_DAMAGED.
    bool ReadCentral(CZipStore& store, const CZipStringSettings& settings);
    // Writes the central header through the store's buffer; returns its size.
    // A name, comment or central extra field of 65536 bytes or more throws
    // ZE_FIELD_TOO_LONG.
    std::uint32_t WriteCentral(CZipStore& store);
    // Writes the local header of a new entry and records its offset.
    void WriteLocal(CZipStore& store);
    // Writes the final CRC and sizes into the local header, bypassing the buffer.
    void UpdateLocal(CZipStore& store);
    // Writes the data descriptor (only used with flag bit 3).
    void WriteDescriptor(CZipStore& store, bool segmented);

    // Versions and flags for a new entry written at this level.
    void PrepareData(int level, bool segmented);

    // --- names ------------------------------------------------------------------------

    // Sets the name as text; it is encoded into bytes when the header is written.
    void SetFileName(const std::string& name);
    // The name as text, slashes shown as backslashes.
    std::string GetFileName() const;
    // The name exactly as stored in the archive (after it was encoded).
    std::string GetStoredName() const { return std::string(m_fileNameBuffer.Data(), m_fileNameBuffer.GetSize()); }
    // Encodes the name text into the stored bytes.
    void EncodeFileName();

    // --- time and attributes ------------------------------------------------------------

    void SetTime(std::time_t t);
    std::time_t GetTime() const;
    int GetSystemCompatibility() const { return m_uVersionMadeBy >> 8; }
    void SetSystemCompatibility(int system)
    {
        m_uVersionMadeBy = static_cast<std::uint16_t>((m_uVersionMadeBy & 0xFF) | (system << 8));
    }
    // Attributes in the engine's host encoding (MS-DOS).
    std::uint32_t GetSystemAttr() const;
    // Sets attributes given in the host encoding, stored in the header's own system's.
    void SetSystemAttr(std::uint32_t attributes);
    bool IsDirectory() const;

    // Size of the local header: fixed part, name and local extra field.
    std::uint32_t GetLocalSize() const
    {
        return zip::kLocalHeaderSize + m_fileNameBuffer.GetSize() + m_localExtraField.GetTotalSize();
    }
    std::uint32_t GetCentralSize() const;
    // Size of the central header WriteCentral writes for the header as it is now: the
    // code-page record is built anew at each write.
    std::uint32_t GetWrittenCentralSize() const;

    // --- fields ---------------------------------------------------------------------------
    std::uint16_t m_uVersionMadeBy = 0;
    std::uint16_t m_uVersionNeeded = 0;
    std::uint16_t m_uFlag = 0;
    std::uint16_t m_uMethod = 8;
    std::uint16_t m_uModTime = 0;
    std::uint16_t m_uModDate = 0;
    std::uint32_t m_uCrc32 = 0;
    std::uint32_t m_uComprSize = 0;
    std::uint32_t m_uUncomprSize = 0;
    std::uint16_t m_uDiskStart = 0;
    std::uint16_t m_uInternalAttr = 0;
    std::uint32_t m_uLocalComprSize = 0;
    std::uint32_t m_uLocalUncomprSize = 0;
    std::uint32_t m_uOffset = 0;
    CZipExtraField m_localExtraField;
    CZipExtraField m_centralExtraField;
    std::uint32_t m_uExternalAttr = 0;
    std::uint16_t m_uLocalFileNameSize = 0;
    std::uint8_t m_uEncryptionMethod = kNoEncryption;
    CZipBuffer m_fileNameBuffer;
    std::optional<std::string> m_fileName;
    bool m_bNameInExtra = false;
    std::uint32_t m_uNameCodePage = CZipStringSettings::kOemCodePage;
    std::uint32_t m_uCommentCodePage = 0;
    CZipBuffer m_comment;

private:
    // Drops the representation of the name that was not just written.
    void ClearFileNameAfterWrite();
    // Builds the code-page record for the central header, or nothing when the defaults hold;
    // name is the text a record that holds the name carries.
    bool BuildStringsRecord(CZipExtraRecord& record, bool nameInExtra, const std::string& name) const;
    // Reads the code-page record of the central extra field; false rejects the header.
    bool ReadStringsRecord();
};
