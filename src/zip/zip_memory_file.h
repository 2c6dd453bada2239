// A growable byte buffer used as a stream: carries one entry's bytes into the archive.
#pragma once

#include "zip/zip_stream.h"

class CZipMemoryFile : public CZipStream {
public:
    explicit CZipMemoryFile(std::uint32_t growBy = 1024) : m_nGrowBy(growBy) {}
    ~CZipMemoryFile() override { Close(); }
    CZipMemoryFile(const CZipMemoryFile&) = delete;
    CZipMemoryFile& operator=(const CZipMemoryFile&) = delete;

    void Close() override;
    void Flush() override {}
    std::uint64_t GetPosition() const override { return m_nPos; }
    // Origins begin, current, end; any other leaves the position. Before the start throws
    // ZE_NO_MEMORY; beyond the size grows the capacity, not the size.
    std::uint64_t Seek(std::int64_t offset, int origin) override;
    std::uint64_t GetLength() const override { return m_nDataSize; }
    // Truncates or extends (with zeros) the data; the position stays where it was.
    void SetLength(std::uint64_t length) override;
    std::string GetFilePath() const override { return {}; }
    std::uint32_t Read(void* buffer, std::uint32_t count) override;
    void Write(const void* buffer, std::uint32_t count) override;
    bool IsClosed() const override { return m_pBuffer == nullptr; }

    const char* Data() const { return m_pBuffer; }

private:
    // Grows the capacity to at least size in steps of m_nGrowBy; ZE_NO_MEMORY on a step of 0
    // or a failed allocation.
    void Grow(std::uint64_t size);

    std::uint32_t m_nGrowBy;
    std::uint32_t m_nPos = 0;
    std::uint32_t m_nBufSize = 0;
    std::uint32_t m_nDataSize = 0;
    char* m_pBuffer = nullptr;
};
