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
        templateDamaged,  // the reader template is not an archive, or a damaged one
        badBookName,      // the name holds a character a Windows file name cannot hold
        emptyBookName,
        cancelled,        // the caller stopped the build
    };

    explicit CJarException(Cause cause, std::string path = {}, std::string detail = {})
        : m_cause(cause), m_strPath(std::move(path)), m_strDetail(std::move(detail)) {}

    Cause GetCause() const { return m_cause; }
    // The file concerned (the template), or empty.
    const std::string& GetPath() const { return m_strPath; }
    // What exactly is wrong with it (a damaged template's fault), or empty.
    const std::string& GetDetail() const { return m_strDetail; }

    std::string Message() const override;

private:
    Cause m_cause;
    std::string m_strPath;
    std::string m_strDetail;
};
