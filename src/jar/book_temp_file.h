// The temporary file a book is written to before it is renamed over the book.
//
// Its name is "<prefix>.bm<process id: 8 hex digits><number: 4 hex digits>.tmp" beside the
// book, where the prefix is the start of the book's file name, cut (at a character) so that
// the temporary name is never longer than the book's own name in bytes nor in UTF-16
// units: a name the file system takes for the book it takes for the temporary file too.
// Short book names share the empty prefix; the number tells apart the files one process
// writes at the same time.
//
// A build killed midway leaves its temporary files behind; the next build beside it removes
// those that the killed build's record names (book_journal.h), never a file only because
// its name has this pattern.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The temporary file name for a book file name, a process id and a number.
std::string TempFileName(const std::string& bookFileName, std::uint32_t processId, std::uint16_t number);
// The process id when fileName is a temporary file name of this book, else nothing.
std::optional<std::uint32_t> TempFileOwner(const std::string& fileName, const std::string& bookFileName);
// The process id when fileName is a temporary file name of any book, else nothing.
std::optional<std::uint32_t> TempFileOwner(const std::string& fileName);

// A temporary file of this process for the book at bookPath that is not there yet.
std::string TempPathFor(const std::string& bookPath);
