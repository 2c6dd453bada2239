// The pictures the tests save for people to look at, as PNG files: written, read back and
// looked into by rectangle, so that a test checks the very picture it saved. Portable; the
// window tests take the pictures (tests/ui/window_test_support.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace test {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// A rectangle of pixels: left and top inside, right and bottom just outside.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Pixels in rows from the top. At and the counts below throw std::out_of_range for a pixel
// or a box that is not wholly inside: a check never passes for looking outside.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height, std::vector<Rgb> pixels);  // width * height pixels

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Box Whole() const { return {0, 0, m_width, m_height}; }
    Rgb At(int x, int y) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels;
};

// PNG of 8-bit RGB, not interlaced, each row unfiltered: what WritePng writes is all that
// ReadPng reads; anything else, or a damaged file, throws std::runtime_error.
void WritePng(const Picture& picture, const std::string& path);
Picture ReadPng(const std::string& path);

// The number of different colours in box.
std::size_t CountColours(const Picture& picture, const Box& box);
// The pixels of box that have one of these colours, and those that have another colour
// than this one.
int CountIn(const Picture& picture, const Box& box, const std::set<Rgb>& colours);
int CountOtherThan(const Picture& picture, const Box& box, Rgb colour);
// The pixels of box that are not a grey (their red, green and blue differ).
int CountColoured(const Picture& picture, const Box& box);
// The colour that most pixels of box have (the lowest of equals).
Rgb CommonestColour(const Picture& picture, const Box& box);

// What the pixels of one colour draw in box, told by their shape: the tick of a checked
// menu item (7 columns of 3 pixels, their tops 2 3 4 3 2 1 0 rows down a 7 x 7 square),
// the dot of a chosen radio item (a round of 6 x 6: its corners clear, its middle 2 x 2
// filled, at least 16 pixels), nothing, or something else.
enum class Mark { none, tick, dot, other };
Mark FindMark(const Picture& picture, const Box& box, Rgb colour);
std::ostream& operator<<(std::ostream& out, Mark mark);

} // namespace test
