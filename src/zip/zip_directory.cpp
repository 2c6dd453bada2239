#include "zip/zip_directory.h"

#include "platform/file.h"

#include "zip/zip_exception.h"
#include "zip/zip_record_fields.h"
#include "zip/zip_records.h"
#include "zip/zip_store.h"

#include <algorithm>
#include <cstring>

using namespace zip;

void CZipDirectory::Init()
{
    m_headers.clear();
    m_current.reset();
    m_info = CZipDirectoryInfo();
}

void CZipDirectory::ReadDirectory()
{
    CZipStore& store = *m_pStorage;
    store.File().SeekToEnd();
    const std::uint32_t endOffset = store.LocateSignature(kEndRecordSignature, kEndRecordSearchDepth);
    if (endOffset == kNotFound)
        store.ThrowError(CZipException::ZE_NO_DIRECTORY);
    m_info.m_uEndOffset = endOffset;

    char buf[kEndRecordSize];
    store.File().Seek(static_cast<std::int64_t>(endOffset), CZipStream::begin);
    store.ReadExact(buf, sizeof buf);
    const EndRecordFields end = ReadEndRecordFields(buf);
    m_info.m_uThisDisk = end.thisDisk;
    m_info.m_uDiskWithCD = end.directoryDisk;
    m_info.m_uDiskEntriesNo = end.diskEntries;
    m_info.m_uEntriesNumber = end.entries;
    m_info.m_uSize = end.directorySize;
    m_info.m_uOffset = end.directoryOffset;
    m_info.m_comment.Allocate(end.commentSize);
    store.ReadExact(m_info.m_comment.Data(), end.commentSize);

    // Values at their maximum may stand for ZIP64 ones; only a locator proves it.
    if (m_info.m_uThisDisk == 0xFFFF || m_info.m_uDiskWithCD == 0xFFFF ||
        m_info.m_uDiskEntriesNo == 0xFFFF || m_info.m_uEntriesNumber == 0xFFFF ||
        m_info.m_uSize == 0xFFFFFFFF || m_info.m_uOffset == 0xFFFFFFFF) {
        store.File().Seek(endOffset, CZipStream::begin);
        if (store.LocateSignature(kZip64LocatorSignature, 0xFFFFFFFF) != kNotFound)
            store.ThrowError(CZipException::ZE_ZIP64_REQUIRED);
    }

    if (m_info.m_uThisDisk == 0) {
        store.m_iSegmMode = CZipStore::noSegments;
        store.m_uCurrentDisk = 0;
    } else {
        // Segmented archives are never written by this program. Spanned ones (on removable
        // disks) need a disk-change handler that nobody sets; of a split one only the last
        // volume, this file, is at hand.
        store.m_uCurrentDisk = m_info.m_uThisDisk;
        const bool spanned = store.m_iSegmMode == CZipStore::suggestedSpan &&
                             CFile::IsOnRemovableDrive(store.GetFilePath());
        store.m_iSegmMode = spanned ? CZipStore::spannedArchive : CZipStore::splitArchive;
        if (spanned)
            store.ThrowError(CZipException::ZE_NO_SEGMENT_HANDLER);
        if (m_info.m_uDiskWithCD != m_info.m_uThisDisk)
            store.ThrowError(CZipException::ZE_NO_DIRECTORY);
    }

    if (!store.IsSegmented() &&
        static_cast<std::uint64_t>(endOffset) < static_cast<std::uint64_t>(m_info.m_uOffset) + m_info.m_uSize)
        store.ThrowError(CZipException::ZE_DAMAGED);
    if (store.m_uBytesBeforeZip == 0 && m_info.m_uThisDisk == 0)
        store.m_uBytesBeforeZip = endOffset - m_info.m_uOffset - m_info.m_uSize;
    if ((m_info.m_uSize == 0) != (m_info.m_uEntriesNumber == 0))
        store.ThrowError(CZipException::ZE_DAMAGED);

    m_info.m_bInArchive = true;
    if (m_info.m_uSize != 0)
        ReadHeaders();
}

void CZipDirectory::ReadHeaders()
{
    CZipStore& store = *m_pStorage;
    store.SeekToArchiveOffset(m_info.m_uOffset);
    m_headers.clear();
    for (unsigned i = 0; i < m_info.m_uEntriesNumber; ++i) {
        auto header = std::make_unique<CZipEntryHeader>();
        if (!header->ReadCentral(store, *m_pStringSettings))
            store.ThrowError(CZipException::ZE_DAMAGED);
        m_headers.push_back(std::move(header));
    }
    SortHeaders();
}

void CZipDirectory::SortHeaders()
{
    auto key = [](const std::unique_ptr<CZipEntryHeader>& h) {
        return (static_cast<std::uint64_t>(h->m_uDiskStart) << 32) | h->m_uOffset;
    };
    std::stable_sort(m_headers.begin(), m_headers.end(),
                     [&](const auto& a, const auto& b) { return key(a) < key(b); });
    for (std::size_t i = 1; i < m_headers.size(); ++i)
        if (key(m_headers[i - 1]) == key(m_headers[i]))
            m_pStorage->ThrowError(CZipException::ZE_DAMAGED);
}

void CZipDirectory::RemoveFromDisk()
{
    CZipStore& store = *m_pStorage;
    if (m_info.m_bInArchive) {
        store.File().SetLength(static_cast<std::uint64_t>(store.m_uBytesBeforeZip) + m_info.m_uOffset);
        m_info.m_bInArchive = false;
    } else {
        store.FlushBuffer();
    }
}

std::unique_ptr<CZipEntryHeader> CZipDirectory::MakeHeader(const CZipEntryHeader& templ, int level,
                                                           bool segmented) const
{
    auto header = std::make_unique<CZipEntryHeader>();
    header->m_uMethod = templ.m_uMethod;
    header->m_uModTime = templ.m_uModTime;
    header->m_uModDate = templ.m_uModDate;
    header->m_uExternalAttr = templ.m_uExternalAttr;
    header->m_uLocalComprSize = templ.m_uLocalComprSize;
    header->m_uLocalUncomprSize = templ.m_uLocalUncomprSize;
    header->m_fileName = templ.m_fileName;
    header->m_fileNameBuffer = templ.m_fileNameBuffer;
    header->m_comment = templ.m_comment;
    header->m_localExtraField = templ.m_localExtraField;
    header->m_centralExtraField = templ.m_centralExtraField;
    header->m_centralExtraField.Remove(ZIP_STRINGS_EXTRA_ID);
    header->SetSystemCompatibility(templ.GetSystemCompatibility());
    header->m_uEncryptionMethod = templ.m_uEncryptionMethod;
    header->m_bNameInExtra = m_pStringSettings->m_bStoreNameInExtraData;
    header->m_uNameCodePage = m_pStringSettings->m_uNameCodePage;
    header->m_uCommentCodePage = m_pStringSettings->m_uCommentCodePage;

    header->PrepareData(level, segmented);
    // Encode a name given as text now, so that a name too long is refused before the
    // header joins the directory (where it would make every later close fail).
    if (header->m_fileNameBuffer.IsEmpty() && header->m_fileName)
        header->EncodeFileName();
    if (header->m_fileNameBuffer.GetSize() > 0xFFFF || header->m_comment.GetSize() > 0xFFFF ||
        header->m_localExtraField.GetTotalSize() > 0xFFFF)
        ThrowZipError(CZipException::ZE_FIELD_TOO_LONG);
    return header;
}

CZipEntryHeader* CZipDirectory::AppendHeader(const CZipEntryHeader& templ, int level, bool segmented)
{
    std::unique_ptr<CZipEntryHeader> header = MakeHeader(templ, level, segmented);
    RemoveFromDisk();
    m_headers.push_back(std::move(header));
    m_current = m_headers.size() - 1;
    m_pStorage->File().SeekToEnd();
    return m_headers.back().get();
}

std::uint64_t CZipDirectory::GetEndOfEntries() const
{
    if (m_info.m_bInArchive)
        return m_info.m_uOffset;
    return m_pStorage->GetWriteOffset();
}

std::uint64_t CZipDirectory::GetWrittenSize() const
{
    std::uint64_t size = kEndRecordSize + m_info.m_comment.GetSize();
    for (const auto& header : m_headers)
        size += header->GetWrittenCentralSize();
    return size;
}

void CZipDirectory::WriteDirectory()
{
    if (m_info.m_bInArchive)
        return;
    CZipStore& store = *m_pStorage;
    m_info.m_uEntriesNumber = static_cast<std::uint16_t>(m_headers.size());
    store.FlushBuffer();
    store.File().SeekToEnd();
    m_info.m_uSize = 0;
    m_info.m_uDiskEntriesNo = 0;
    m_info.m_uDiskWithCD = store.m_uCurrentDisk;
    m_info.m_uOffset = store.GetWriteOffset();
    for (auto& header : m_headers) {
        m_info.m_uSize += header->WriteCentral(store);
        if (store.m_uCurrentDisk == m_info.m_uDiskWithCD)
            ++m_info.m_uDiskEntriesNo;
    }

    char buf[kEndRecordSize];
    std::memcpy(buf, kEndRecordSignature, kSignatureSize);
    char* p = PutU16(buf + kSignatureSize, m_info.m_uThisDisk);
    p = PutU16(p, m_info.m_uDiskWithCD);
    p = PutU16(p, m_info.m_uDiskEntriesNo);
    p = PutU16(p, m_info.m_uEntriesNumber);
    p = PutU32(p, m_info.m_uSize);
    p = PutU32(p, m_info.m_uOffset);
    PutU16(p, static_cast<std::uint16_t>(m_info.m_comment.GetSize()));
    store.Write(buf, kEndRecordSize);
    store.Write(m_info.m_comment.Data(), m_info.m_comment.GetSize());
    m_info.m_bInArchive = true;
}
