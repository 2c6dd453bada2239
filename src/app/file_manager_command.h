// The command line that opens a file-manager window with a file selected.
#pragma once

#include <string>

// explorer.exe /select,"<path>": quoted, so that a comma or a blank in the path does not
// end it (explorer reads a comma as the start of its next option).
std::string SelectInFileManagerCommand(const std::string& path);
