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

    std::string manifest;
    for (const std::string_view line : ManifestLines(MANIFEST_TEMPLATE))
        manifest += Substitute(std::string(line), line.starts_with("MIDlet-1:") ? nameInMidlet1 : bookName);
    if (place.bookBytes != 0)
        manifest += "Lumenread-Volume: " + std::to_string(place.bytesBefore) + " " + std::to_string(place.bookBytes) +
                    "\r\n";
    return manifest;
}

std::vector<std::string_view> ManifestLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t to = text.find_first_of("\r\n", from);
        to = to == std::string_view::npos ? text.size() : to + (text.substr(to, 2) == "\r\n" ? 2 : 1);
        lines.push_back(text.substr(from, to - from));
        from = to;
    }
    return lines;
}

std::string_view WithoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

std::string MakeJad(const std::string& bookName, const std::string& jarFileName, std::uint64_t jarBytes,
                    const VolumePlace& place)
{
    const std::string manifest = MakeManifest(bookName, place);
    std::string jad;
    for (const std::string_view line : ManifestLines(manifest)) {
        if (line.starts_with("MIDlet-") || line.starts_with("MicroEdition-") || line.starts_with("Lumenread-"))
            jad += line;
    }
    jad += "MIDlet-Jar-URL: " + jarFileName + "\r\n";
    jad += "MIDlet-Jar-Size: " + std::to_string(jarBytes) + "\r\n";
    return jad;
}

std::string MakeIndex(const BookInfo& book, const std::vector<std::string>& titles,
                      const std::vector<std::uint64_t>& partBytes)
{
    std::string text = IndexLine(book.author.empty() ? kAnonymousAuthor : book.author);
    text += IndexLine(book.maker.empty() ? kDefaultMaker : book.maker);
    text += IndexLine(book.bookName);
    for (const std::string& title : titles)
        text += IndexLine(title);
    if (!partBytes.empty()) {
        text += '\0';
        for (std::uint64_t bytes : partBytes)
            text += std::to_string(bytes) + "\r\n";
    }

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

std::optional<std::vector<std::uint64_t>> ParseIndexLengths(std::u16string_view afterTitles)
{
    if (afterTitles.empty() || afterTitles.back() != 0)
        return std::nullopt;
    afterTitles.remove_suffix(1);
    std::vector<std::uint64_t> lengths;
    while (!afterTitles.empty()) {
        const std::size_t end = afterTitles.find(u"\r\n");
        if (end == 0 || end == std::u16string_view::npos || end > 10)
            return std::nullopt;
        std::uint64_t value = 0;
        for (char16_t u : afterTitles.substr(0, end)) {
            if (u < u'0' || u > u'9')
                return std::nullopt;
            value = value * 10 + (u - u'0');
        }
        lengths.push_back(value);
        afterTitles.remove_prefix(end + 2);
    }
    return lengths;
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
