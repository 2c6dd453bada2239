// Reads a book back and checks it: every entry's data against its size and CRC-32, the
// manifest, the index and one part per index title. The self-check of the command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BookEntryCheck {
    std::string name;  // as stored
    std::uint16_t method = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t crc = 0;
    std::string problem;  // empty when the data reads back with this size and CRC
};

struct BookInspection {
    std::vector<BookEntryCheck> entries;  // in archive order
    // index.txt as UTF-8 lines: author, maker, book name, then one title per part.
    std::vector<std::string> indexLines;
    // Uncompressed size of 1.txt, 2.txt, ... for each index title; -1 when it is missing.
    std::vector<std::int64_t> partSizes;
    std::vector<std::string> problems;  // findings about the book as a whole

    bool Ok() const;
};

// Throws CZipException or CFileException when path cannot be opened as an archive.
BookInspection InspectBook(const std::string& path);
