// Failures of book generation found by the jar builder itself (file and archive failures
// arrive as CFileException and CZipException).
#pragma once

#include "platform/exception.h"

#include <string>

extern const char* const kTemplateMissingMessage;
extern const char* const kTemplateDamagedMessage;
extern const char* const kBadBookNameMessage;
extern const char* const kEmptyBookNameMessage;

class CJarException : public CException {
public:
    enum Cause {
        templateMissing,  // the reader template is not there or not a file
        templateDamaged,  // the reader template is not an archive the engine can open
        badBookName,      // the name holds a character a Windows file name cannot hold
        emptyBookName,
        cancelled,        // the caller stopped the build
        outputIsSource,   // the book would be written over one of its own source files
    };

    explicit CJarException(Cause cause, std::string path = {})
        : m_cause(cause), m_strPath(std::move(path)) {}

    Cause GetCause() const { return m_cause; }
    // The file concerned (the template, or the book written over a source), or empty.
    const std::string& GetPath() const { return m_strPath; }

    std::string Message() const override;

private:
    Cause m_cause;
    std::string m_strPath;
};
