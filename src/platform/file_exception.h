// Failure of the file layer: what went wrong (cause), the operating system's error code and
// the file concerned.
#pragma once

#include "platform/exception.h"

#include <string>

class CFileException : public CException {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
        notRegularFile = 15,  // a pipe, a device or a socket: refused, reading it could block
    };

    CFileException(Cause cause, long osError, std::string path)
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(path)) {}

    Cause GetCause() const { return m_cause; }
    long GetOsError() const { return m_lOsError; }
    const std::string& GetFileName() const { return m_strFileName; }

    // A Chinese sentence naming the file and what went wrong, for message boxes.
    std::string Message() const override;

    // The cause for an operating-system error code (errno natively, GetLastError on Windows).
    static Cause OsErrorToCause(long osError);

private:
    Cause m_cause;
    long m_lOsError;
    std::string m_strFileName;
};
