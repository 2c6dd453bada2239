// The engine's random-access stream: the archive file on disk (CZipFile) and entry data
// in memory (CZipMemoryFile) implement it.
#pragma once

#include <cstdint>
#include <string>

class CZipStream {
public:
    enum Origin { begin = 0, current = 1, end = 2 };

    virtual ~CZipStream() = default;

    virtual bool Open(const std::string& path, unsigned flags, bool throwOnFailure) { return true; }
    virtual void Close() = 0;
    virtual void Flush() = 0;
    virtual std::uint64_t GetPosition() const = 0;
    virtual std::uint64_t Seek(std::int64_t offset, int origin) = 0;
    virtual std::uint64_t GetLength() const = 0;
    virtual void SetLength(std::uint64_t length) = 0;
    virtual std::uint64_t SeekToBegin() { return Seek(0, begin); }
    virtual std::uint64_t SeekToEnd() { return Seek(0, end); }
    virtual std::string GetFilePath() const = 0;
    virtual std::uint32_t Read(void* buffer, std::uint32_t count) = 0;
    virtual void Write(const void* buffer, std::uint32_t count) = 0;
    virtual bool IsClosed() const = 0;
};
