#include "zip/zip_pack.h"

#include "zip/zip_codec.h"
#include "zip/zip_exception.h"

#include <algorithm>
#include <libdeflate.h>
#include <memory>
#include <zlib.h>

namespace {

struct FreeCompressor {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// The thread's compressor for level: kept between entries, since the higher levels set up
// large tables and a book has hundreds of parts.
libdeflate_compressor* CompressorFor(int level)
{
    thread_local std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor;
    thread_local int compressorLevel = 0;
    if (!compressor || compressorLevel != level) {
        compressor.reset();
        compressor.reset(libdeflate_alloc_compressor(level));
        if (!compressor)
            ThrowZipError(CZipException::ZE_NO_MEMORY);
        compressorLevel = level;
    }
    return compressor.get();
}

}  // namespace

CZipPackedData PackEntryData(const void* data, std::size_t size, int level, int smartFlags)
{
    if (size > 0xFFFFFFFFu)
        ThrowZipError(CZipException::ZE_SIZE_TOO_LARGE);
    if (level < 0 || level > kPackMaxLevel)
        level = kPackDefaultLevel;
    if ((smartFlags & ZSF_STORE_TINY) && size < 5)
        level = 0;

    CZipPackedData packed;
    packed.size = static_cast<std::uint32_t>(size);
    packed.crc = static_cast<std::uint32_t>(crc32(0, static_cast<const Bytef*>(data), packed.size));
    if (level == 0) {
        packed.method = 0;
        packed.level = 0;
        packed.data.assign(static_cast<const char*>(data), size);
        return packed;
    }
    packed.level = std::min(level, 9);
    libdeflate_compressor* compressor = CompressorFor(level);
    packed.data.resize(libdeflate_deflate_compress_bound(compressor, size));
    // The bound always fits, so a result of 0 (no room) cannot happen.
    const std::size_t written =
        libdeflate_deflate_compress(compressor, data, size, packed.data.data(), packed.data.size());
    packed.data.resize(written);
    packed.data.shrink_to_fit();
    return packed;
}
