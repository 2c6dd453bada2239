#include "zip/zip_exception.h"

#include "platform/system_error.h"

#include <cerrno>

namespace {

const char* FixedText(int cause)
{
    switch (cause) {
    case 1: return "Not super-user.";
    case 2: return "No such file or directory.";
    case 4: return "Interrupted system call.";
    case 5: return "I/O error.";
    case 6: return "No such device or address.";
    case 9: return "Bad file number.";
    case 12: return "Not enough space.";
    case 13: return "Permission denied.";
    case 14: return "Bad address.";
    case 17: return "File exists.";
    case 18: return "Cross-device link.";
    case 19: return "No such device.";
    case 20: return "Not a directory.";
    case 21: return "Is a directory.";
    case 22: return "Invalid argument.";
    case 23: return "File table overflow.";
    case 24: return "Too many open files.";
    case 27: return "File too large.";
    case 28: return "No space left on device.";
    case 29: return "Illegal seek.";
    case 30: return "Read-only file system.";
    case CZipException::ZE_DAMAGED: return "Damaged or not a zip file.";
    case CZipException::ZE_CRC: return "Crc is mismatched.";
    case CZipException::ZE_NO_SEGMENT_HANDLER: return "There is no spanned archive callback object set.";
    case CZipException::ZE_DISK_CHANGE_ABORTED: return "Disk change aborted.";
    case CZipException::ZE_ABORTED: return "Action aborted.";
    case CZipException::ZE_ABORTED_SAFELY: return "Action aborted safely.";
    case CZipException::ZE_NOT_REMOVABLE: return "The device selected for the spanned archive is not removable.";
    case CZipException::ZE_VOLUME_LIMIT: return "The limit of the maximum volumes reached.";
    case CZipException::ZE_ENTRY_LIMIT: return "The limit of the maximum files in an archive reached.";
    case CZipException::ZE_FIELD_TOO_LONG:
        return "The filename, the comment or the local or central extra field of the file added "
               "to the archive is too long.";
    case CZipException::ZE_SIZE_TOO_LARGE: return "The file size is too large to be supported.";
    case CZipException::ZE_BAD_PASSWORD: return "An incorrect password set for the file being decrypted.";
    case CZipException::ZE_DIR_WITH_DATA: return "The directory with a non-zero size found while testing.";
    case CZipException::ZE_INTERNAL: return "An internal error.";
    case CZipException::ZE_PLATFORM: return "Cannot create a file for the specified platform.";
    case CZipException::ZE_NO_DIRECTORY:
        return "The central directory was not found in the archive (or you were trying to open "
               "not the last disk of a segmented archive).";
    case CZipException::ZE_ZIP64_REQUIRED:
        return "The Zip64 format has not been enabled for the library, but is required to open "
               "the archive.";
    case CZipException::ZE_AES_REQUIRED:
        return "WinZip AES encryption has not been enabled for the library, but is required to "
               "decompress the archive.";
    case CZipException::ZE_ZLIB_STREAM_END: return "Zlib library error (end of stream).";
    case CZipException::ZE_ZLIB_STREAM: return "Zlib library error (stream error).";
    case CZipException::ZE_ZLIB_DATA: return "Zlib library error (data error).";
    case CZipException::ZE_NO_MEMORY: return "Not enough memory.";
    case CZipException::ZE_ZLIB_BUFFER: return "Zlib library error (buffer error).";
    case CZipException::ZE_ZLIB_VERSION: return "Zlib library error (version error).";
    default: return nullptr;
    }
}

} // namespace

std::string CZipException::GetSystemErrorDescription()
{
    const long platformError = GetLastPlatformError();
    if (platformError != 0)
        return PlatformErrorText(platformError);
    // errno 0 has no text; an engine code left in errno must not lead back here.
    const int e = errno;
    return GetErrorDescription(e == 0 || e >= ZE_GENERIC ? ZE_GENERIC : e, true);
}

std::string CZipException::GetErrorDescription(int cause, bool noSystem)
{
    if (const char* text = FixedText(cause))
        return text;
    if (cause == ZE_REMOVE_FAILED || cause == ZE_RENAME_FAILED) {
        const char* what = cause == ZE_REMOVE_FAILED ? "Error while removing a file"
                                                     : "Error while renaming a file";
        return std::string(what) + " (" + GetSystemErrorDescription() + ").";
    }
    if (cause == ZE_ZLIB_ERRNO) {
        // An errno of ZE_ZLIB_ERRNO would describe itself forever.
        const int e = errno;
        return GetErrorDescription(e == ZE_ZLIB_ERRNO ? ZE_GENERIC : e, false);
    }
    if (noSystem)
        return "Unknown error";
    return GetSystemErrorDescription();
}

int CZipException::ZlibErrorToCause(int zlibCode)
{
    switch (zlibCode) {
    case -6: return ZE_ZLIB_VERSION;
    case -5: return ZE_ZLIB_BUFFER;
    case -4: return ZE_NO_MEMORY;
    case -3: return ZE_ZLIB_DATA;
    case -2: return ZE_ZLIB_STREAM;
    case -1: return ZE_ZLIB_ERRNO;
    case 1: return ZE_ZLIB_STREAM_END;
    case 2: return ZE_ZLIB_NEED_DICT;
    default: return ZE_GENERIC;
    }
}

void ThrowZipError(int cause, const std::string& fileName)
{
    throw CZipException(cause, fileName);
}
