// The commands of bookmaker-cli, called by RunCli.
#pragma once

#include "cli/cli_options.h"
#include "cli/cli_run.h"

#include <atomic>
#include <functional>
#include <ostream>
#include <string>

class CException;

extern std::atomic<bool> g_cancelRequested;

int RunBuild(const CliOptions& options, const CliContext& context, std::ostream& out, std::ostream& err);
int RunInspect(const std::string& book, std::ostream& out, std::ostream& err);
int RunChapters(const CliOptions& options, std::ostream& out, std::ostream& err);
int RunClean(const CliOptions& options, std::ostream& out, std::ostream& err);

// Why a source read by chapters has none: no heading found, the user's pattern matched no
// line, or a match ran into the pattern's limit.
std::string NoChaptersText(const AddedSource& added, const SourceReading& reading);

// Writes what went wrong, in the program's own words, with the file concerned.
void ReportFailure(std::ostream& err, const CException& failure);
// ReportFailure for a mistake in the command, with where to read the usage (exit code 2).
void ReportUsageError(std::ostream& err, const CException& failure);
// Reads one file for a listing (chapters, clean) with read, which returns false when the file
// could not be opened; false, with the reason written to err, when it could not be read.
bool ReadForListing(const std::string& path, std::ostream& err, const std::function<bool()>& read);
