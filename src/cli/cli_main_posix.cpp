// Entry point of bookmaker-cli on POSIX systems: arguments are already UTF-8 bytes.
#include "cli/cli_run.h"

#include <climits>
#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

void OnInterrupt(int signal)
{
    RequestCancel();
    std::signal(signal, SIG_DFL);  // a second Ctrl+C ends the program at once
}

std::string ExecutablePath(const char* argv0)
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(argv0 ? argv0 : "");
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    // Beyond a file size limit (ulimit -f) a write then fails with EFBIG instead of ending
    // the process, so the build can clean up after itself.
    std::signal(SIGXFSZ, SIG_IGN);

    CliContext context;
    context.executablePath = ExecutablePath(argv[0]);
    context.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, context, std::cout, std::cerr);
}
