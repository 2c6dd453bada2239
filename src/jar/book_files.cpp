#include "jar/book_files.h"

#include "platform/ascii.h"
#include "platform/path.h"

#include <algorithm>

namespace {

// Where the extension of the path's file name starts (its last dot, not a leading one),
// or the path's end when it has none.
std::size_t ExtensionAt(const std::string& path)
{
    const std::size_t nameAt = path.size() - FileNameOfPath(path).size();
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && dot > nameAt ? dot : path.size();
}

} // namespace

bool HasJadExtension(const std::string& path)
{
    const std::string extension = path.substr(ExtensionAt(path));
    return EqualsIgnoringAsciiCase(extension, ".jad");
}

std::string JadPathFor(const std::string& jarPath) { return jarPath.substr(0, ExtensionAt(jarPath)) + ".jad"; }

std::string VolumePathFor(const std::string& jarPath, std::size_t volume)
{
    const std::size_t at = ExtensionAt(jarPath);
    return jarPath.substr(0, at) + "(" + std::to_string(volume) + ")" + jarPath.substr(at);
}

std::string VolumeBookName(const std::string& bookName, std::size_t volume)
{
    return bookName + "(" + std::to_string(volume) + ")";
}
