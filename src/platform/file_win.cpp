#include "platform/file.h"

#include "platform/file_exception.h"
#include "platform/utf16.h"

#include <windows.h>

namespace {

HANDLE H(void* h) { return static_cast<HANDLE>(h); }

[[noreturn]] void ThrowError(DWORD error, const std::string& path)
{
    SetLastError(error);
    throw CFileException(CFileException::OsErrorToCause(static_cast<long>(error)),
                         static_cast<long>(error), path);
}

std::wstring WidePath(const std::string& path)
{
    const std::u16string w = Utf8ToUtf16(path);
    return std::wstring(w.begin(), w.end());
}

} // namespace

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::~CFile() { Abort(); }

bool CFile::IsOpen() const { return H(m_hFile) != INVALID_HANDLE_VALUE; }

void CFile::ThrowLastError() const { ThrowError(GetLastError(), m_strFileName); }

void CFile::Open(const std::string& path, unsigned flags)
{
    Abort();
    m_strFileName = path;
    DWORD access = GENERIC_READ;
    switch (flags & 3) {
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: break;
    }
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (flags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: break;
    }
    if (flags & shareDelete)
        share |= FILE_SHARE_DELETE;
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreateNew)
        disposition = CREATE_NEW;  // fails on anything there, a link included
    else if (flags & modeCreate)
        disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE h = CreateFileW(WidePath(path).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        ThrowLastError();
    // Only files on disk: a pipe or a device such as CON would block a read or swallow
    // what is written.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        SetLastError(0);
        throw CFileException(CFileException::notRegularFile, 0, path);
    }
    m_hFile = h;
}

void CFile::Close()
{
    if (!IsOpen())
        return;
    HANDLE h = H(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h))
        ThrowLastError();
}

void CFile::Abort()
{
    if (IsOpen())
        CloseHandle(H(m_hFile));
    m_hFile = INVALID_HANDLE_VALUE;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count)
{
    std::uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!ReadFile(H(m_hFile), static_cast<char*>(buffer) + done, count - done, &n, nullptr))
            ThrowLastError();
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

void CFile::Write(const void* buffer, std::uint32_t count)
{
    std::uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!WriteFile(H(m_hFile), static_cast<const char*>(buffer) + done, count - done, &n, nullptr))
            ThrowLastError();
        if (n == 0)
            ThrowError(ERROR_DISK_FULL, m_strFileName);
        done += n;
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, SeekPosition from)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER pos;
    const DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(H(m_hFile), distance, &pos, method))
        ThrowLastError();
    return static_cast<std::uint64_t>(pos.QuadPart);
}

std::uint64_t CFile::GetPosition() const
{
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER pos;
    if (!SetFilePointerEx(H(m_hFile), zero, &pos, FILE_CURRENT))
        ThrowLastError();
    return static_cast<std::uint64_t>(pos.QuadPart);
}

std::uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(H(m_hFile), &size))
        ThrowLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

void CFile::SetLength(std::uint64_t length)
{
    Seek(static_cast<std::int64_t>(length), begin);
    if (!SetEndOfFile(H(m_hFile)))
        ThrowLastError();
}

void CFile::Flush()
{
    if (!FlushFileBuffers(H(m_hFile)))
        ThrowLastError();
}

CFile::LockResult CFile::Lock(bool wait)
{
    OVERLAPPED at {};
    at.Offset = 0x7FFFFFFF;
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (LockFileEx(H(m_hFile), flags, 0, 1, 0, &at))
        return LockResult::locked;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION || error == ERROR_IO_PENDING)
        return LockResult::busy;
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION)
        return LockResult::unsupported;
    ThrowError(error, m_strFileName);
}

bool CFile::IsAt(const std::string& path) const
{
    BY_HANDLE_FILE_INFORMATION open, named;
    HANDLE h = CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool same = GetFileInformationByHandle(H(m_hFile), &open) && GetFileInformationByHandle(h, &named) &&
                      open.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
                      open.nFileIndexHigh == named.nFileIndexHigh && open.nFileIndexLow == named.nFileIndexLow;
    CloseHandle(h);
    return same;
}

void CFile::FlushFolder(const std::string&) {}

bool CFile::GetSize(const std::string& path, std::uint64_t& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

void CFile::Remove(const std::string& path)
{
    if (!DeleteFileW(WidePath(path).c_str()))
        ThrowError(GetLastError(), path);
}

void CFile::Rename(const std::string& from, const std::string& to)
{
    if (!MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowError(GetLastError(), from);
}

bool CFile::NamesEqual(const std::string& a, const std::string& b)
{
    const std::wstring wa = WidePath(a), wb = WidePath(b);
    return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE) ==
           CSTR_EQUAL;
}

bool CFile::IsOnRemovableDrive(const std::string& path)
{
    const std::wstring wide = WidePath(path);
    wchar_t root[MAX_PATH + 1];
    if (!GetVolumePathNameW(wide.c_str(), root, MAX_PATH + 1))
        return false;
    return GetDriveTypeW(root) == DRIVE_REMOVABLE;
}

bool CFile::SetModificationTime(const std::string& path, std::int64_t unixTime)
{
    HANDLE h = CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    // FILETIME counts 100 ns steps from 1601-01-01.
    ULARGE_INTEGER t;
    t.QuadPart = static_cast<ULONGLONG>(unixTime * 10000000LL + 116444736000000000LL);
    FILETIME modified;
    modified.dwLowDateTime = t.LowPart;
    modified.dwHighDateTime = t.HighPart;
    SYSTEMTIME nowSystem;
    GetSystemTime(&nowSystem);
    FILETIME now;
    SystemTimeToFileTime(&nowSystem, &now);
    const bool ok = SetFileTime(h, nullptr, &now, &modified) != 0;
    CloseHandle(h);
    return ok;
}
