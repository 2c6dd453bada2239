// Compression of new entries: zlib's raw deflate (method 8) or plain storing (method 0).
// Output collects in the archive's general buffer and goes to the store in whole buffers;
// the CRC-32 of the uncompressed bytes is computed on the way.
#pragma once

#include "zip/zip_buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <zlib.h>

class CZipEntryHeader;
class CZipStore;

enum ZipSmartFlags : int {
    ZSF_DIR_PLAIN = 1,    // a directory is written without encryption
    ZSF_EMPTY_PLAIN = 2,  // an empty source is written without encryption
    ZSF_STORE_TINY = 4,   // a source shorter than 5 bytes is stored, not deflated
    ZSF_DEFAULT = ZSF_DIR_PLAIN | ZSF_EMPTY_PLAIN | ZSF_STORE_TINY,
};

class CZipCodec {
public:
    CZipCodec(CZipStore& store, CZipBuffer& buffer) : m_pStorage(&store), m_pBuffer(&buffer) {}
    virtual ~CZipCodec() = default;
    CZipCodec(const CZipCodec&) = delete;
    CZipCodec& operator=(const CZipCodec&) = delete;

    virtual bool SupportsMethod(int method) const = 0;
    virtual void BeginCompress(int level, CZipEntryHeader& header) = 0;
    virtual void CompressChunk(const void* data, std::uint32_t count) = 0;
    // Finishes the entry and sets its sizes; after an exception it only releases zlib's
    // memory.
    virtual void EndCompress(bool afterException) = 0;

    // Z_OK and Z_NEED_DICT.
    static bool IsZlibSuccess(int zlibCode) { return zlibCode == Z_OK || zlibCode == Z_NEED_DICT; }

protected:
    [[noreturn]] void ThrowZlibError(int zlibCode) const;

    CZipStore* m_pStorage;
    CZipBuffer* m_pBuffer;
};

class CZipDeflateCodec : public CZipCodec {
public:
    using CZipCodec::CZipCodec;
    ~CZipDeflateCodec() override;

    bool SupportsMethod(int method) const override { return method == 0 || method == 8; }
    void BeginCompress(int level, CZipEntryHeader& header) override;
    void CompressChunk(const void* data, std::uint32_t count) override;
    void EndCompress(bool afterException) override;

private:
    void FlushFullBuffer();
    void WritePending();
    void CheckZlib(int zlibCode) const;
    void ReleaseStream();

    CZipEntryHeader* m_pHeader = nullptr;
    z_stream m_stream {};
    bool m_bStreamInitialised = false;
    std::uint32_t m_uPending = 0;
    // Totals of a stored entry (deflate keeps its own in the z_stream).
    std::uint32_t m_uStoredIn = 0;
};

// An entry's data compressed before it is added, so that entries can be deflated on other
// threads while the archive is written on one (CZipContainer::AddPackedEntry). The bytes are
// those a new entry of the same data and level would get from the codec above.
struct CZipPackedData {
    std::uint16_t method = 8;  // 8 deflated, 0 stored
    int level = -1;
    std::uint32_t crc = 0;
    std::uint32_t size = 0;  // uncompressed
    std::string data;        // as stored in the archive
};

// Packs size bytes at level (-1: zlib's default; 0 or, with ZSF_STORE_TINY in smartFlags,
// fewer than 5 bytes: stored). Safe on any thread. Throws CZipException: ZE_SIZE_TOO_LARGE
// beyond 4 GiB, a zlib failure's code.
CZipPackedData PackEntryData(const void* data, std::size_t size, int level, int smartFlags);
