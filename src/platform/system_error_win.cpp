#include "platform/system_error.h"

#include "platform/file_exception.h"
#include "platform/utf16.h"

#include <windows.h>

long GetLastPlatformError() { return static_cast<long>(GetLastError()); }
void SetLastPlatformError(long code) { SetLastError(static_cast<DWORD>(code)); }

// The system's text in UTF-8 like every other text of the program (the "A" form would
// give it in the ANSI code page, GBK on a Chinese system, garbled inside UTF-8 messages).
std::string PlatformErrorText(long code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                       FORMAT_MESSAGE_FROM_SYSTEM,
                                   nullptr, static_cast<DWORD>(code),
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                   reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n != 0 && buffer != nullptr)
        text = Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(buffer), n));
    if (buffer != nullptr)
        LocalFree(buffer);
    return text;
}

CFileException::Cause CFileException::OsErrorToCause(long osError)
{
    switch (osError) {
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE: return badSeek;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return fileExists;
    default: return genericException;
    }
}
