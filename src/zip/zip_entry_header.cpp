#include "zip/zip_entry_header.h"

#include "zip/zip_attributes.h"
#include "zip/zip_exception.h"
#include "zip/zip_record_fields.h"
#include "zip/zip_records.h"
#include "zip/zip_store.h"

#include <algorithm>
#include <cstring>

using namespace zip;

// Names and code pages. The engine records the OEM (1) or ANSI (0) code page of every
// name, as the format's readers expect, but converts no bytes between them: this program's
// entry names are ASCII, which both code pages share, and names read from an archive are
// written back exactly as they were read.

namespace {

bool EndsWithSlash(const std::string& name)
{
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

} // namespace

bool CZipEntryHeader::ReadCentral(CZipStore& store, const CZipStringSettings& settings)
{
    char buf[kCentralHeaderSize];
    store.ReadExact(buf, kCentralHeaderSize);
    if (std::memcmp(buf, kCentralHeaderSignature, kSignatureSize) != 0)
        return false;
    const CentralHeaderFields f = ReadCentralHeaderFields(buf);
    m_uVersionMadeBy = f.versionMadeBy;
    m_uVersionNeeded = f.versionNeeded;
    m_uFlag = f.flags;
    m_uMethod = f.method;
    m_uModTime = f.modTime;
    m_uModDate = f.modDate;
    m_uCrc32 = f.crc;
    m_uComprSize = f.compressedSize;
    m_uUncomprSize = f.size;
    const std::uint16_t nameSize = f.nameSize;
    const std::uint16_t extraSize = f.extraSize;
    const std::uint16_t commentSize = f.commentSize;
    m_uDiskStart = f.diskStart;
    m_uInternalAttr = f.internalAttributes;
    m_uExternalAttr = f.externalAttributes;
    m_uOffset = f.offset;
    m_uEncryptionMethod = (m_uFlag & kFlagEncrypted) ? kStandardEncryption : kNoEncryption;

    m_fileNameBuffer.Allocate(nameSize);
    store.ReadExact(m_fileNameBuffer.Data(), nameSize);
    m_fileName.reset();

    m_uNameCodePage = settings.IsStandardNameCodePage()
                          ? CZipStringSettings::GetDefaultNameCodePage(GetSystemCompatibility())
                          : settings.m_uNameCodePage;
    if (settings.m_uCommentCodePage != 0)
        m_uCommentCodePage = settings.m_uCommentCodePage;

    CZipBuffer extra(extraSize);
    store.ReadExact(extra.Data(), extraSize);
    if (!m_centralExtraField.Read(extra.Data(), extraSize))
        return false;
    if (!ReadStringsRecord())
        return false;

    m_comment.Allocate(commentSize);
    store.ReadExact(m_comment.Data(), commentSize);
    return true;
}

bool CZipEntryHeader::ReadStringsRecord()
{
    m_bNameInExtra = false;
    const CZipExtraRecord* record = m_centralExtraField.Lookup(ZIP_STRINGS_EXTRA_ID);
    if (record == nullptr)
        return true;
    const char* data = record->m_data.Data();
    const std::uint32_t size = record->m_data.GetSize();
    if (size < 1)
        return false;
    if (static_cast<unsigned char>(data[0]) > 1)
        return true;  // a later version of the record: not ours to interpret
    if (size < 2)
        return false;
    const unsigned flags = static_cast<unsigned char>(data[1]);
    std::uint32_t pos = 2;
    if (flags & 1) {
        if (size < 6)
            return false;
        m_uNameCodePage = GetU32(data + 2);
        pos = 6;
        if ((flags & 3) == 3) {
            const std::int64_t nameSize = static_cast<std::int64_t>(size) - 6 - ((flags & 4) ? 4 : 0);
            if (nameSize <= 0)
                return false;
            m_fileName = std::string(data + 6, static_cast<std::size_t>(nameSize));
            m_fileNameBuffer.Release();
            m_bNameInExtra = true;
            pos += static_cast<std::uint32_t>(nameSize);
        }
    }
    if (flags & 4) {
        if (pos + 4 > size)
            return false;
        m_uCommentCodePage = GetU32(data + pos);
    }
    return true;
}

bool CZipEntryHeader::BuildStringsRecord(CZipExtraRecord& record, bool nameInExtra, const std::string& name) const
{
    const bool otherNameCodePage =
        m_uNameCodePage != CZipStringSettings::GetDefaultNameCodePage(GetSystemCompatibility());
    if (!nameInExtra && !otherNameCodePage && m_uCommentCodePage == 0)
        return false;
    std::string data;
    data += '\x01';  // version
    data += '\0';    // flags, set below
    char cp[4];
    unsigned flags = 0;
    if (nameInExtra || otherNameCodePage) {
        flags = 1;
        PutU32(cp, m_uNameCodePage);
        data.append(cp, 4);
        if (nameInExtra) {
            flags = 3;
            data += name;
        }
    }
    if (m_uCommentCodePage != 0) {
        flags |= 4;
        PutU32(cp, m_uCommentCodePage);
        data.append(cp, 4);
    }
    data[1] = static_cast<char>(flags);
    record.m_uHeaderID = ZIP_STRINGS_EXTRA_ID;
    record.m_data.Assign(data.data(), static_cast<std::uint32_t>(data.size()));
    return true;
}

std::uint32_t CZipEntryHeader::GetCentralSize() const
{
    return kCentralHeaderSize + m_fileNameBuffer.GetSize() + m_centralExtraField.GetTotalSize() +
           m_comment.GetSize();
}

std::uint32_t CZipEntryHeader::GetWrittenCentralSize() const
{
    // What WriteCentral does to the name and the extra field first, without doing it.
    const bool encoded = !(m_fileNameBuffer.IsEmpty() && m_fileName);
    const std::uint32_t nameSize =
        encoded ? m_fileNameBuffer.GetSize() : static_cast<std::uint32_t>(m_fileName->size());
    const std::string name = m_fileName ? *m_fileName : GetStoredName();
    std::uint32_t extraSize = 0;
    for (std::size_t i = 0; i < m_centralExtraField.GetCount(); ++i) {
        const CZipExtraRecord& record = m_centralExtraField.GetAt(i);
        if (record.m_uHeaderID != ZIP_STRINGS_EXTRA_ID)
            extraSize += record.GetTotalSize();
    }
    CZipExtraRecord strings;
    if (BuildStringsRecord(strings, m_bNameInExtra && !name.empty(), name))
        extraSize += strings.GetTotalSize();
    return kCentralHeaderSize + nameSize + extraSize + m_comment.GetSize();
}

std::uint32_t CZipEntryHeader::WriteCentral(CZipStore& store)
{
    m_centralExtraField.Remove(ZIP_STRINGS_EXTRA_ID);
    if (m_fileNameBuffer.IsEmpty() && m_fileName)
        EncodeFileName();
    if (m_bNameInExtra) {
        if (!m_fileName)
            m_fileName = GetStoredName();
        if (m_fileName->empty())
            m_bNameInExtra = false;
    }
    CZipExtraRecord strings;
    if (BuildStringsRecord(strings, m_bNameInExtra, m_fileName.value_or(std::string())))
        m_centralExtraField.Add(std::move(strings));

    // The length fields are 16 bits wide: anything longer cannot be written truthfully.
    if (m_comment.GetSize() > 0xFFFF || m_fileNameBuffer.GetSize() > 0xFFFF ||
        m_centralExtraField.GetTotalSize() > 0xFFFF) {
        m_centralExtraField.Remove(ZIP_STRINGS_EXTRA_ID);
        ThrowZipError(CZipException::ZE_FIELD_TOO_LONG);
    }

    const std::uint32_t size = GetCentralSize();
    CZipBuffer buf(size);
    char* p = buf.Data();
    std::memcpy(p, kCentralHeaderSignature, kSignatureSize);
    p = PutU16(p + kSignatureSize, m_uVersionMadeBy);
    p = PutU16(p, m_uVersionNeeded);
    p = PutU16(p, m_uFlag);
    p = PutU16(p, m_uMethod);
    p = PutU16(p, m_uModTime);
    p = PutU16(p, m_uModDate);
    p = PutU32(p, m_uCrc32);
    p = PutU32(p, m_uComprSize);
    p = PutU32(p, m_uUncomprSize);
    p = PutU16(p, static_cast<std::uint16_t>(m_fileNameBuffer.GetSize()));
    p = PutU16(p, static_cast<std::uint16_t>(m_centralExtraField.GetTotalSize()));
    p = PutU16(p, static_cast<std::uint16_t>(m_comment.GetSize()));
    p = PutU16(p, m_uDiskStart);
    p = PutU16(p, m_uInternalAttr);
    p = PutU32(p, m_uExternalAttr);
    p = PutU32(p, m_uOffset);
    if (!m_fileNameBuffer.IsEmpty())
        std::memcpy(p, m_fileNameBuffer.Data(), m_fileNameBuffer.GetSize());
    p += m_fileNameBuffer.GetSize();
    p = m_centralExtraField.Write(p);
    if (!m_comment.IsEmpty())
        std::memcpy(p, m_comment.Data(), m_comment.GetSize());
    store.Write(buf.Data(), size);

    m_centralExtraField.Remove(ZIP_STRINGS_EXTRA_ID);
    ClearFileNameAfterWrite();
    return size;
}

void CZipEntryHeader::WriteLocal(CZipStore& store)
{
    if (m_uFlag & kFlagDataDescriptor) {
        m_uLocalComprSize = 0;
        m_uLocalUncomprSize = 0;
    } else {
        m_uLocalComprSize += m_uEncryptionMethod == kStandardEncryption ? kEncryptionHeaderSize : 0;
    }
    if (m_fileNameBuffer.IsEmpty() && m_fileName)
        EncodeFileName();
    if (m_fileNameBuffer.GetSize() > 0xFFFF || m_localExtraField.GetTotalSize() > 0xFFFF)
        ThrowZipError(CZipException::ZE_FIELD_TOO_LONG);
    m_uLocalFileNameSize = static_cast<std::uint16_t>(m_fileNameBuffer.GetSize());

    const std::uint32_t size = GetLocalSize();
    CZipBuffer buf(size);
    char* p = buf.Data();
    std::memcpy(p, kLocalHeaderSignature, kSignatureSize);
    p = PutU16(p + kSignatureSize, m_uVersionNeeded);
    p = PutU16(p, m_uFlag);
    p = PutU16(p, m_uMethod);
    p = PutU16(p, m_uModTime);
    p = PutU16(p, m_uModDate);
    p = PutU32(p, m_uCrc32);
    p = PutU32(p, m_uLocalComprSize);
    p = PutU32(p, m_uLocalUncomprSize);
    p = PutU16(p, m_uLocalFileNameSize);
    p = PutU16(p, static_cast<std::uint16_t>(m_localExtraField.GetTotalSize()));
    if (m_uLocalFileNameSize != 0)
        std::memcpy(p, m_fileNameBuffer.Data(), m_uLocalFileNameSize);
    p += m_uLocalFileNameSize;
    m_localExtraField.Write(p);
    store.Write(buf.Data(), size);

    m_uDiskStart = store.m_uCurrentDisk;
    m_uOffset = store.GetWriteOffset() - size;
    ClearFileNameAfterWrite();
}

void CZipEntryHeader::UpdateLocal(CZipStore& store)
{
    m_uLocalComprSize = m_uComprSize;
    m_uLocalUncomprSize = m_uUncomprSize;
    char buf[kCrcAndSizesSize];
    PutU32(buf, m_uCrc32);
    PutU32(buf + 4, m_uLocalComprSize);
    PutU32(buf + 8, m_uLocalUncomprSize);
    store.PatchAt(m_uOffset + kLocalCrcOffset, buf, sizeof buf);
}

void CZipEntryHeader::WriteDescriptor(CZipStore& store, bool segmented)
{
    char buf[kDescriptorSize];
    char* p = buf;
    if (segmented || m_uEncryptionMethod == kStandardEncryption) {
        std::memcpy(p, kDescriptorSignature, kSignatureSize);
        p += kSignatureSize;
    }
    p = PutU32(p, m_uCrc32);
    p = PutU32(p, m_uComprSize);
    p = PutU32(p, m_uUncomprSize);
    store.Write(buf, static_cast<std::uint32_t>(p - buf));
}

void CZipEntryHeader::PrepareData(int level, bool segmented)
{
    m_uInternalAttr = 0;
    m_uCrc32 = 0;
    m_uComprSize = 0;
    m_uUncomprSize = 0;
    m_uFlag = 0;
    if ((m_uVersionMadeBy & 0xFF) != kZipVersion)
        m_uVersionMadeBy = static_cast<std::uint16_t>((m_uVersionMadeBy & 0xFF00) | kZipVersion);
    if (m_uMethod == 8 && level >= 1 && level <= 9) {
        // Speed hints of deflate: 1 super fast, 2 fast, 8 and 9 maximum.
        if (level == 1)
            m_uFlag = kFlagSuperFast;
        else if (level == 2)
            m_uFlag = kFlagFast;
        else if (level >= 8)
            m_uFlag = kFlagMaximum;
    }
    if (segmented || m_uEncryptionMethod == kStandardEncryption)
        m_uFlag |= kFlagDataDescriptor;
    if (m_uEncryptionMethod != kNoEncryption)
        m_uFlag |= kFlagEncrypted;
    m_uVersionNeeded = IsDirectory() ? kVersionNeededDirectory : kVersionNeededFile;
}

void CZipEntryHeader::SetFileName(const std::string& name)
{
    m_fileName = name;
    m_fileNameBuffer.Release();
}

void CZipEntryHeader::EncodeFileName()
{
    std::string bytes = m_fileName.value_or(std::string());
    std::replace(bytes.begin(), bytes.end(), '\\', '/');
    m_fileNameBuffer.Assign(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::string CZipEntryHeader::GetFileName() const
{
    std::string name = m_fileName ? *m_fileName : GetStoredName();
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

void CZipEntryHeader::ClearFileNameAfterWrite()
{
    if (m_bNameInExtra)
        m_fileNameBuffer.Release();
    else
        m_fileName.reset();
}

void CZipEntryHeader::SetTime(std::time_t t) { TimeToDos(t, m_uModDate, m_uModTime); }

std::time_t CZipEntryHeader::GetTime() const { return DosToTime(m_uModDate, m_uModTime); }

std::uint32_t CZipEntryHeader::GetSystemAttr() const
{
    const int system = GetSystemCompatibility();
    const bool slash = EndsWithSlash(GetFileName());
    if (!IsSupportedSystem(system))
        return slash ? kDirectoryAttributes : kFileAttributes;
    if (m_uExternalAttr == 0 && slash)
        return kDirectoryAttributes;
    return ConvertAttributes(m_uExternalAttr, system, kOwnSystem);
}

void CZipEntryHeader::SetSystemAttr(std::uint32_t attributes)
{
    m_uExternalAttr = ConvertAttributes(attributes, kOwnSystem, GetSystemCompatibility());
}

bool CZipEntryHeader::IsDirectory() const { return (GetSystemAttr() & kDosDirectory) != 0; }
