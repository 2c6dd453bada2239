// Failure of the file layer: what went wrong (cause), the operating system's error code and
// the file concerned.
#pragma once

#include "platform/exception.h"

#include <string>
#include <utility>

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
        fileExists = 16,      // a file that must be new is there already
    };

    // replacing: the failure came from putting a new file in the place of this existing one
    // (the jar builder's rename over the old book); access denied then most likely means
    // another program holds it. Access denied elsewhere (a folder that may not be written)
    // is not about a program.
    CFileException(Cause cause, long osError, std::string path, bool replacing = false)
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(path)), m_bReplacing(replacing) {}

    Cause GetCause() const { return m_cause; }
    long GetOsError() const { return m_lOsError; }
    std::string GetPath() const override { return m_strFileName; }
    bool MessageNamesPath() const override { return !m_strFileName.empty(); }
    bool IsReplacing() const { return m_bReplacing; }

    // A Chinese sentence naming the file and what went wrong, for message boxes. A sharing
    // or lock violation, and access denied while replacing, add a second line that asks the
    // user to close the program using the file.
    std::string Message() const override;

    // The cause for an operating-system error code (errno natively, GetLastError on Windows).
    static Cause OsErrorToCause(long osError);

private:
    Cause m_cause;
    long m_lOsError;
    std::string m_strFileName;
    bool m_bReplacing;
};
