#include "platform/system_error.h"

#include "platform/file_exception.h"

#include <cerrno>
#include <cstring>

namespace {
thread_local long t_lastError = 0;
}

long GetLastPlatformError() { return t_lastError; }
void SetLastPlatformError(long code) { t_lastError = code; }

std::string PlatformErrorText(long code)
{
    return std::strerror(static_cast<int>(code));
}

CFileException::Cause CFileException::OsErrorToCause(long osError)
{
    switch (osError) {
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE:
    case EINVAL: return badSeek;
    case EIO: return hardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case ETXTBSY: return sharingViolation;
    case EEXIST: return fileExists;
    default: return genericException;
    }
}
