// Writes a book: a copy of the reader template with the book's manifest, index and parts
// appended (see jar_contents.h). The book is written to a temporary file beside the target
// and renamed over it only when it is complete, so a failure leaves no file behind and an
// earlier book of the same name as it was.
#pragma once

#include "jar/book_info.h"
#include "zip/zip_container.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Throws CJarException (templateMissing) when there is no template file at templatePath,
// CFileException (notRegularFile) when a pipe or a device stands there.
void CheckTemplatePresent(const std::string& templatePath);

// Throws CJarException when the book cannot be written at jarPath: something that is not a
// regular file is there (outputNotFile), or it is the same file, however spelled, as the
// template (outputIsTemplate) or one of the protected files (outputIsSource).
void CheckBookPath(const std::string& jarPath, const std::string& templatePath,
                   const std::vector<std::string>& protectedFiles);

class CJarBuilder {
public:
    // done of total entries added so far; may throw to stop the build.
    using ProgressFn = std::function<void(std::size_t done, std::size_t total)>;

    explicit CJarBuilder(const BookInfo& book);
    virtual ~CJarBuilder();
    CJarBuilder(const CJarBuilder&) = delete;
    CJarBuilder& operator=(const CJarBuilder&) = delete;

    // One title and one text per part, in book order. The arrays are not copied: they must
    // stay alive and unchanged until Build returns. Arrays of different lengths throw
    // std::invalid_argument.
    void SetContents(const std::vector<std::string>& titles, const std::vector<std::string>& texts);

    // Writes <directory><book name>.jar from <directory>RDbook.dat. A path separator is
    // appended to directory when it does not end with one; an empty directory is the
    // current folder.
    void Build(std::string& directory);
    // Writes jarPath from the template at templatePath.
    //
    // Throws, before anything is written: CJarException for a book name CheckBookName
    // refuses, a template that is not there or that CheckTemplate refuses
    // (template_check.h), and a book path CheckBookPath refuses. Failures while writing
    // throw CFileException naming the book, or CJarException for what the archive engine
    // refused.
    void BuildTo(const std::string& templatePath, const std::string& jarPath);

    // Files the book must never be written over: the files its texts were read from.
    void SetProtectedFiles(std::vector<std::string> paths) { m_arrProtected = std::move(paths); }

    // The book written by the last successful build; empty until then.
    const std::string& GetJarPath() const { return m_strJarPath; }

    // The clock that dates the new entries (tests fix it to compare books byte for byte).
    void SetClock(std::function<std::time_t()> clock) { m_zip.SetClock(std::move(clock)); }
    void SetProgress(ProgressFn progress) { m_progress = std::move(progress); }

private:
    void CopyTemplate(const std::string& templatePath, const std::string& tempPath);
    void AddManifest();
    void AddIndex();
    void AddChunks();
    void AddEntry(const std::string& name, const std::string& data);
    [[noreturn]] void ThrowEntryRefused(const std::string& name) const;
    void EntryAdded();
    // Closes the archive without a directory and removes the temporary file.
    void Abandon(const std::string& tempPath) noexcept;

    std::string m_strJarPath;
    std::string m_strTargetPath;  // the book being written
    CZipContainer m_zip;
    BookInfo m_book;
    const std::vector<std::string>* m_pTitles;
    const std::vector<std::string>* m_pTexts;
    std::vector<std::string> m_arrProtected;
    ProgressFn m_progress;
    std::size_t m_nDone = 0;
    std::size_t m_nTotal = 0;
};
