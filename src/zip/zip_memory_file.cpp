#include "zip/zip_memory_file.h"

#include "zip/zip_exception.h"

#include <cstdlib>
#include <cstring>

void CZipMemoryFile::Close()
{
    std::free(m_pBuffer);
    m_pBuffer = nullptr;
    m_nGrowBy = m_nPos = m_nBufSize = m_nDataSize = 0;
}

void CZipMemoryFile::Grow(std::uint64_t size)
{
    if (m_nBufSize >= size)
        return;
    if (m_nGrowBy == 0)
        ThrowZipError(CZipException::ZE_NO_MEMORY);
    const std::uint64_t missing = size - m_nBufSize;
    const std::uint64_t steps = (missing + m_nGrowBy - 1) / m_nGrowBy;
    const std::uint64_t capacity = m_nBufSize + steps * m_nGrowBy;
    if (capacity > 0xFFFFFFFFu)
        ThrowZipError(CZipException::ZE_NO_MEMORY);
    void* grown = std::realloc(m_pBuffer, static_cast<std::size_t>(capacity));
    if (grown == nullptr)
        ThrowZipError(CZipException::ZE_NO_MEMORY);
    m_pBuffer = static_cast<char*>(grown);
    m_nBufSize = static_cast<std::uint32_t>(capacity);
}

void CZipMemoryFile::Write(const void* buffer, std::uint32_t count)
{
    if (count == 0)
        return;
    Grow(static_cast<std::uint64_t>(m_nPos) + count);
    // A seek beyond the end leaves a gap: it reads back as zeros, not as old heap bytes.
    if (m_nPos > m_nDataSize)
        std::memset(m_pBuffer + m_nDataSize, 0, m_nPos - m_nDataSize);
    std::memcpy(m_pBuffer + m_nPos, buffer, count);
    m_nPos += count;
    if (m_nPos > m_nDataSize)
        m_nDataSize = m_nPos;
}

std::uint32_t CZipMemoryFile::Read(void* buffer, std::uint32_t count)
{
    if (m_nPos >= m_nDataSize)
        return 0;
    const std::uint32_t n = count < m_nDataSize - m_nPos ? count : m_nDataSize - m_nPos;
    std::memcpy(buffer, m_pBuffer + m_nPos, n);
    m_nPos += n;
    return n;
}

std::uint64_t CZipMemoryFile::Seek(std::int64_t offset, int origin)
{
    std::int64_t base;
    switch (origin) {
    case begin: base = 0; break;
    case current: base = m_nPos; break;
    case end: base = m_nDataSize; break;
    default: return m_nPos;
    }
    const std::int64_t target = base + offset;
    if (target < 0 || target > 0xFFFFFFFFll)
        ThrowZipError(CZipException::ZE_NO_MEMORY);
    if (target > m_nDataSize)
        Grow(static_cast<std::uint64_t>(target));
    m_nPos = static_cast<std::uint32_t>(target);
    return m_nPos;
}

void CZipMemoryFile::SetLength(std::uint64_t length)
{
    Grow(length);
    if (length > m_nDataSize)
        std::memset(m_pBuffer + m_nDataSize, 0, static_cast<std::size_t>(length - m_nDataSize));
    m_nDataSize = static_cast<std::uint32_t>(length);
}
