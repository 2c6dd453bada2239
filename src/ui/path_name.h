// Splitting Windows paths (either separator) without asking the file system.
#pragma once

#include <string>

// The last component: "C:\a\b.txt" gives "b.txt"; a path ending in a separator gives "".
std::string FileNameOfPath(const std::string& path);
