// Reads a book back and checks it as strictly as unzip, 7z, Python and Java read it: the
// end record and the directory, every entry's local header against its central header and
// its data against its size and CRC-32 (archive_check.h); the manifest (UTF-8, lines of at
// most 512 bytes with their line end, one entry of its name in any case), the index, and
// one part per index title of at most kPartSize UTF-16 units; and the JAD beside the book
// when there is one (JadPathFor): UTF-8, the attributes a phone's installer needs,
// MIDlet-Jar-Size the book's size, MIDlet-Jar-URL its file name, and every attribute it
// shares with the manifest of the same value. The self-check of the command line.
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
    // The part lengths index.txt gives after its titles; empty when it gives none (a book
    // of an older builder).
    std::vector<std::uint64_t> indexLengths;
    // Uncompressed size of 1.txt, 2.txt, ... for each index title; -1 when it is missing.
    std::vector<std::int64_t> partSizes;
    std::string jadPath;                // the JAD checked beside the book; empty: none there
    std::vector<std::string> problems;  // findings about the book as a whole and its JAD

    bool Ok() const;
};

// Throws CZipException or CFileException when the archive engine cannot open path.
BookInspection InspectBook(const std::string& path);

// True when the jar at jarPath is a book of this program named volumeName (a volume's name
// carries its number, VolumeBookName): its manifest's MIDlet-Name and its index's book
// name both say so. False for anything else, or what cannot be read: an older volume is
// removed only when it is provably one.
bool IsBookVolume(const std::string& jarPath, const std::string& volumeName);
// True when the JAD at jadPath describes the jar named jarFileName of the book named
// volumeName (its MIDlet-Jar-URL and MIDlet-Name).
bool IsBookJad(const std::string& jadPath, const std::string& jarFileName, const std::string& volumeName);
