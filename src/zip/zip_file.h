// The archive file on disk: the engine's stream over the platform file.
#pragma once

#include "platform/file.h"
#include "zip/zip_stream.h"

class CZipFile : public CZipStream {
public:
    // Opens with CFile flags. A failure throws CFileException when throwOnFailure is set,
    // otherwise returns false.
    bool Open(const std::string& path, unsigned flags, bool throwOnFailure) override;
    void Close() override;
    void Flush() override { m_file.Flush(); }
    std::uint64_t GetPosition() const override { return m_file.GetPosition(); }
    std::uint64_t Seek(std::int64_t offset, int origin) override;
    std::uint64_t GetLength() const override { return m_file.GetLength(); }
    void SetLength(std::uint64_t length) override { m_file.SetLength(length); }
    std::string GetFilePath() const override { return m_file.GetFilePath(); }
    std::uint32_t Read(void* buffer, std::uint32_t count) override { return m_file.Read(buffer, count); }
    void Write(const void* buffer, std::uint32_t count) override { m_file.Write(buffer, count); }
    bool IsClosed() const override { return !m_file.IsOpen(); }
    // Releases the handle without reporting failures.
    void Abort() { m_file.Abort(); }

private:
    CFile m_file;
};
