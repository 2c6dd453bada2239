// The storage of an open archive: the file, the write buffer through which everything is
// written, the bytes that precede the archive in the file, and the backward search for
// record signatures.
#pragma once

#include "zip/zip_buffer.h"
#include "zip/zip_file.h"
#include "zip/zip_records.h"

#include <cstdint>
#include <string>

class CZipStore {
public:
    enum SegmentMode : int {
        noSegments = 0,
        spannedArchive = 1,
        splitArchive = 2,
        suggestedSpan = 3,
        suggestedSplit = 4,
    };
    static constexpr std::uint16_t kClosedDisk = 0xFFFF;

    CZipStore() = default;
    CZipStore(const CZipStore&) = delete;
    CZipStore& operator=(const CZipStore&) = delete;

    // Opens an existing archive file (read/write, or read-only), others denied writing.
    // A file that cannot be opened throws CFileException. The current disk stays closed
    // until the directory has been read.
    void Open(const std::string& path, bool readOnly, std::uint32_t volumeSize);
    // Flushes the write buffer and the file (unless afterException), closes the file and
    // returns its path. After an exception nothing is written and failures are ignored.
    std::string Close(bool afterException);

    bool IsClosed() const { return m_uCurrentDisk == kClosedDisk; }
    bool HasOpenFile() const { return !m_file.IsClosed(); }
    bool IsReadOnly() const { return m_bReadOnly; }
    bool IsSegmented() const { return m_iSegmMode != noSegments; }

    // Buffered write; the buffer goes to the file when full.
    void Write(const void* data, std::uint32_t count);
    // Writes the bytes waiting in the buffer to the file.
    void FlushBuffer();
    // Reads exactly count bytes at the file position; a short read is ZE_DAMAGED.
    void ReadExact(void* buffer, std::uint32_t count);
    // Writes count bytes at an archive offset straight to the file, bypassing the buffer,
    // and returns to the file position it found.
    void PatchAt(std::uint32_t offset, const void* data, std::uint32_t count);

    // Seeks to an offset relative to the archive start (the prefix is added on disk 0).
    void SeekToArchiveOffset(std::uint32_t offset);
    // The archive offset at which the next buffered byte will land; ZE_SIZE_TOO_LARGE
    // beyond 4 GiB.
    std::uint32_t GetWriteOffset();

    // Position of the first byte of sig searched backwards from the end of the file, at
    // most maxDepth bytes deep; zip::kNotFound when it is not there.
    std::uint32_t LocateSignature(const char sig[zip::kSignatureSize], std::uint32_t maxDepth);

    [[noreturn]] void ThrowError(int cause) const;

    CZipFile& File() { return m_file; }
    std::string GetFilePath() const { return m_file.GetFilePath(); }

    std::uint32_t m_uWriteBufferSize = 65536;
    std::uint32_t m_uLocateBufferSize = 32768;
    std::uint16_t m_uCurrentDisk = kClosedDisk;
    int m_iSegmMode = noSegments;
    std::uint32_t m_uBytesBeforeZip = 0;
    std::uint32_t m_uVolumeSize = 0;

private:
    CZipFile m_file;
    CZipBuffer m_writeBuffer;
    std::uint32_t m_uBytesInWriteBuffer = 0;
    bool m_bReadOnly = false;
};
