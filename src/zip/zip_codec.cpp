#include "zip/zip_codec.h"

#include "zip/zip_entry_header.h"
#include "zip/zip_exception.h"
#include "zip/zip_store.h"

#include <algorithm>
#include <cstring>

void CZipCodec::ThrowZlibError(int zlibCode) const
{
    ThrowZipError(CZipException::ZlibErrorToCause(zlibCode),
                  m_pStorage->IsClosed() ? std::string() : m_pStorage->GetFilePath());
}

CZipDeflateCodec::~CZipDeflateCodec() { ReleaseStream(); }

void CZipDeflateCodec::ReleaseStream()
{
    if (m_bStreamInitialised)
        deflateEnd(&m_stream);
    m_bStreamInitialised = false;
}

void CZipDeflateCodec::CheckZlib(int zlibCode) const
{
    if (!IsZlibSuccess(zlibCode))
        ThrowZlibError(zlibCode);
}

void CZipDeflateCodec::BeginCompress(int level, CZipEntryHeader& header)
{
    ReleaseStream();
    m_pHeader = &header;
    m_uPending = 0;
    m_uStoredIn = 0;
    m_stream = z_stream();
    m_stream.next_out = reinterpret_cast<Bytef*>(m_pBuffer->Data());
    m_stream.avail_out = m_pBuffer->GetSize();
    if (header.m_uMethod == 8) {
        // Raw deflate (negative window bits): the zip record carries sizes and CRC itself.
        CheckZlib(deflateInit2(&m_stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY));
        m_bStreamInitialised = true;
    }
}

void CZipDeflateCodec::FlushFullBuffer()
{
    if (m_stream.avail_out != 0)
        return;
    m_pStorage->Write(m_pBuffer->Data(), m_uPending);
    m_uPending = 0;
    m_stream.next_out = reinterpret_cast<Bytef*>(m_pBuffer->Data());
    m_stream.avail_out = m_pBuffer->GetSize();
}

void CZipDeflateCodec::WritePending()
{
    if (m_uPending != 0)
        m_pStorage->Write(m_pBuffer->Data(), m_uPending);
    m_uPending = 0;
}

void CZipDeflateCodec::CompressChunk(const void* data, std::uint32_t count)
{
    m_pHeader->m_uCrc32 = static_cast<std::uint32_t>(
        crc32(m_pHeader->m_uCrc32, static_cast<const Bytef*>(data), count));
    m_stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    m_stream.avail_in = count;
    while (m_stream.avail_in > 0) {
        FlushFullBuffer();
        std::uint32_t produced;
        if (m_pHeader->m_uMethod == 8) {
            const uLong before = m_stream.total_out;
            CheckZlib(deflate(&m_stream, Z_NO_FLUSH));
            produced = static_cast<std::uint32_t>(m_stream.total_out - before);
        } else {
            produced = m_stream.avail_in < m_stream.avail_out ? m_stream.avail_in : m_stream.avail_out;
            std::memcpy(m_stream.next_out, m_stream.next_in, produced);
            m_stream.next_in += produced;
            m_stream.avail_in -= produced;
            m_stream.next_out += produced;
            m_stream.avail_out -= produced;
            m_uStoredIn += produced;
        }
        m_uPending += produced;
    }
}

void CZipDeflateCodec::EndCompress(bool afterException)
{
    // zlib's memory for the entry goes in every case, thrown or not.
    struct Release {
        CZipDeflateCodec* codec;
        ~Release() { codec->ReleaseStream(); }
    } release {this};
    m_stream.avail_in = 0;
    if (!afterException) {
        std::uint32_t totalIn = m_uStoredIn;
        std::uint32_t totalOut = m_uStoredIn;
        if (m_pHeader->m_uMethod == 8) {
            int err;
            do {
                FlushFullBuffer();
                const uLong before = m_stream.total_out;
                err = deflate(&m_stream, Z_FINISH);
                m_uPending += static_cast<std::uint32_t>(m_stream.total_out - before);
            } while (err == Z_OK);
            if (err == Z_STREAM_END)
                err = Z_OK;
            CheckZlib(err);
            totalIn = static_cast<std::uint32_t>(m_stream.total_in);
            totalOut = static_cast<std::uint32_t>(m_stream.total_out);
        }
        WritePending();
        if (m_bStreamInitialised) {
            m_bStreamInitialised = false;
            CheckZlib(deflateEnd(&m_stream));
        }
        m_pHeader->m_uComprSize += totalOut;
        m_pHeader->m_uUncomprSize = totalIn;
    }
}
