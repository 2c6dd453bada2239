// The central directory of an open archive: the entry headers sorted by the position of
// their local headers, the values of the end record, and their reading and writing.
#pragma once

#include "zip/zip_buffer.h"
#include "zip/zip_entry_header.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CZipStore;

struct CZipDirectoryInfo {
    std::uint32_t m_uEndOffset = 0;       // where the end record's signature was found
    std::uint16_t m_uThisDisk = 0;
    std::uint16_t m_uDiskWithCD = 0;
    std::uint16_t m_uDiskEntriesNo = 0;
    std::uint16_t m_uEntriesNumber = 0;
    std::uint32_t m_uSize = 0;            // size of the central directory
    std::uint32_t m_uOffset = 0;          // its offset, relative to the archive start
    bool m_bInArchive = false;            // the directory in the file is the one in memory
    CZipBuffer m_comment;
    bool m_bCaseSensitive = false;
    bool m_bFindFastEnabled = false;
};

class CZipDirectory {
public:
    CZipDirectory(CZipStore& store, const CZipStringSettings& settings)
        : m_pStorage(&store), m_pStringSettings(&settings) {}
    CZipDirectory(const CZipDirectory&) = delete;
    CZipDirectory& operator=(const CZipDirectory&) = delete;

    // Empty list, fresh directory info.
    void Init();
    // Drops all headers and the directory info.
    void Close() { Init(); }

    // Reads the end record and every central header of the store's archive.
    void ReadDirectory();

    // The first time after an open: cuts the file where the old directory began, so new
    // entries overwrite it. Afterwards only flushes the write buffer.
    void RemoveFromDisk();

    // Writes every header and the end record behind the last entry, unless the file
    // already ends with a directory that matches memory.
    void WriteDirectory();

    // The header of a new entry made from a template, with its name encoded: what
    // AppendHeader appends. A name, comment or local extra field of 65536 bytes or more
    // throws 110.
    std::unique_ptr<CZipEntryHeader> MakeHeader(const CZipEntryHeader& templ, int level, bool segmented) const;
    // Appends MakeHeader's header, makes it the current one and moves the file to its end.
    CZipEntryHeader* AppendHeader(const CZipEntryHeader& templ, int level, bool segmented);

    // Where the entries end: the old directory's offset while it is still in the file,
    // else the end of what was written (relative to the archive start).
    std::uint64_t GetEndOfEntries() const;
    // The bytes WriteDirectory writes for the headers as they are now.
    std::uint64_t GetWrittenSize() const;

    std::size_t GetCount() const { return m_headers.size(); }
    CZipEntryHeader& operator[](std::size_t i) { return *m_headers[i]; }
    const CZipEntryHeader& operator[](std::size_t i) const { return *m_headers[i]; }
    CZipEntryHeader* GetCurrent() { return m_current ? m_headers[*m_current].get() : nullptr; }
    void ClearCurrent() { m_current.reset(); }
    const CZipDirectoryInfo& GetInfo() const { return m_info; }

private:
    void ReadHeaders();
    void SortHeaders();

    CZipStore* m_pStorage;
    const CZipStringSettings* m_pStringSettings;
    std::vector<std::unique_ptr<CZipEntryHeader>> m_headers;
    std::optional<std::size_t> m_current;
    CZipDirectoryInfo m_info;
};
