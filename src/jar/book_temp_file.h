// The temporary file a book is written to before it is renamed over the book.
//
// Its name is "<prefix>.bm<build id: 8 hex digits><number: 4 hex digits>.tmp" beside the
// book, where the prefix is the start of the book's file name, cut (at a character) so that
// the temporary name is never longer than the book's own name in bytes nor in UTF-16
// units: a name the file system takes for the book it takes for the temporary file too.
// Short book names share the empty prefix. The build id is drawn at random by each build and
// held by its record (book_journal.h), which is created exclusively: two builds in one
// folder never share one, even in other process namespaces or on other machines. The
// number tells apart the files of one build.
//
// A build killed midway leaves its temporary files behind; the next build beside it removes
// those that the killed build's record names (book_journal.h), never a file only because
// its name has this pattern.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The temporary file name for a book file name, a build id and a number.
std::string TempFileName(const std::string& bookFileName, std::uint32_t buildId, std::uint16_t number);
// The build id when fileName is a temporary file name of this book, else nothing.
std::optional<std::uint32_t> TempFileOwner(const std::string& fileName, const std::string& bookFileName);
// The build id when fileName is a temporary file name of any book, else nothing.
std::optional<std::uint32_t> TempFileOwner(const std::string& fileName);
// The part of a temporary file name before its suffix (fileName must be one).
std::string TempFilePrefix(const std::string& fileName);

// A temporary file of build buildId for the book file at bookPath that is not there yet,
// numbered from number on (which is left past it).
std::string TempPathFor(const std::string& bookPath, std::uint32_t buildId, std::uint16_t& number);
