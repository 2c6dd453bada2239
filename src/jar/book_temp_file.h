// The temporary file a book is written to before it is renamed over the book.
//
// Its name is "<prefix>.bm<process id: 8 hex digits><number: 4 hex digits>.tmp" beside the
// book, where the prefix is the start of the book's file name, cut (at a character) so that
// the temporary name is never longer than the book's own name in bytes nor in UTF-16
// units: a name the file system takes for the book it takes for the temporary file too.
// Short book names share the empty prefix; the number tells apart the files one process
// writes at the same time.
//
// A build killed midway leaves its temporary file behind; the next build beside it removes
// the files of exactly this pattern whose process no longer runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The temporary file name for a book file name, a process id and a number.
std::string TempFileName(const std::string& bookFileName, std::uint32_t processId, std::uint16_t number);
// The process id when fileName is a temporary file name of this book, else nothing.
std::optional<std::uint32_t> TempFileOwner(const std::string& fileName, const std::string& bookFileName);

// A temporary file of this process for the book at bookPath that is not there yet.
std::string TempPathFor(const std::string& bookPath);
// Removes the temporary files of this book left by processes that no longer run; failures
// are ignored (such a file is left for a later build).
void RemoveStaleTempFiles(const std::string& bookPath);

// A file of a book written to a temporary path, to be put in the place of targetPath.
struct PendingBookFile {
    std::string tempPath;
    std::string targetPath;
};

// Puts every new file in the place of its target and takes the retired files away, all
// together or not at all: the files at the targets and the retired files are first renamed
// to temporary names of their own, then each new file is renamed to its target, then the
// old files are removed. A failure removes the new files already placed, gives the old ones
// back their names and throws CFileException naming the file that could not be renamed
// (replacing when it was an existing file, which another program may hold); the new files
// not placed stay at their temporary paths. An old file that cannot be removed at the end
// stays under its temporary name, which a later build removes.
void CommitBookFiles(const std::vector<PendingBookFile>& files, const std::vector<std::string>& retired);
