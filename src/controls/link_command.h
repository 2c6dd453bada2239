// What the hyperlink label needs that no window does: the command line that opens a link
// with the browser registered for web pages, and the text shown when a link cannot be
// opened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace controls {

// The registered open command with the link in place of its placeholder: the command is
// cut where a quoted "%1" begins (at the opening quote), else where a bare %1 begins, else
// kept whole; then a space and the link, unquoted. Any length: nothing is cut short.
std::string FallbackCommandLine(std::string_view registeredCommand, std::string_view link);

// "Unable to open hyperlink:" and a blank line, then what the shell's or WinExec's result
// code means, or "Unknown Error (<code>) occurred." for a code without a text.
std::string OpenErrorText(std::intptr_t code);

} // namespace controls
