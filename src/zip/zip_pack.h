// Entries packed whole before they are added, so that entries can be deflated on other
// threads while the archive is written on one (CZipContainer::AddPackedEntry). The packing
// is libdeflate's raw deflate (method 8): faster than zlib at the same size, and smaller at
// its higher levels; every zip reader inflates it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct CZipPackedData {
    std::uint16_t method = 8;  // 8 deflated, 0 stored
    // The deflate level as zip's speed hint counts it (1 to 9; 0 stored): the header's
    // flags say "super fast" for 1, "fast" for 2 and "maximum" from 8 up.
    int level = 6;
    std::uint32_t crc = 0;
    std::uint32_t size = 0;  // uncompressed
    std::string data;        // as stored in the archive
};

// libdeflate's levels: 1 is the fastest, 12 the smallest; 6 is its default.
constexpr int kPackDefaultLevel = 6;
constexpr int kPackMaxLevel = 12;

// Packs size bytes at level (1 to 12; -1: the default; 0 or, with ZSF_STORE_TINY in
// smartFlags, fewer than 5 bytes: stored). The same data and level give the same bytes on
// every platform and thread. Safe on any thread; compressors are kept for the next entries.
// Throws CZipException: ZE_SIZE_TOO_LARGE beyond 4 GiB, ZE_NO_MEMORY.
CZipPackedData PackEntryData(const void* data, std::size_t size, int level, int smartFlags);
