// The command line of bookmaker-cli, parsed:
//   bookmaker-cli [options] SOURCE...      build a book
//   bookmaker-cli inspect BOOK.jar         check a book
//   bookmaker-cli chapters FILE... [--why] the parts --chapters would make of each file
//   bookmaker-cli clean FILE... [--why]    what --clean would change in each file
#pragma once

#include "jar/book_compression.h"
#include "platform/exception.h"
#include "sources/source_files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CliOptions {
    enum class Command { build, inspect, chapters, clean, help, version };
    Command command = Command::build;
    std::string name;                  // empty with one source: taken from it (book_info_guess.h)
    std::string author;
    bool authorGiven = false;          // -a given; else one source may name the author
    std::string maker;
    std::optional<std::string> templatePath;
    std::optional<std::string> output;
    std::vector<std::string> sources;  // files and folders, in the order given
    bool byChapters = false;           // --chapters: every source cut at its chapters
    std::uint64_t maxJarBytes = 0;     // --max-size: volumes of at most this many bytes; 0 none
    BookCompression compression = BookCompression::normal;  // --compression
    SourceReading reading;             // --encoding, --convert and --clean, for every source
    std::string book;                  // inspect
    bool why = false;                  // chapters --why: the refused headings too; clean --why: the reasons
    std::string chapterPattern;        // --chapter-pattern as given (then reading.chapterPattern)
};

// Bad usage: the message says what is wrong (exit code 2).
class CUsageError : public CException {
public:
    explicit CUsageError(std::string message) : m_message(std::move(message)) {}
    std::string Message() const override { return m_message; }

private:
    std::string m_message;
};

// args without the program name. Options may stand anywhere; "--" ends them. Values are
// given as "-n NAME", "-nNAME", "--name NAME" or "--name=NAME"; a repeated option keeps its
// last value.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsageText;
