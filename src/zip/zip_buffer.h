// An owned byte block with its size: names, comments, extra data, the write buffer and
// scratch reads.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

class CZipBuffer {
public:
    CZipBuffer() = default;
    explicit CZipBuffer(std::uint32_t size, bool clear = false) { Allocate(size, clear); }
    CZipBuffer(const CZipBuffer& other) { *this = other; }
    CZipBuffer& operator=(const CZipBuffer& other)
    {
        if (this != &other) {
            Allocate(other.m_uSize);
            if (m_uSize != 0)
                std::memcpy(m_pBuffer.get(), other.m_pBuffer.get(), m_uSize);
        }
        return *this;
    }
    CZipBuffer(CZipBuffer&&) noexcept = default;
    CZipBuffer& operator=(CZipBuffer&&) noexcept = default;

    // Keeps the block when the size is unchanged (clearing it if asked), otherwise frees it
    // and allocates anew; size 0 leaves no block. The new block is not initialised unless
    // clear is set, so a large write buffer costs no page until it is used.
    void Allocate(std::uint32_t size, bool clear = false)
    {
        if (size != m_uSize) {
            Release();
            if (size != 0)
                m_pBuffer.reset(new char[size]);
            m_uSize = size;
        }
        if (clear && m_uSize != 0)
            std::memset(m_pBuffer.get(), 0, m_uSize);
    }
    void Release()
    {
        m_pBuffer.reset();
        m_uSize = 0;
    }
    void Assign(const void* data, std::uint32_t size)
    {
        Allocate(size);
        if (size != 0)
            std::memcpy(m_pBuffer.get(), data, size);
    }

    char* Data() { return m_pBuffer.get(); }
    const char* Data() const { return m_pBuffer.get(); }
    std::uint32_t GetSize() const { return m_uSize; }
    bool IsEmpty() const { return m_uSize == 0; }
    bool operator==(const CZipBuffer& other) const
    {
        return m_uSize == other.m_uSize &&
               (m_uSize == 0 || std::memcmp(m_pBuffer.get(), other.m_pBuffer.get(), m_uSize) == 0);
    }

private:
    std::unique_ptr<char[]> m_pBuffer;
    std::uint32_t m_uSize = 0;
};
