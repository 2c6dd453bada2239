#include "platform/path.h"

#include <algorithm>

std::filesystem::path U8Path(const std::string& path) { return std::filesystem::path(std::u8string(path.begin(), path.end())); }

std::string Utf8Path(const std::filesystem::path& path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

bool IsPathSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

std::string FileNameOfPath(const std::string& path)
{
    const auto separator = std::find_if(path.rbegin(), path.rend(), IsPathSeparator);
    return std::string(separator.base(), path.end());
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || IsPathSeparator(folder.back()))
        return folder + name;
    return folder + kPathSeparator + name;
}
