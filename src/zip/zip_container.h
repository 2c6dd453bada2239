// An archive opened for update: entries are appended behind the existing ones and a new
// central directory is written when it is closed.
#pragma once

#include "zip/zip_buffer.h"
#include "zip/zip_codec.h"
#include "zip/zip_directory.h"
#include "zip/zip_entry_header.h"
#include "zip/zip_pack.h"
#include "zip/zip_store.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

class CZipStream;

struct CZipAddRequest {
    CZipStream* m_pStream = nullptr;
    std::string m_strFileNameInZip;
    int m_iComprLevel = -1;
    int m_iSmartLevel = ZSF_DEFAULT;
    std::uint16_t m_uReplaceIndex = 0xFFFF;
    std::uint32_t m_nBufSize = 65536;
};

class CZipContainer {
public:
    enum OpenMode { zipOpen = 0, zipOpenReadOnly = 1, zipCreate = 2, zipCreateSegm = 3, zipCreateAppend = 4 };
    enum CloseMode { closeNormal = 0, closeAfterException = 1, closeAfterExceptionWrite = 2 };
    static constexpr std::uint16_t kNoIndex = 0xFFFF;

    CZipContainer();
    // Never writes: an archive not closed keeps what was flushed, without a directory.
    ~CZipContainer();
    CZipContainer(const CZipContainer&) = delete;
    CZipContainer& operator=(const CZipContainer&) = delete;

    // Only while closed; values below 1024 become 1024.
    void SetBufferSizes(int writeBuffer, int generalBuffer, int searchBuffer);

    // Opens an existing archive (modes 0 and 1; creating archives is not supported and
    // returns false). False when already open; failures throw CZipException or
    // CFileException.
    bool Open(const std::string& path, int mode = zipOpen, std::uint32_t volumeSize = 0);

    // Appends the whole stream as a new entry, deflated with zlib as it is read. The book
    // builder does not use this path (its parts are packed beforehand, AddPackedEntry);
    // it is the engine's own way to add a stream, kept with its tests.
    // False when the request is refused.
    bool AddNewEntry(CZipStream& stream, const std::string& name, int level = -1,
                     int smartFlags = ZSF_DEFAULT, std::uint32_t bufferSize = 65536);
    bool AddNewEntry(CZipAddRequest& request);

    // Appends an entry whose data was packed beforehand (PackEntryData): the same headers
    // as AddNewEntry writes, with the packer's data (libdeflate's bytes, which differ from
    // zlib's for the same level). False when the request is refused.
    bool AddPackedEntry(const std::string& name, const CZipPackedData& packed);

    // The size of the file once closed with a directory written anew, as Close writes it
    // after an entry was added: the bytes before the archive, the entries, a central
    // header for each and the end record. Each AddPackedEntry(name, packed) adds exactly
    // GetPackedEntrySize(name, packed) to it (its local header, its data and its central
    // header), so an archive's size is known before its entries are written. Throws 110
    // for a name AddPackedEntry would refuse as too long.
    std::uint64_t GetSizeWithNewDirectory() const;
    std::uint64_t GetPackedEntrySize(const std::string& name, const CZipPackedData& packed) const;

    // The streamed entry AddNewEntry is built on: open, write its data in pieces, close.
    bool OpenNewEntry(CZipEntryHeader& templ, int level, const std::string* path = nullptr,
                      std::uint16_t replaceIndex = kNoIndex);
    bool WriteNewEntry(const void* data, std::uint32_t count);
    bool CloseNewEntry(bool afterException = false);

    void Close(int mode = closeNormal, bool updateTime = false);

    bool IsClosed() const { return m_storage.IsClosed(); }
    std::size_t GetCount() const { return m_centralDir.GetCount(); }
    const CZipEntryHeader& GetEntry(std::size_t i) const { return m_centralDir[i]; }
    const CZipDirectoryInfo& GetDirectoryInfo() const { return m_centralDir.GetInfo(); }
    std::uint32_t GetBytesBeforeZip() const { return m_storage.m_uBytesBeforeZip; }
    int GetSystemCompatibility() const { return m_iArchiveSystCompatib; }
    int GetOpenEntryState() const { return m_iFileOpened; }
    const CZipStore& GetStorage() const { return m_storage; }

    // The clock that dates new entries (the current time unless a test fixes it).
    void SetClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

private:
    std::time_t Now() const { return m_clock ? m_clock() : std::time(nullptr); }
    // The header of a new regular file named name, dated now; false for a directory name.
    bool MakeFileTemplate(const std::string& name, CZipEntryHeader& templ) const;
    // MakeFileTemplate with the method, sizes and CRC of packed data.
    bool MakePackedTemplate(const std::string& name, const CZipPackedData& packed, CZipEntryHeader& templ) const;
    // Whether a new entry may be appended now.
    bool CanAddEntry() const;
    // Completes the entry's local header or descriptor once its data is written.
    void FinishEntry(CZipEntryHeader& header);

    CZipStore m_storage;
    CZipStringSettings m_stringSettings;
    CZipDirectory m_centralDir;
    int m_iArchiveSystCompatib = 0;
    std::uint32_t m_uBufferSize = 65536;
    int m_iFileOpened = 0;  // 0 none, 1 a new entry is being written
    std::uint16_t m_uCompressionMethod = 8;
    CZipBuffer m_buffer;    // compressed output of the open entry
    std::unique_ptr<CZipCodec> m_pCompressor;
    std::function<std::time_t()> m_clock;
};
