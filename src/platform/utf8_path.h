// Paths are UTF-8 strings inside the program; std::filesystem takes them at the edge.
// (A narrow string would be read in the ANSI code page on Windows.)
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path U8Path(const std::string& path);
std::string Utf8Path(const std::filesystem::path& path);
