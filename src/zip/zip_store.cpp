#include "zip/zip_store.h"

#include "platform/file.h"
#include "zip/zip_exception.h"
#include "zip/zip_records.h"

#include <cstring>

void CZipStore::Open(const std::string& path, bool readOnly, std::uint32_t volumeSize)
{
    m_uCurrentDisk = kClosedDisk;
    m_writeBuffer.Allocate(m_uWriteBufferSize);
    m_uBytesInWriteBuffer = 0;
    m_bReadOnly = readOnly;
    const unsigned flags = (readOnly ? CFile::modeRead : CFile::modeReadWrite) |
                           CFile::shareDenyWrite | CFile::modeNoTruncate;
    m_file.Open(path, flags, true);
    m_uVolumeSize = volumeSize;
    m_iSegmMode = volumeSize == 0 ? suggestedSpan : suggestedSplit;
}

std::string CZipStore::Close(bool afterException)
{
    if (!afterException)
        FlushBuffer();
    const std::string path = m_file.GetFilePath();
    if (afterException) {
        m_file.Abort();
    } else if (!m_file.IsClosed()) {
        if (!m_bReadOnly)
            m_file.Flush();
        m_file.Close();
    }
    m_writeBuffer.Release();
    m_uBytesInWriteBuffer = 0;
    m_uCurrentDisk = kClosedDisk;
    m_iSegmMode = noSegments;
    m_uBytesBeforeZip = 0;
    return path;
}

void CZipStore::Write(const void* data, std::uint32_t count)
{
    const char* p = static_cast<const char*>(data);
    const std::uint32_t capacity = m_writeBuffer.GetSize();
    while (count > 0) {
        if (m_uBytesInWriteBuffer == 0 && count >= capacity) {
            // Nothing waiting and more than a buffer's worth: no point copying it.
            m_file.Write(p, count);
            return;
        }
        const std::uint32_t room = capacity - m_uBytesInWriteBuffer;
        const std::uint32_t n = count < room ? count : room;
        std::memcpy(m_writeBuffer.Data() + m_uBytesInWriteBuffer, p, n);
        m_uBytesInWriteBuffer += n;
        p += n;
        count -= n;
        if (m_uBytesInWriteBuffer == capacity)
            FlushBuffer();
    }
}

void CZipStore::FlushBuffer()
{
    if (m_uBytesInWriteBuffer == 0)
        return;
    const std::uint32_t n = m_uBytesInWriteBuffer;
    m_file.Write(m_writeBuffer.Data(), n);
    m_uBytesInWriteBuffer = 0;
}

void CZipStore::ReadExact(void* buffer, std::uint32_t count)
{
    if (count != 0 && m_file.Read(buffer, count) != count)
        ThrowError(CZipException::ZE_DAMAGED);
}

void CZipStore::PatchAt(std::uint32_t offset, const void* data, std::uint32_t count)
{
    FlushBuffer();
    const std::uint64_t back = m_file.GetPosition();
    SeekToArchiveOffset(offset);
    m_file.Write(data, count);
    m_file.Seek(static_cast<std::int64_t>(back), CZipStream::begin);
}

void CZipStore::SeekToArchiveOffset(std::uint32_t offset)
{
    std::int64_t pos = offset;
    if (m_uCurrentDisk == 0)
        pos += m_uBytesBeforeZip;
    m_file.Seek(pos, CZipStream::begin);
}

std::uint32_t CZipStore::GetWriteOffset()
{
    std::uint64_t pos = m_file.GetPosition() + m_uBytesInWriteBuffer;
    if (m_uCurrentDisk == 0)
        pos -= m_uBytesBeforeZip;
    if (pos > 0xFFFFFFFFu)
        ThrowError(CZipException::ZE_SIZE_TOO_LARGE);
    return static_cast<std::uint32_t>(pos);
}

std::uint32_t CZipStore::LocateSignature(const char sig[zip::kSignatureSize], std::uint32_t maxDepth)
{
    const std::uint32_t bufferSize = m_uLocateBufferSize;
    CZipBuffer buffer(bufferSize);
    const std::uint64_t length = m_file.GetLength();
    const std::uint64_t limit = maxDepth < length ? maxDepth : length;
    std::uint64_t covered = length - m_file.GetPosition();
    constexpr int kLast = zip::kSignatureSize - 1;
    int k = kLast;
    bool partial = false;
    while (covered < limit) {
        std::uint32_t chunk = bufferSize;
        std::uint32_t skip = 0;
        covered += bufferSize;
        if (covered > limit) {
            skip = static_cast<std::uint32_t>(covered - limit);
            chunk = bufferSize - skip;
            covered = limit;
        }
        m_file.Seek(static_cast<std::int64_t>(length - covered), CZipStream::begin);
        ReadExact(buffer.Data() + skip, chunk);
        // Match backwards from the signature's last byte; the state runs on across chunks
        // so a signature straddling two of them is found.
        for (std::int64_t i = bufferSize - 1; i >= static_cast<std::int64_t>(skip);) {
            if (buffer.Data()[i] == sig[k]) {
                if (k == 0) {
                    const std::uint64_t pos = length - covered + (static_cast<std::uint64_t>(i) - skip);
                    return pos > 0xFFFFFFFEu ? zip::kNotFound : static_cast<std::uint32_t>(pos);
                }
                partial = true;
                --k;
                --i;
            } else if (partial) {
                partial = false;
                k = kLast;  // compare the same byte again against the last signature byte
            } else {
                --i;
            }
        }
    }
    return zip::kNotFound;
}

void CZipStore::ThrowError(int cause) const
{
    ThrowZipError(cause, m_file.GetFilePath());
}
