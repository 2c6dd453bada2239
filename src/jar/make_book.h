// Making a book: the one operation both front ends run. It checks what the user gave in
// the order the user hears of it, then writes the book with the jar builder. The window and
// the command line only collect the request and report what comes back; options of a build
// are added here, once.
#pragma once

#include "jar/book_info.h"
#include "jar/jar_builder.h"
#include "jar/template_check.h"
#include "sources/book_part.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct BookRequest {
    BookInfo book;
    std::string templatePath;
    std::string jarPath;
    // The files the texts were read from: the book is never written over one of them.
    std::vector<std::string> sourcePaths;
    // Called as entries are added; may throw CJarException (cancelled) to stop the build.
    CJarBuilder::ProgressFn progress;
    // Told what was put right or left alone of killed builds' files beside the book, before
    // the book is written (DescribeRecovery says it); not called when there were none.
    CJarBuilder::RecoveryFn recovery;
    // Called as each volume starts, when the book is cut into volumes.
    CJarBuilder::VolumeFn volumeStarted;
    // Dates the new entries; empty: the current time.
    std::function<std::time_t()> clock;
    // The most bytes a jar may have, for phones that refuse larger ones: a book that does
    // not fit is cut into volumes (CJarBuilder::BuildTo). 0: no limit.
    std::uint64_t maxJarBytes = 0;
    // How hard the parts are packed.
    BookCompression compression = BookCompression::normal;
};

struct BookResult {
    std::vector<BookVolume> volumes;  // the whole book, or its volumes in order
    std::size_t parts = 0;
    std::vector<std::string> removed;  // older volumes taken away (see CJarBuilder::BuildTo)
    RecoveryReport recovery;           // what was put right or left alone before (as told to request.recovery)
};

// A request CheckBookRequest accepted, with its template held open until the book is
// written: the builder trusts it and checks nothing of it again.
struct CheckedBookRequest {
    BookRequest request;
    std::unique_ptr<CCheckedTemplate> templ;
};

// What can be refused before any text is read: the book's name (CheckBookName), the
// template (there, a regular file, CheckTemplate; a limit of maxJarBytes below its size:
// volumeBelowTemplate), the paths of the book and its JAD (CheckBookPaths) and the length
// of their file names, the first volume's with a size limit (CheckBookFileNames). Throws
// CJarException or CFileException.
CheckedBookRequest CheckBookRequest(const BookRequest& request);

// Writes the book of a checked request from its parts, in book order (see
// CJarBuilder::BuildTo); a book without parts is refused ("没有要生成的内容!"). Memory
// running out throws CJarException (outOfMemory). Nothing is written on failure.
BookResult MakeBook(CheckedBookRequest& checked, const std::vector<BookPart>& parts);
// The same for a request not checked yet: a book without a name is refused first
// ("请填写书名!"), then one without parts, then what CheckBookRequest refuses.
BookResult MakeBook(const BookRequest& request, const std::vector<BookPart>& parts);

// What a build took away beside the book: each older volume removed, as the words said
// before the file's path ("已删除旧的分卷：") and the path.
std::vector<std::pair<std::string, std::string>> DescribeCleanup(const BookResult& book);

// One line of what recovery did or refused: the words, the path, and after a refusal why
// ("（记录里的“notes.txt”不是这本书的文件，未照它做任何事）")..
struct RecoveryLine {
    std::string said, path, why;
    bool refused = false;  // a warning: a record was left alone
};
std::vector<RecoveryLine> DescribeRecovery(const RecoveryReport& report);
