// bookmaker-cli as a function: arguments in (UTF-8, without the program name), text out
// (UTF-8), an exit code back: 0 success, 1 failure, 2 bad usage.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct CliContext {
    std::string executablePath;     // UTF-8; the default template may lie beside it
    bool stderrIsTerminal = false;  // a progress line is shown only on a terminal
    std::function<double()> clock;  // seconds, monotonic; the steady clock when empty
};

int RunCli(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
           std::ostream& err);

// Asks a running build to stop (from a Ctrl+C handler): it fails at the next entry and
// leaves no book behind.
void RequestCancel();
