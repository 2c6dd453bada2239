// Reads source files into a list on worker threads: each file goes through AddSourceFile
// (the one import the window uses too) into a list of its own, and the results are handed
// over in the order of the files. Decoding then runs beside the caller's work instead of
// before it.
#pragma once

#include "sources/source_files.h"
#include "sources/source_list.h"

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

struct SourceRead {
    std::string path;
    std::string title;
    bool opened = false;       // false: the file could not be opened
    AddedSource added;
    CSourceList list;          // the entries of this file
    std::exception_ptr failure;  // what reading or importing it threw
};

// Calls onRead for every file in order, on the calling thread. A failure of a file is
// handed over in its SourceRead; onRead returns false to stop the reading there. Workers
// read at most `ahead` files beyond the one handed over. Once cancel is true no further
// file is handed over, the files being read stop within a piece, and the function returns.
// byChapters: every file is cut at its chapters; reading: the encoding and conversion
// (AddSourceFile).
void ReadSourcesInOrder(const std::vector<std::string>& paths, unsigned threads, std::size_t ahead,
                        const std::atomic<bool>& cancel, const std::function<bool(SourceRead&)>& onRead,
                        bool byChapters = false, const SourceReading& reading = {});
