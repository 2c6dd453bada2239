#include "platform/utf8_path.h"

std::filesystem::path U8Path(const std::string& path) { return std::filesystem::path(std::u8string(path.begin(), path.end())); }

std::string Utf8Path(const std::filesystem::path& path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}
