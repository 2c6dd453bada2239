// The archive engine's exception: a cause code and the archive concerned.
// Codes 1 to 30 are the C runtime's errno values; 100 and above are the engine's own.
#pragma once

#include "platform/exception.h"

#include <string>

class CZipException : public CException {
public:
    enum Cause {
        ZE_GENERIC = 100,
        ZE_DAMAGED = 101,
        ZE_CRC = 102,
        ZE_NO_SEGMENT_HANDLER = 103,
        ZE_DISK_CHANGE_ABORTED = 104,
        ZE_ABORTED = 105,
        ZE_ABORTED_SAFELY = 106,
        ZE_NOT_REMOVABLE = 107,
        ZE_VOLUME_LIMIT = 108,
        ZE_ENTRY_LIMIT = 109,
        ZE_FIELD_TOO_LONG = 110,
        ZE_SIZE_TOO_LARGE = 111,
        ZE_BAD_PASSWORD = 112,
        ZE_DIR_WITH_DATA = 113,
        ZE_INTERNAL = 114,
        ZE_REMOVE_FAILED = 115,
        ZE_RENAME_FAILED = 116,
        ZE_PLATFORM = 117,
        ZE_NO_DIRECTORY = 118,
        ZE_ZIP64_REQUIRED = 119,
        ZE_AES_REQUIRED = 120,
        ZE_ZLIB_STREAM_END = 500,
        ZE_ZLIB_NEED_DICT = 501,
        ZE_ZLIB_ERRNO = 502,
        ZE_ZLIB_STREAM = 503,
        ZE_ZLIB_DATA = 504,
        ZE_NO_MEMORY = 505,
        ZE_ZLIB_BUFFER = 506,
        ZE_ZLIB_VERSION = 507,
    };

    explicit CZipException(int cause = ZE_GENERIC, std::string fileName = {})
        : m_iCause(cause), m_strFileName(std::move(fileName)) {}

    int GetCause() const { return m_iCause; }
    std::string GetPath() const override { return m_strFileName; }

    // The message for a cause. With noSystem set, causes without a text of their own are
    // "Unknown error" instead of the operating system's description.
    static std::string GetErrorDescription(int cause, bool noSystem = false);

    // The system description: the text of the last platform error, or else of errno.
    static std::string GetSystemErrorDescription();

    // zlib result code to cause code.
    static int ZlibErrorToCause(int zlibCode);

    std::string Message() const override { return GetErrorDescription(m_iCause); }

private:
    int m_iCause;
    std::string m_strFileName;
};

[[noreturn]] void ThrowZipError(int cause, const std::string& fileName = {});
