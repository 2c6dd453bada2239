// Failures of book generation found by the jar builder itself, in the user's words (file
// failures arrive as CFileException; failures of the archive engine are turned into these).
#pragma once

#include "platform/exception.h"

#include <cstddef>
#include <cstdint>
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
        outputIsDescriptor,  // the book's path ends in .jad, the name of its descriptor
        outputNameEndsBadly, // the book's file name ends in a dot or a space, which Windows drops
        tooManyParts,        // more entries than a zip archive holds
        bookTooLarge,        // beyond the 4 GiB a zip archive without extensions holds
        outOfMemory,
        archiveFailed,       // any other failure of the archive engine; the detail says which
        volumeBelowTemplate, // the size limit of a jar is below the template's own size
        partTooLarge,        // a part does not fit within the size limit even in a jar of its own
        outputReadOnly,      // a file of the book to be replaced or removed is read-only
        fileNameTooLong,     // a file of the book would have a name longer than file systems take
        bookBeingBuilt,      // another build (another window, program or machine) writes this book now
    };

    explicit CJarException(Cause cause, std::string path = {}, std::string detail = {})
        : m_cause(cause), m_strPath(std::move(path)), m_strDetail(std::move(detail)) {}

    // The limit (bytes per jar) is below the size of the template at templatePath.
    static CJarException VolumeBelowTemplate(const std::string& templatePath, std::uint64_t limit,
                                             std::uint64_t templateBytes);
    // Part `part` (from 0) of the book at jarPath, titled title, is over the limit even in a
    // jar by itself; `needed` is the smallest limit under which every part fits.
    static CJarException PartTooLarge(const std::string& jarPath, std::size_t part, const std::string& title,
                                      std::uint64_t limit, std::uint64_t needed);

    Cause GetCause() const { return m_cause; }
    // The file concerned (the template, the book), or empty.
    std::string GetPath() const override { return m_strPath; }
    bool MessageNamesPath() const override;
    // What exactly is wrong with it (a damaged template's fault), or empty.
    const std::string& GetDetail() const { return m_strDetail; }
    // partTooLarge: the smallest limit under which every part fits; else 0.
    std::uint64_t NeededBytes() const { return m_nNeeded; }

    std::string Message() const override;

    // Nothing went wrong: the user has not given the book a name or anything to put in it.
    bool IsMissingInput() const { return m_cause == emptyBookName || m_cause == nothingToBuild; }

private:
    Cause m_cause;
    std::string m_strPath;
    std::string m_strDetail;
    std::uint64_t m_nNeeded = 0;
};

// A size limit as the user gives it: "300 KB（307200 字节）", "1 MB（1048576 字节）", or
// "307201 字节" when it is no whole number of kilobytes (1 KB = 1024 bytes).
std::string SizeLimitText(std::uint64_t bytes);

// True for the engine's causes that mean the file is no archive it can read, or a damaged one.
bool IsDamagedArchiveCause(int zipCause);

// The Chinese text of a failure of the archive engine while writing the book, and the
// cause it has for the user.
CJarException JarExceptionFromZip(int zipCause, const std::string& bookPath);
