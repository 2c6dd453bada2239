#include "jar/book_name.h"

#include "jar/book_files.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "platform/ascii.h"
#include "platform/utf8_sequence.h"

#include <algorithm>

namespace {

constexpr char kFullWidthSpace[] = "\u3000";


// The longest name of ASCII letters or of Chinese characters that keeps every manifest
// line within the limit (with the number a volume's name carries), for the message.
std::string LimitText(std::size_t volume)
{
    const std::string manifest = MakeManifest("");
    std::size_t longestLine = 0;
    for (const std::string_view line : ManifestLines(manifest)) {
        if (line.starts_with("MIDlet-1:"))
            longestLine = line.size();
    }
    const std::string suffix = volume ? VolumeBookName("", volume) : std::string();
    const std::size_t bytes = kMaxManifestLineBytes - longestLine - suffix.size();
    const std::string when = volume ? "分卷的书名后面还有“" + suffix + "”，" : std::string();
    return when + "书名最多 " + std::to_string(bytes / 3) + " 个汉字或 " + std::to_string(bytes) +
           " 个英文字母（逗号按 3 个字母算）";
}

} // namespace

bool IsReservedFileName(const std::string& name)
{
    // Windows looks at the part before the first dot, without trailing spaces.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    stem = AsciiUpper(stem);
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool IsBlankBookName(const std::string& name)
{
    for (std::size_t i = 0; i < name.size();) {
        if (name[i] == ' ' || name[i] == '\t') {
            ++i;
        } else if (name.compare(i, 3, kFullWidthSpace) == 0) {
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

void CheckBookName(const std::string& name, std::size_t volume)
{
    if (IsBlankBookName(name))
        throw CJarException(CJarException::emptyBookName);
    if (!IsValidBookName(name) || !IsValidUtf8(name.data(), name.size()))
        throw CJarException(CJarException::badBookName, {}, name);
    if (name.back() == '.' || name.back() == ' ')
        throw CJarException(CJarException::bookNameEndsBadly, {}, name);
    if (IsReservedFileName(name))
        throw CJarException(CJarException::reservedBookName, {}, name);
    const std::string manifest = MakeManifest(volume ? VolumeBookName(name, volume) : name);
    for (const std::string_view line : ManifestLines(manifest)) {
        if (line.size() > kMaxManifestLineBytes)
            throw CJarException(CJarException::bookNameTooLong, {}, LimitText(volume));
    }
}
