#include "jar/book_temp_file.h"

#include "platform/file.h"
#include "platform/path.h"
#include "platform/utf8_sequence.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kMarker[] = ".bm";
constexpr char kExtension[] = ".tmp";
constexpr std::size_t kDigits = 8 + 4;  // process id, number
constexpr std::size_t kSuffixLength = sizeof kMarker - 1 + kDigits + sizeof kExtension - 1;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The longest start of name, cut before a character, that leaves room for the suffix
// within the name's own length in bytes and in UTF-16 units.
std::string Prefix(const std::string& name)
{
    const std::size_t units = Utf16Length(name);
    if (name.size() < kSuffixLength || units < kSuffixLength)
        return {};
    const std::size_t maxBytes = name.size() - kSuffixLength;
    const std::size_t maxUnits = units - kSuffixLength;
    std::size_t bytes = 0, used = 0;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t next = i + 1;
        while (next < name.size() && IsContinuation(static_cast<unsigned char>(name[next])))
            ++next;
        const std::size_t u = Utf16UnitsOfByte(static_cast<unsigned char>(name[i]));
        if (next > maxBytes || used + u > maxUnits)
            break;
        bytes = next;
        used += u;
        i = next;
    }
    return name.substr(0, bytes);
}

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

} // namespace

std::string TempFileName(const std::string& bookFileName, std::uint32_t buildId, std::uint16_t number)
{
    char suffix[kSuffixLength + 1];
    std::snprintf(suffix, sizeof suffix, "%s%08x%04x%s", kMarker, static_cast<unsigned>(buildId),
                  static_cast<unsigned>(number), kExtension);
    return Prefix(bookFileName) + suffix;
}

std::optional<std::uint32_t> TempFileOwner(const std::string& fileName)
{
    if (fileName.size() < kSuffixLength)
        return std::nullopt;
    const std::size_t at = fileName.size() - kSuffixLength;
    if (fileName.compare(at, sizeof kMarker - 1, kMarker) != 0 ||
        fileName.compare(fileName.size() - (sizeof kExtension - 1), std::string::npos, kExtension) != 0)
        return std::nullopt;
    std::uint32_t id = 0;
    for (std::size_t i = at + sizeof kMarker - 1, k = 0; k < kDigits; ++i, ++k) {
        if (!IsLowerHex(fileName[i]))
            return std::nullopt;
        if (k < 8)
            id = id * 16 + static_cast<std::uint32_t>(fileName[i] <= '9' ? fileName[i] - '0' : fileName[i] - 'a' + 10);
    }
    return id;
}

std::optional<std::uint32_t> TempFileOwner(const std::string& fileName, const std::string& bookFileName)
{
    const std::string prefix = Prefix(bookFileName);
    if (fileName.size() != prefix.size() + kSuffixLength || fileName.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    return TempFileOwner(fileName);
}

std::string TempFilePrefix(const std::string& fileName)
{
    return fileName.substr(0, fileName.size() - std::min(fileName.size(), kSuffixLength));
}

std::string TempPathFor(const std::string& bookPath, std::uint32_t buildId, std::uint16_t& number)
{
    const fs::path book = U8Path(bookPath);
    const std::string bookName = Utf8Path(book.filename());
    for (;;) {
        const fs::path path = book.parent_path() / U8Path(TempFileName(bookName, buildId, number++));
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (ec || !fs::exists(status))
            return Utf8Path(path);  // a folder that cannot be looked at fails when written
    }
}
