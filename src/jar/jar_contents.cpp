#include "jar/jar_contents.h"

#include "platform/ascii.h"
#include "platform/utf16.h"

#include <algorithm>
#include <cstring>

namespace {

// Replaces every "$$$" of line by value, left to right; inserted text is not searched again.
std::string Substitute(const std::string& line, const std::string& value)
{
    static constexpr char kPlaceholder[] = "$$$";
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(kPlaceholder, from)) != std::string::npos; from = at + 3) {
        out.append(line, from, at - from);
        out += value;
    }
    out.append(line, from, std::string::npos);
    return out;
}

std::string IndexLine(const std::string& field)
{
    std::string line = field;
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return line + "\r\n";
}

} // namespace

std::string MakeManifest(const std::string& bookName, const VolumePlace& place)
{
    std::string nameInMidlet1;
    for (char c : bookName) {
        if (c == ',')
            nameInMidlet1 += "，";
        else
            nameInMidlet1 += c;
    }

    const std::string templ = MANIFEST_TEMPLATE;
    std::string manifest;
    std::size_t from = 0;
    while (from < templ.size()) {
        const std::size_t end = templ.find("\r\n", from) + 2;
        const std::string line = templ.substr(from, end - from);
        manifest += Substitute(line, line.starts_with("MIDlet-1:") ? nameInMidlet1 : bookName);
        from = end;
    }
    if (place.bookBytes != 0)
        manifest += "Lumenread-Volume: " + std::to_string(place.bytesBefore) + " " + std::to_string(place.bookBytes) +
                    "\r\n";
    return manifest;
}

std::string MakeJad(const std::string& bookName, const std::string& jarFileName, std::uint64_t jarBytes,
                    const VolumePlace& place)
{
    const std::string manifest = MakeManifest(bookName, place);
    std::string jad;
    for (std::size_t from = 0, end; from < manifest.size(); from = end) {
        end = manifest.find("\r\n", from) + 2;
        if (manifest.compare(from, 7, "MIDlet-") == 0 || manifest.compare(from, 13, "MicroEdition-") == 0 ||
            manifest.compare(from, 10, "Lumenread-") == 0)
            jad.append(manifest, from, end - from);
    }
    jad += "MIDlet-Jar-URL: " + jarFileName + "\r\n";
    jad += "MIDlet-Jar-Size: " + std::to_string(jarBytes) + "\r\n";
    return jad;
}

std::string MakeIndex(const BookInfo& book, const std::vector<std::string>& titles)
{
    std::string text = IndexLine(book.author.empty() ? kAnonymousAuthor : book.author);
    text += IndexLine(book.maker.empty() ? kDefaultMaker : book.maker);
    text += IndexLine(book.bookName);
    for (const std::string& title : titles)
        text += IndexLine(title);

    const std::u16string units = Utf8ToUtf16(text);
    std::string bytes;
    bytes.reserve(2 + 2 * (units.size() + 1));
    bytes += "\xFF\xFE";
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    bytes.append(2, '\0');
    return bytes;
}

std::string MakePartText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        if (cr == nullptr) {
            out.append(p, end);
            break;
        }
        out.append(p, cr);
        if (cr + 1 < end && cr[1] == '\n') {
            out += '\n';
            p = cr + 2;
        } else {
            out += '\r';
            p = cr + 1;
        }
    }
    return out;
}

std::uint64_t PartTextBytes(const std::string& text)
{
    std::uint64_t bytes = text.size();
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        --bytes;
    return bytes;
}

std::string PartEntryName(std::size_t part) { return std::to_string(part + 1) + ".txt"; }

bool IsPartEntryName(const std::string& stored)
{
    return stored.size() > 4 && stored.ends_with(".txt") && stored[0] != '0' &&
           stored.find_first_not_of("0123456789") == stored.size() - 4;
}

bool IsManifestName(const std::string& stored)
{
    return EqualsIgnoringAsciiCase(stored, kManifestStoredName);
}

bool IsValidBookName(const std::string& name)
{
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return false;
    }
    return true;
}
