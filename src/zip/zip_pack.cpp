#include "zip/zip_pack.h"

#include "zip/zip_codec.h"
#include "zip/zip_exception.h"

#include <algorithm>
#include <libdeflate.h>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct FreeCompressor {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using Compressor = std::unique_ptr<libdeflate_compressor, FreeCompressor>;

// Compressors kept between entries, since the higher levels set up large tables and a book
// has hundreds of parts; one is taken for each entry packed, on whatever thread. (Not
// thread_local: the mingw runtime's destructors of thread-local objects at a thread's end
// free them wrongly.)
class CompressorPool {
public:
    Compressor Take(int level)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (auto it = m_free.begin(); it != m_free.end(); ++it) {
                if (it->first == level) {
                    Compressor c = std::move(it->second);
                    m_free.erase(it);
                    return c;
                }
            }
        }
        Compressor c(libdeflate_alloc_compressor(level));
        if (!c)
            ThrowZipError(CZipException::ZE_NO_MEMORY);
        return c;
    }

    void Give(int level, Compressor c)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.size() < kKept)
            m_free.emplace_back(level, std::move(c));
    }

private:
    static constexpr std::size_t kKept = 8;  // more than the packing threads
    std::mutex m_mutex;
    std::vector<std::pair<int, Compressor>> m_free;
};

CompressorPool& Pool()
{
    static CompressorPool pool;
    return pool;
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
    // The zip CRC-32: libdeflate's is the same function as zlib's, and faster.
    packed.crc = libdeflate_crc32(0, data, size);
    if (level == 0) {
        packed.method = 0;
        packed.level = 0;
        packed.data.assign(static_cast<const char*>(data), size);
        return packed;
    }
    packed.level = std::min(level, 9);
    Compressor compressor = Pool().Take(level);
    packed.data.resize(libdeflate_deflate_compress_bound(compressor.get(), size));
    // The bound always fits, so a result of 0 (no room) cannot happen.
    const std::size_t written =
        libdeflate_deflate_compress(compressor.get(), data, size, packed.data.data(), packed.data.size());
    Pool().Give(level, std::move(compressor));
    packed.data.resize(written);
    packed.data.shrink_to_fit();
    return packed;
}
