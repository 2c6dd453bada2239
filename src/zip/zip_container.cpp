#include "zip/zip_container.h"

#include "platform/file.h"
#include "zip/zip_attributes.h"
#include "zip/zip_exception.h"
#include "zip/zip_records.h"
#include "zip/zip_stream.h"

#include <algorithm>

using namespace zip;

CZipContainer::CZipContainer() : m_centralDir(m_storage, m_stringSettings) {}

CZipContainer::~CZipContainer()
{
    m_pCompressor.reset();
    m_storage.File().Abort();
}

void CZipContainer::SetBufferSizes(int writeBuffer, int generalBuffer, int searchBuffer)
{
    if (!IsClosed())
        return;
    auto atLeast1024 = [](int v) { return static_cast<std::uint32_t>(v < 1024 ? 1024 : v); };
    m_storage.m_uWriteBufferSize = atLeast1024(writeBuffer);
    m_uBufferSize = atLeast1024(generalBuffer);
    m_storage.m_uLocateBufferSize = atLeast1024(searchBuffer);
}

bool CZipContainer::Open(const std::string& path, int mode, std::uint32_t volumeSize)
{
    if (!IsClosed())
        return false;
    if (mode != zipOpen && mode != zipOpenReadOnly)
        return false;
    m_storage.Open(path, mode == zipOpenReadOnly, volumeSize);
    m_iFileOpened = 0;
    m_centralDir.Init();
    m_iArchiveSystCompatib = kOwnSystem;
    m_centralDir.ReadDirectory();
    if (m_centralDir.GetCount() > 0) {
        const int system = m_centralDir[0].GetSystemCompatibility();
        if (IsSupportedSystem(system))
            m_iArchiveSystCompatib = system;
    }
    return true;
}

bool CZipContainer::AddNewEntry(CZipStream& stream, const std::string& name, int level,
                                int smartFlags, std::uint32_t bufferSize)
{
    CZipAddRequest request;
    request.m_pStream = &stream;
    request.m_strFileNameInZip = name;
    request.m_iComprLevel = level;
    request.m_iSmartLevel = smartFlags;
    request.m_nBufSize = bufferSize;
    return AddNewEntry(request);
}

bool CZipContainer::MakeFileTemplate(const std::string& name, CZipEntryHeader& templ) const
{
    std::uint32_t attributes = kFileAttributes;
    // Our host system is not Unix: add the Unix mode bits in the high word.
    attributes |= ConvertAttributes(attributes, kOwnSystem, ZS_UNIX);
    templ.SetSystemCompatibility(m_iArchiveSystCompatib);
    templ.SetSystemAttr(attributes);
    templ.SetFileName(name);
    templ.SetTime(Now());
    return !templ.IsDirectory();
}

bool CZipContainer::AddNewEntry(CZipAddRequest& request)
{
    if (m_uBufferSize == 0)
        return false;
    // Only streams are added: adding files from disk, directories and replacing entries
    // are not supported.
    if (request.m_pStream == nullptr || request.m_uReplaceIndex != kNoIndex || request.m_nBufSize == 0)
        return false;
    CZipStream& source = *request.m_pStream;

    CZipEntryHeader templ;
    if (!MakeFileTemplate(request.m_strFileNameInZip, templ))
        return false;

    int level = request.m_iComprLevel;
    if ((request.m_iSmartLevel & ZSF_STORE_TINY) && level != 0 && source.GetLength() < 5)
        level = 0;

    source.SeekToBegin();
    const std::uint64_t length = source.GetLength();
    if (length > 0xFFFFFFFFu)
        m_storage.ThrowError(CZipException::ZE_SIZE_TOO_LARGE);
    templ.m_uLocalUncomprSize = static_cast<std::uint32_t>(length);
    if (level == 0)
        templ.m_uLocalComprSize = static_cast<std::uint32_t>(length);

    if (!OpenNewEntry(templ, level))
        return false;

    CZipBuffer buffer(request.m_nBufSize);
    std::uint32_t n;
    do {
        n = source.Read(buffer.Data(), buffer.GetSize());
        if (n != 0)
            WriteNewEntry(buffer.Data(), n);
    } while (n == buffer.GetSize());
    CloseNewEntry(false);
    return true;
}

bool CZipContainer::MakePackedTemplate(const std::string& name, const CZipPackedData& packed,
                                      CZipEntryHeader& templ) const
{
    if (!MakeFileTemplate(name, templ) || packed.data.size() > 0xFFFFFFFFu)
        return false;
    templ.m_uMethod = packed.method;
    templ.m_uEncryptionMethod = CZipEntryHeader::kNoEncryption;
    templ.m_uLocalUncomprSize = packed.size;
    templ.m_uLocalComprSize = static_cast<std::uint32_t>(packed.data.size());
    return true;
}

bool CZipContainer::AddPackedEntry(const std::string& name, const CZipPackedData& packed)
{
    CZipEntryHeader templ;
    if (!CanAddEntry() || !MakePackedTemplate(name, packed, templ))
        return false;
    // The header knows its sizes and CRC before it is written: nothing to patch after.
    CZipEntryHeader* header = m_centralDir.AppendHeader(templ, packed.level, m_storage.IsSegmented());
    header->m_uCrc32 = packed.crc;
    header->m_uComprSize = templ.m_uLocalComprSize;
    header->m_uUncomprSize = packed.size;
    header->WriteLocal(m_storage);
    m_storage.Write(packed.data.data(), static_cast<std::uint32_t>(packed.data.size()));
    FinishEntry(*header);
    m_centralDir.ClearCurrent();
    return true;
}

std::uint64_t CZipContainer::GetSizeWithNewDirectory() const
{
    return m_storage.m_uBytesBeforeZip + m_centralDir.GetEndOfEntries() + m_centralDir.GetWrittenSize();
}

std::uint64_t CZipContainer::GetPackedEntrySize(const std::string& name, const CZipPackedData& packed) const
{
    CZipEntryHeader templ;
    if (!MakePackedTemplate(name, packed, templ))
        return 0;
    // Packed entries know their sizes: no data descriptor follows them.
    const std::unique_ptr<CZipEntryHeader> header = m_centralDir.MakeHeader(templ, packed.level, false);
    return header->GetLocalSize() + packed.data.size() + header->GetWrittenCentralSize();
}

bool CZipContainer::CanAddEntry() const
{
    return !IsClosed() && m_iFileOpened == 0 && !m_storage.IsSegmented() && !m_storage.IsReadOnly() &&
           static_cast<std::uint16_t>(m_centralDir.GetCount()) != 0xFFFF;
}

bool CZipContainer::OpenNewEntry(CZipEntryHeader& templ, int level, const std::string* path,
                                 std::uint16_t replaceIndex)
{
    if (!CanAddEntry())
        return false;
    if (path != nullptr || replaceIndex != kNoIndex)
        return false;  // adding from disk and replacing are not supported

    m_buffer.Allocate(m_uBufferSize);

    templ.SetSystemCompatibility(m_iArchiveSystCompatib);
    if (templ.m_uModDate == 0 && templ.m_uModTime == 0)
        templ.SetTime(Now());

    const bool directory = templ.IsDirectory();
    std::string name = templ.m_fileName ? *templ.m_fileName : templ.GetStoredName();
    if (directory && !name.empty() && name.back() != '/' && name.back() != '\\')
        templ.SetFileName(name + '\\');
    else if (name.empty())
        templ.SetFileName("file" + std::to_string(m_centralDir.GetCount()));

    // No password is ever set: nothing is encrypted.
    templ.m_uEncryptionMethod = CZipEntryHeader::kNoEncryption;

    if (level < -1 || level > 9)
        level = -1;
    templ.m_uMethod = (level == 0 || directory) ? 0 : m_uCompressionMethod;
    if (!m_pCompressor || !m_pCompressor->SupportsMethod(templ.m_uMethod))
        m_pCompressor = std::make_unique<CZipDeflateCodec>(m_storage, m_buffer);

    CZipEntryHeader* header = m_centralDir.AppendHeader(templ, level, m_storage.IsSegmented());
    header->WriteLocal(m_storage);
    m_pCompressor->BeginCompress(level, *header);
    m_iFileOpened = 1;
    return true;
}

bool CZipContainer::WriteNewEntry(const void* data, std::uint32_t count)
{
    if (m_iFileOpened != 1)
        return false;
    m_pCompressor->CompressChunk(data, count);
    return true;
}

bool CZipContainer::CloseNewEntry(bool afterException)
{
    if (m_iFileOpened != 1)
        return false;
    m_pCompressor->EndCompress(afterException);
    if (!afterException) {
        CZipEntryHeader* header = m_centralDir.GetCurrent();
        if (!m_storage.IsSegmented() && !(header->m_uFlag & CZipEntryHeader::kFlagDataDescriptor))
            header->UpdateLocal(m_storage);
        FinishEntry(*header);
    }
    m_centralDir.ClearCurrent();
    m_iFileOpened = 0;
    m_buffer.Release();
    return true;
}

void CZipContainer::FinishEntry(CZipEntryHeader& header)
{
    if (header.m_uFlag & CZipEntryHeader::kFlagDataDescriptor)
        header.WriteDescriptor(m_storage, m_storage.IsSegmented());
    m_storage.FlushBuffer();
}

void CZipContainer::Close(int mode, bool updateTime)
{
    if (IsClosed()) {
        // What an open that failed half way left behind: the file is released, never
        // written to (it may not even be an archive).
        if (mode == closeNormal || !m_storage.HasOpenFile())
            return;
        m_centralDir.Close();
        m_stringSettings.Reset();
        m_storage.Close(true);
        return;
    }
    if (m_iFileOpened == 1)
        CloseNewEntry(mode != closeNormal);

    bool written = false;
    if (mode != closeAfterException && m_storage.HasOpenFile()) {
        m_centralDir.WriteDirectory();
        written = true;
    }

    std::time_t newest = 0;
    if (updateTime)
        for (std::size_t i = 0; i < m_centralDir.GetCount(); ++i)
            newest = std::max(newest, m_centralDir[i].GetTime());

    m_centralDir.Close();
    m_stringSettings.Reset();
    const std::string path = m_storage.Close(!written);
    if (updateTime && !path.empty())
        CFile::SetModificationTime(path, newest);
}
