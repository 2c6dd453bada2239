#include "platform/file.h"

#include "platform/file_exception.h"
#include "platform/system_error.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowErrno(int error, const std::string& path)
{
    SetLastPlatformError(error);
    throw CFileException(CFileException::OsErrorToCause(error), error, path);
}

} // namespace

CFile::CFile() : m_fd(-1) {}

CFile::~CFile() { Abort(); }

bool CFile::IsOpen() const { return m_fd >= 0; }

void CFile::ThrowLastError() const { ThrowErrno(errno, m_strFileName); }

void CFile::Open(const std::string& path, unsigned flags)
{
    Abort();
    m_strFileName = path;
    int oflags = O_CLOEXEC;
    switch (flags & 3) {
    case modeWrite: oflags |= O_WRONLY; break;
    case modeReadWrite: oflags |= O_RDWR; break;
    default: oflags |= O_RDONLY; break;
    }
    if (flags & modeCreateNew) {
        oflags |= O_CREAT | O_EXCL | O_NOFOLLOW;
    } else if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    // Opened without blocking: a FIFO nobody writes to would otherwise hold the open
    // forever (and a signal does not end it). Only regular files are kept open.
    const int fd = ::open(path.c_str(), oflags | O_NONBLOCK, 0666);
    if (fd < 0)
        ThrowLastError();
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowErrno(error, path);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        ThrowErrno(EISDIR, path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        SetLastPlatformError(0);
        throw CFileException(CFileException::notRegularFile, 0, path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count)
{
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (n == 0)
            break;
        done += static_cast<std::uint32_t>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, std::uint32_t count)
{
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (n == 0)
            ThrowErrno(ENOSPC, m_strFileName);
        done += static_cast<std::uint32_t>(n);
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, SeekPosition from)
{
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    const off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (pos < 0)
        ThrowLastError();
    return static_cast<std::uint64_t>(pos);
}

std::uint64_t CFile::GetPosition() const
{
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        ThrowLastError();
    return static_cast<std::uint64_t>(pos);
}

std::uint64_t CFile::GetLength() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        ThrowLastError();
    return static_cast<std::uint64_t>(st.st_size);
}

void CFile::SetLength(std::uint64_t length)
{
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        ThrowLastError();
    Seek(static_cast<std::int64_t>(length), begin);
}

void CFile::Flush()
{
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        ThrowLastError();
}

CFile::LockResult CFile::Lock(bool wait)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x7FFFFFFF;
    lock.l_len = 1;
#ifdef F_OFD_SETLK
    // Held by the open file, not the process: a second handle of this process is refused
    // too, and closing another handle of the same file does not drop it.
    const int command = wait ? F_OFD_SETLKW : F_OFD_SETLK;
#else
    const int command = wait ? F_SETLKW : F_SETLK;
#endif
    while (::fcntl(m_fd, command, &lock) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EACCES)
            return LockResult::busy;
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL)
            return LockResult::unsupported;
        ThrowLastError();
    }
    return LockResult::locked;
}

bool CFile::IsAt(const std::string& path) const
{
    struct stat open {}, named {};
    return ::fstat(m_fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

void CFile::FlushFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        ThrowErrno(errno, folder);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL && error != EROFS)
        ThrowErrno(error, folder);
}

bool CFile::GetSize(const std::string& path, std::uint64_t& size)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void CFile::Remove(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        ThrowErrno(errno, path);
}

void CFile::Rename(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        ThrowErrno(errno, from);
}

bool CFile::IsOnRemovableDrive(const std::string&) { return false; }

bool CFile::NamesEqual(const std::string& a, const std::string& b) { return a == b; }

bool CFile::SetModificationTime(const std::string& path, std::int64_t unixTime)
{
    struct timespec times[2] {};
    times[0].tv_nsec = UTIME_NOW;
    times[1].tv_sec = static_cast<time_t>(unixTime);
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}
