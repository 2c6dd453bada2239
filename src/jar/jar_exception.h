// Failures of book generation found by the jar builder itself, in the user's words (file
// failures arrive as CFileException; failures of the archive engine are turned into these).
#pragma once

#include "platform/exception.h"

#include <string>

class CJarException : public CException {
public:
    enum Cause {
        templateMissing,     // the reader template is not there or not a file
        templateDamaged,     // the reader template is not an archive, or a damaged one
        badBookName,         // the name holds a character a Windows file name cannot hold
        emptyBookName,       // empty, or only spaces
        nothingToBuild,      // no part to put into the book
        cancelled,           // the caller stopped the build
        bookNameEndsBadly,   // ends in a dot or a space, which Windows drops from file names
        reservedBookName,    // a device name of Windows: CON, NUL, COM1, ...
        bookNameTooLong,     // a manifest line would be longer than phones and Java read
        outputIsTemplate,    // the book would be written over the reader template
        outputIsSource,      // the book would be written over one of its own sources
        outputNotFile,       // the book's path names a folder, a pipe or a device
        tooManyParts,        // more entries than a zip archive holds
        bookTooLarge,        // beyond the 4 GiB a zip archive without extensions holds
        outOfMemory,
        archiveFailed,       // any other failure of the archive engine; the detail says which
    };

    explicit CJarException(Cause cause, std::string path = {}, std::string detail = {})
        : m_cause(cause), m_strPath(std::move(path)), m_strDetail(std::move(detail)) {}

    Cause GetCause() const { return m_cause; }
    // The file concerned (the template, the book), or empty.
    std::string GetPath() const override { return m_strPath; }
    // What exactly is wrong with it (a damaged template's fault), or empty.
    const std::string& GetDetail() const { return m_strDetail; }

    std::string Message() const override;

    // Nothing went wrong: the user has not given the book a name or anything to put in it.
    bool IsMissingInput() const { return m_cause == emptyBookName || m_cause == nothingToBuild; }

private:
    Cause m_cause;
    std::string m_strPath;
    std::string m_strDetail;
};

// True for the engine's causes that mean the file is no archive it can read, or a damaged one.
bool IsDamagedArchiveCause(int zipCause);

// The Chinese text of a failure of the archive engine while writing the book, and the
// cause it has for the user.
CJarException JarExceptionFromZip(int zipCause, const std::string& bookPath);
