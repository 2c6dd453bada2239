// Trimming typed text.
#pragma once

#include <string>
#include <string_view>

// Removes blanks, tabs, line breaks, vertical tabs and form feeds from both ends. Only
// ASCII white space: no byte of a multi-byte UTF-8 character is ever taken for it, so
// an ideographic space (U+3000) stays.
std::string TrimBlank(std::string_view text);
