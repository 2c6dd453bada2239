#include "cli/cli_run.h"

#include "cli/cli_commands.h"
#include "platform/exception.h"
#include "platform/text_encoding.h"
#include "platform/user_texts.h"
#include "platform/utf8_sequence.h"
#include "sources/text_sniff.h"

#include <chrono>

std::atomic<bool> g_cancelRequested {false};

void RequestCancel() { g_cancelRequested = true; }

void ReportFailure(std::ostream& err, const CException& failure)
{
    const std::string message = failure.Message();
    const std::string path = failure.GetPath();
    err << message << '\n';
    // A message that does not name its file gets it on a line of its own.
    if (!path.empty() && !failure.MessageNamesPath())
        err << "  " << path << '\n';
}

void ReportUsageError(std::ostream& err, const CException& failure)
{
    ReportFailure(err, failure);
    err << "用 bookmaker-cli --help 查看用法。\n";
}

bool ReadForListing(const std::string& path, std::ostream& err, const std::function<bool()>& read)
{
    try {
        if (read())
            return true;
        err << kOpenFileFailedMessage << "\n  " << path << '\n';
    } catch (const CNotTextException& e) {
        err << e.Message() << '\n';
    } catch (const CException& e) {
        ReportFailure(err, e);
    }
    return false;
}

int RunCli(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
           std::ostream& err)
{
    g_cancelRequested = false;
    CliContext ctx = context;
    if (!ctx.clock) {
        ctx.clock = [] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        };
    }
    CliOptions options;
    try {
        options = ParseCommandLine(args);
    } catch (const CUsageError& e) {
        ReportUsageError(err, e);
        return 2;
    }
    // The book's fields go into the manifest and the index as UTF-8: a field typed in a GBK
    // terminal arrives as GBK bytes and is read as GBK text is.
    for (std::string* field : {&options.name, &options.author, &options.maker}) {
        if (!IsValidUtf8(field->data(), field->size())) {
            std::string text;
            AppendGb18030AsUtf8(field->data(), field->size(), text);
            *field = std::move(text);
        }
    }
    switch (options.command) {
    case CliOptions::Command::help:
        out << kUsageText;
        return 0;
    case CliOptions::Command::version:
        out << "bookmaker-cli " BOOKMAKER_CLI_VERSION "\n";
        return 0;
    case CliOptions::Command::inspect:
        return RunInspect(options.book, out, err);
    case CliOptions::Command::chapters:
        return RunChapters(options, out, err);
    case CliOptions::Command::clean:
        return RunClean(options, out, err);
    case CliOptions::Command::build:
        break;
    }
    return RunBuild(options, ctx, out, err);
}
