// Paths of the command line: UTF-8 strings inside, std::filesystem at the edge.
#pragma once

#include "platform/path.h"

#include <optional>
#include <string>

// The template given, else RDbook.dat in the current folder when it is there, else the one
// beside the executable when that is there, else the one of the current folder (which then
// is reported missing).
std::string ResolveTemplate(const std::optional<std::string>& given, const std::string& executablePath);

// The output given (a folder means <folder>/<name>.jar), else <name>.jar in the current folder.
std::string ResolveOutput(const std::optional<std::string>& given, const std::string& bookName);
