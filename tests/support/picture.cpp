#include "support/picture.h"

#include "support/test_support.h"

#include <zlib.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace test {

namespace {

const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
// IHDR after width and height: 8 bits a channel, RGB, deflate, no filtering method but
// the standard one, not interlaced.
const std::string kRgb8("\x08\x02\x00\x00\x00", 5);

void PutU32BigEndian(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift & 0xFF);
}

std::uint32_t U32BigEndian(const std::string& s, std::size_t at)
{
    if (at + 4 > s.size())
        throw std::runtime_error("PNG ends inside a chunk");
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutU32BigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    PutU32BigEndian(png, Crc32(body));
}

void Require(const Picture& picture, const Box& box)
{
    if (box.left < 0 || box.top < 0 || box.right > picture.Width() || box.bottom > picture.Height() ||
        box.left > box.right || box.top > box.bottom)
        throw std::out_of_range("box (" + std::to_string(box.left) + "," + std::to_string(box.top) + ")-(" +
                                std::to_string(box.right) + "," + std::to_string(box.bottom) + ") is not inside the " +
                                std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
                                " picture");
}

template <typename Test>
int Count(const Picture& picture, const Box& box, Test test)
{
    Require(picture, box);
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            count += test(picture.At(x, y)) ? 1 : 0;
    return count;
}

} // namespace

Picture::Picture(int width, int height, std::vector<Rgb> pixels)
    : m_width(width), m_height(height), m_pixels(std::move(pixels))
{
    if (width < 0 || height < 0 || m_pixels.size() != static_cast<std::size_t>(width) * height)
        throw std::invalid_argument("a picture needs width * height pixels");
}

Rgb Picture::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        throw std::out_of_range("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is outside the picture");
    return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

void WritePng(const Picture& picture, const std::string& path)
{
    std::string raw;
    raw.reserve(static_cast<std::size_t>(picture.Height()) * (picture.Width() * 3 + 1));
    for (int y = 0; y < picture.Height(); ++y) {
        raw += '\0';  // filter: none
        for (int x = 0; x < picture.Width(); ++x) {
            const Rgb p = picture.At(x, y);
            raw += static_cast<char>(p >> 16 & 0xFF);
            raw += static_cast<char>(p >> 8 & 0xFF);
            raw += static_cast<char>(p & 0xFF);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw std::runtime_error("cannot compress the picture for " + path);
    packed.resize(packedSize);

    std::string header;
    PutU32BigEndian(header, static_cast<std::uint32_t>(picture.Width()));
    PutU32BigEndian(header, static_cast<std::uint32_t>(picture.Height()));
    header += kRgb8;
    std::string png = kSignature;
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", "");
    WriteFile(path, png);
}

Picture ReadPng(const std::string& path)
{
    const std::string png = ReadFile(path);
    const auto refuse = [&path](const std::string& why) { return std::runtime_error(path + ": " + why); };
    if (png.compare(0, kSignature.size(), kSignature) != 0)
        throw refuse("not a PNG");
    std::string header, packed;
    bool ended = false;
    for (std::size_t at = kSignature.size(); !ended;) {
        const std::uint32_t length = U32BigEndian(png, at);
        if (length > png.size() || at + 12 + length > png.size())
            throw refuse("a chunk runs past the end");
        const std::string body = png.substr(at + 4, 4 + length);
        if (U32BigEndian(png, at + 8 + length) != Crc32(body))
            throw refuse("CRC of chunk " + body.substr(0, 4) + " differs");
        const std::string type = body.substr(0, 4);
        if (type == "IHDR")
            header = body.substr(4);
        else if (type == "IDAT")
            packed += body.substr(4);
        ended = type == "IEND";
        at += 12 + length;
    }
    if (header.size() != 13 || header.compare(8, 5, kRgb8) != 0)
        throw refuse("not 8-bit RGB without interlacing");
    const std::uint32_t width = U32BigEndian(header, 0), height = U32BigEndian(header, 4);
    if (width > 1 << 14 || height > 1 << 14)
        throw refuse("larger than a screen");
    const std::size_t stride = std::size_t{width} * 3 + 1;
    std::string raw(stride * height, '\0');
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK ||
        rawSize != raw.size())
        throw refuse("the image data does not inflate to " + std::to_string(height) + " rows");
    std::vector<Rgb> pixels;
    pixels.reserve(std::size_t{width} * height);
    for (std::size_t y = 0; y < height; ++y) {
        if (raw[y * stride] != '\0')
            throw refuse("row " + std::to_string(y) + " is filtered");
        for (std::size_t x = 0; x < width; ++x) {
            const auto channel = [&](std::size_t c) { return static_cast<unsigned char>(raw[y * stride + 1 + 3 * x + c]); };
            pixels.push_back(Rgb{channel(0)} << 16 | Rgb{channel(1)} << 8 | channel(2));
        }
    }
    return Picture(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
}

std::size_t CountColours(const Picture& picture, const Box& box)
{
    std::set<Rgb> colours;
    Count(picture, box, [&](Rgb c) { return colours.insert(c).second; });
    return colours.size();
}

int CountIn(const Picture& picture, const Box& box, const std::set<Rgb>& colours)
{
    return Count(picture, box, [&colours](Rgb c) { return colours.count(c) > 0; });
}

int CountOtherThan(const Picture& picture, const Box& box, Rgb colour)
{
    return Count(picture, box, [colour](Rgb c) { return c != colour; });
}

int CountColoured(const Picture& picture, const Box& box)
{
    return Count(picture, box, [](Rgb c) { return (c >> 16 & 0xFF) != (c >> 8 & 0xFF) || (c >> 8 & 0xFF) != (c & 0xFF); });
}

Rgb CommonestColour(const Picture& picture, const Box& box)
{
    std::map<Rgb, int> counts;
    Count(picture, box, [&](Rgb c) { return ++counts[c] > 0; });
    if (counts.empty())
        throw std::out_of_range("an empty box has no colour");
    auto commonest = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it->second > commonest->second)
            commonest = it;
    return commonest->first;
}

Mark FindMark(const Picture& picture, const Box& box, Rgb colour)
{
    // The smallest box that holds the pixels of colour.
    Box bounds{box.right, box.bottom, box.left, box.top};
    const int count = CountIn(picture, box, {colour});
    if (count == 0)
        return Mark::none;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (picture.At(x, y) == colour)
                bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x + 1),
                          std::max(bounds.bottom, y + 1)};
    const auto at = [&](int x, int y) { return picture.At(bounds.left + x, bounds.top + y) == colour; };
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (width == 7 && height == 7 && count == 21) {
        const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
        bool tick = true;
        for (int x = 0; x < 7; ++x)
            tick = tick && at(x, tops[x]) && at(x, tops[x] + 1) && at(x, tops[x] + 2);
        if (tick)
            return Mark::tick;
    }
    if (width == 6 && height == 6 && count >= 16 && !at(0, 0) && !at(5, 0) && !at(0, 5) && !at(5, 5) &&
        at(2, 2) && at(3, 2) && at(2, 3) && at(3, 3))
        return Mark::dot;
    return Mark::other;
}

std::ostream& operator<<(std::ostream& out, Mark mark)
{
    const char* names[] = {"no mark", "a tick", "a dot", "another mark"};
    return out << names[static_cast<int>(mark)];
}

} // namespace test
