// The check of the reader template before a book is built from it. The builder copies the
// template's entries and directory into every book as they are, so a fault in it would
// reach every phone: the template is read as strictly as unzip reads an archive.
#pragma once

#include "platform/file.h"

#include <cstdint>
#include <string>

// Throws CJarException (templateMissing) when there is no template file at templatePath,
// CFileException (notRegularFile) when a pipe or a device stands there.
void CheckTemplatePresent(const std::string& templatePath);

// Throws CJarException(templateDamaged, path) when the archive engine cannot open the file,
// and CJarException(templateDamaged, path, detail) naming the first fault found:
//   - the end record: disk numbers other than 0, a comment that does not end the file or
//     that hides another end record, a directory holding more or
//     fewer headers than the record counts (the 16-bit count wraps at 65536);
//   - an entry: its local header out of place or disagreeing with its central header, its
//     data beyond the directory or not matching its size and CRC, its records overlapping
//     another entry's, a strings record that renames it, a name that occurs twice;
//   - a name the book adds: index.txt, 1.txt, 2.txt, ... or META-INF/MANIFEST.MF in any
//     case (Java looks the manifest up without regard to case).
// Throws CFileException when the file cannot be read.
void CheckTemplate(const std::string& path);
// The same for the template open in file (file.GetFilePath() is its path).
void CheckTemplate(CFile& file);

// The template of one build, found present and accepted by CheckTemplate, and held open
// from the check until the book is written (other programs may read it but not change it),
// so that every jar of the book copies the bytes that were checked.
class CCheckedTemplate {
public:
    // Throws what CheckTemplatePresent and CheckTemplate throw.
    explicit CCheckedTemplate(const std::string& path);
    CCheckedTemplate(const CCheckedTemplate&) = delete;
    CCheckedTemplate& operator=(const CCheckedTemplate&) = delete;

    const std::string& Path() const { return m_file.GetFilePath(); }
    std::uint64_t Size() const { return m_file.GetLength(); }
    // Writes the template's bytes into a new file at path.
    void CopyTo(const std::string& path);

private:
    CFile m_file;
};
