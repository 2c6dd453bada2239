// Compression of new entries as they are streamed in: zlib's raw deflate (method 8) or plain
// storing (method 0). Output collects in the archive's general buffer and goes to the store
// in whole buffers; the CRC-32 of the uncompressed bytes is computed on the way. Entries
// packed whole beforehand take zip_pack.h instead.
#pragma once

#include "zip/zip_buffer.h"

#include <cstddef>
#include <cstdint>
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
