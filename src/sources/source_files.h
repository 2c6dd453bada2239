// Source files and folders: reading a file whole, its title, the folder scan.
#pragma once

#include "platform/exception.h"
#include "platform/user_texts.h"
#include "sources/encoding_detect.h"
#include "sources/text_clean.h"
#include "sources/text_convert.h"
#include "sources/text_import.h"

#include <cstddef>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CSourceList;

// The name without its extension (from the last "."); ".txt" gives "". A name that is not
// valid UTF-8 is decoded as GBK.
std::string TitleFromFileName(const std::string& fileName);

// Reads a whole file, up to its end whatever its size said. False when it cannot be opened
// (callers skip it silently); a pipe or a device throws CFileException (notRegularFile), as
// does a failure while reading.
bool ReadSourceFile(const std::string& path, std::string& bytes);

// The ".txt" files (any case) directly inside folder, directories skipped, in natural
// order by name (NaturalCompare: "2.txt" before "10.txt", "第二回" before "第十回"), as full
// paths. Throws CFileException when the folder cannot be listed.
std::vector<std::string> ScanFolder(const std::string& folder);

// How the texts are read: the encoding the user gave (none: each file's is detected; UTF-16
// given in one byte order is read in the other when the file's mark says so),
// the 繁简 conversion applied after decoding, and the clean-up (text_clean.h) after it,
// both before chapters are found and parts cut.
struct SourceReading {
    std::optional<TextEncoding> encoding;
    TextConversion conversion = TextConversion::none;
    // When reading by chapters: the user's pattern instead of the detection; none: detected.
    std::shared_ptr<const ChapterPattern> chapterPattern;
    bool clean = false;
};

// The start of a text file (at most maxBytes of it) decoded as AddSourceFile decodes it, for
// what its first lines say; empty when it cannot be read or is no text.
std::string ReadTextStart(const std::string& path, const SourceReading& reading, std::size_t maxBytes = 8192);

struct AddedSource {
    std::string title;
    TextEncoding encoding = EncodingAnsi;  // detected or given
    bool implausible = false;  // detected, and the text reads as nonsense in it (text_plausibility.h)
    bool markOverrode = false;  // an encoding was given, and the byte-order mark named another, which was used
    std::size_t parts = 0;
    std::size_t chapters = 0;  // chapters found when reading by chapters; 0: none
    std::vector<RefusedHeading> refusedHeadings;  // when reading by chapters: lines refused as headings
    std::size_t patternGaveUpLine = 0;  // by the user's pattern: where a match ran into its limit; 0 none
};

// Memory ran out while a source was read or decoded: a failure to read it, reported as a
// read error is ("打开文件出错!"), with the file.
class CSourceMemoryException : public CException {
public:
    explicit CSourceMemoryException(std::string path) : m_strPath(std::move(path)) {}
    std::string Message() const override { return kOpenFileFailedMessage; }
    std::string GetPath() const override { return m_strPath; }

private:
    std::string m_strPath;
};

// Reads one file and imports it under title: the one path the file dialog, the folder scan,
// the drop and the command line share. False when the file could not be opened (skipped).
// Read failures throw CFileException, memory running out while reading or decoding
// CSourceMemoryException, import failures CImportException; a file that is
// clearly not a text (IsClearlyNotText) throws CNotTextException and adds nothing.
// byChapters: the text is cut at its chapters first (ImportChapters). progress is called as
// the text is imported and may throw to stop it.
bool AddSourceFile(CSourceList& list, const std::string& path, const std::string& title,
                   AddedSource* added = nullptr, bool byChapters = false, const ImportProgress& progress = {},
                   const SourceReading& reading = {});

// A file's text as a book made with reading.clean gets it, before it is cut into parts:
// decoded, converted and cleaned, with what the clean-up removed and joined. False when the
// file could not be opened; throws as AddSourceFile does.
struct CleanedSource {
    TextEncoding encoding = EncodingAnsi;
    bool implausible = false;
    bool markOverrode = false;
    std::string text;
    CleanReport report;
};
bool ReadCleanedSource(const std::string& path, const SourceReading& reading, CleanedSource& cleaned);

// What kept a source from being added whole, as both front ends act on it.
enum class SourceFault {
    none,
    notOpened,    // it could not be opened (AddSourceFile returned false)
    notText,      // a picture or an archive (CNotTextException): nothing was added
    notRead,      // a read error, or memory ran out reading it: nothing was added
    notImported,  // read, but not all of it could be cut into parts (CImportException)
};

// The fault of what AddSourceFile threw (failure), or notOpened when it returned false
// (opened); none when it added the file. Rethrows what is no failure of the source (the
// user's cancel).
SourceFault FaultOf(bool opened, const std::exception_ptr& failure);

// A file of a folder with this fault is left out, with a note, and the folder's other files
// are read on: it is not a text, or cannot be opened. A file the user named, or a folder's
// file with another fault, is a failure of the command.
constexpr bool IsLeftOutOfFolder(SourceFault fault)
{
    return fault == SourceFault::notOpened || fault == SourceFault::notText;
}

// After this fault no more sources are read: the files may be gone.
constexpr bool EndsTheReading(SourceFault fault) { return fault == SourceFault::notRead; }
