// Binary file access with the open flags the archive engine and the jar builder use.
// Paths are UTF-8. Two implementations chosen by the build: Win32 (CreateFileW, UTF-16
// paths, real share modes) and POSIX (share modes have no equivalent there and are ignored).
// Every failure throws CFileException.
#pragma once

#include <cstdint>
#include <string>

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        // Creates the file and fails when anything is at the path already, a link included
        // (O_EXCL; CREATE_NEW): a file planted at a predictable name is never written through.
        modeCreateNew = 0x4000,
        typeBinary = 0x8000,
        // Others may remove or rename the file while it is open (FILE_SHARE_DELETE on
        // Windows; always so elsewhere).
        shareDelete = 0x0100,
    };
    enum class LockResult {
        locked,       // this handle holds the lock
        busy,         // another handle holds it: of this process or of another, here or elsewhere
        unsupported,  // the file system keeps no locks (some network shares)
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    ~CFile();  // closes the handle if still open, ignoring errors
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens path; throws CFileException on failure.
    void Open(const std::string& path, unsigned flags);
    // Closes the handle; throws if the system reports a failure. Does nothing when closed.
    void Close();
    // Closes without reporting failures (after an error, in destructors).
    void Abort();
    bool IsOpen() const;

    // Returns the number of bytes read; fewer than count only at the end of the file.
    std::uint32_t Read(void* buffer, std::uint32_t count);
    // Writes all count bytes or throws (a full disk is diskFull).
    void Write(const void* buffer, std::uint32_t count);
    std::uint64_t Seek(std::int64_t offset, SeekPosition from);
    std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;
    // Sets the length (truncating or extending) and leaves the position at the new end.
    void SetLength(std::uint64_t length);
    // Pushes the file's data to the device.
    void Flush();

    // An exclusive lock held until the handle is closed: a byte-range lock of the system
    // (open-file-description fcntl locks on Linux, LockFileEx on Windows, which Wine turns
    // into the same fcntl lock, so a native build and one under Wine see each other's) on
    // one byte at offset 2^31-1, far past any data: Windows' locks are mandatory, and the
    // file stays readable by others. wait: blocks until the lock is granted. The handle
    // must be open for writing.
    LockResult Lock(bool wait);
    // True when path still names this open file: it was not removed or replaced since.
    bool IsAt(const std::string& path) const;
    // Pushes the folder's entries (new names, renames) to the device; nothing on Windows,
    // where a file's flush carries its name.
    static void FlushFolder(const std::string& folder);

    const std::string& GetFilePath() const { return m_strFileName; }

    // Size of the file at path; false when it cannot be queried.
    static bool GetSize(const std::string& path, std::uint64_t& size);
    // True when the file system takes the two file names for one: byte for byte here,
    // regardless of case on Windows.
    static bool NamesEqual(const std::string& a, const std::string& b);
    // Removes / renames a file; throw CFileException on failure.
    static void Remove(const std::string& path);
    static void Rename(const std::string& from, const std::string& to);
    // Sets the modification time of a file and its access time to now; false on failure.
    static bool SetModificationTime(const std::string& path, std::int64_t unixTime);
    // True when path lies on a removable drive (floppy-like media); always false natively.
    static bool IsOnRemovableDrive(const std::string& path);

private:
    [[noreturn]] void ThrowLastError() const;

#ifdef _WIN32
    void* m_hFile;
#else
    int m_fd;
#endif
    std::string m_strFileName;
};
