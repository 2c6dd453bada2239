// The check of the reader template before a book is built from it. The builder copies the
// template's entries and directory into every book as they are, so a fault in it would
// reach every phone: the template is read as strictly as unzip reads an archive.
#pragma once

#include <string>

// Throws CJarException(templateDamaged, path) when the archive engine cannot open the file,
// and CJarException(templateDamaged, path, detail) naming the first fault found:
//   - the end record: disk numbers other than 0, a comment that does not end the file or
//     that hides another end record, bytes before the archive, a directory holding more or
//     fewer headers than the record counts (the 16-bit count wraps at 65536);
//   - an entry: its local header out of place or disagreeing with its central header, its
//     data beyond the directory or not matching its size and CRC, its records overlapping
//     another entry's, a strings record that renames it, a name that occurs twice;
//   - a name the book adds: index.txt, 1.txt, 2.txt, ... or META-INF/MANIFEST.MF in any
//     case (Java looks the manifest up without regard to case).
// Throws CFileException when the file cannot be read.
void CheckTemplate(const std::string& path);
