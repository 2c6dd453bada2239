// Paths inside the program are UTF-8 strings; std::filesystem takes them at the edge (a
// narrow string would be read in the ANSI code page on Windows). Splitting and joining by
// the system's separators: '\' and '/' on Windows, '/' elsewhere.
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path U8Path(const std::string& path);
std::string Utf8Path(const std::filesystem::path& path);

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

bool IsPathSeparator(char c);

// The last component: "C:\a\b.txt" gives "b.txt"; a path ending in a separator gives "".
std::string FileNameOfPath(const std::string& path);

// name inside folder: a separator is put between them unless folder ends with one; an
// empty folder is the current one.
std::string JoinPath(const std::string& folder, const std::string& name);
