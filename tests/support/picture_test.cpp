// The picture helper the screenshot tests check their pictures with: a PNG read back is
// the picture written, what it cannot read is refused, the counts count what they say, and a
// mark is told by its shape.
#include "support/picture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// 5 x 3: a white frame, a red, a grey and a blue pixel in the middle row.
test::Picture Sample()
{
    std::vector<test::Rgb> pixels(15, 0xFFFFFF);
    pixels[6] = 0xFF0000;
    pixels[7] = 0x808080;
    pixels[8] = 0x0000FF;
    return test::Picture(5, 3, pixels);
}

TEST(Picture, PngReadBackIsThePictureWritten)
{
    test::TempDir dir;
    const std::string path = dir.Path("图.png");
    const test::Picture written = Sample();
    test::WritePng(written, path);
    const test::Picture read = test::ReadPng(path);
    ASSERT_EQ(read.Width(), 5);
    ASSERT_EQ(read.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(read.At(x, y), written.At(x, y)) << x << "," << y;
}

TEST(Picture, WhatItCannotReadIsRefused)
{
    test::TempDir dir;
    const std::string path = dir.Path("a.png");
    test::WritePng(Sample(), path);
    const std::string png = test::ReadFile(path);
    const std::size_t ihdrData = 8 + 8;    // signature, IHDR's length and type
    const std::size_t idatData = 8 + 25 + 8;  // signature, IHDR chunk, IDAT's length and type

    const auto refused = [&](std::string bytes, const char* what) {
        test::WriteFile(path, bytes);
        EXPECT_THROW(test::ReadPng(path), std::runtime_error) << what;
    };
    refused("GIF89a" + png.substr(6), "not a PNG");
    std::string damaged = png;
    damaged[idatData + 3] ^= 1;
    refused(damaged, "a changed byte: the CRC differs");
    refused(png.substr(0, png.size() - 20), "cut short");
    std::string paletted = png;
    paletted[ihdrData + 9] = 3;  // colour type: palette (the CRC is checked first, so fix it)
    const std::string body = paletted.substr(12, 17);
    const std::uint32_t crc = test::Crc32(body);
    for (int i = 0; i < 4; ++i)
        paletted[29 + i] = static_cast<char>(crc >> (24 - 8 * i) & 0xFF);
    refused(paletted, "paletted");
}

TEST(Picture, CountsLookOnlyInsideTheBox)
{
    const test::Picture p = Sample();
    const test::Box middle{1, 1, 4, 2};
    EXPECT_EQ(test::CountColours(p, p.Whole()), 4u);
    EXPECT_EQ(test::CountColours(p, {0, 0, 5, 1}), 1u) << "the top row is plain";
    EXPECT_EQ(test::CountIn(p, middle, {0xFF0000}), 1);
    EXPECT_EQ(test::CountIn(p, p.Whole(), {0xFF0000, 0x0000FF, 0x123456}), 2);
    EXPECT_EQ(test::CountOtherThan(p, p.Whole(), 0xFFFFFF), 3);
    EXPECT_EQ(test::CountColoured(p, p.Whole()), 2) << "grey and white are not colours";
    EXPECT_EQ(test::CommonestColour(p, p.Whole()), 0xFFFFFFu);
    EXPECT_EQ(test::CommonestColour(p, middle), 0x0000FFu) << "of three equals, the lowest";
    EXPECT_THROW(test::CountColours(p, {0, 0, 6, 1}), std::out_of_range) << "a box reaching outside";
    EXPECT_THROW(p.At(5, 0), std::out_of_range);
}

// A picture drawn in characters: 'X' black, 'r' red, anything else white.
test::Picture Drawn(const std::vector<std::string>& rows)
{
    std::vector<test::Rgb> pixels;
    for (const std::string& row : rows)
        for (const char c : row)
            pixels.push_back(c == 'X' ? 0x000000 : c == 'r' ? 0xFF0000 : 0xFFFFFF);
    return test::Picture(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), pixels);
}

TEST(Picture, MarksAreToldByTheirShape)
{
    const struct {
        const char* name;
        std::vector<std::string> rows;
        test::Mark mark;
    } cases[] = {
        {"the tick", {"..........", "........X.", ".......XX.", "..X...XXX.", "..XX.XXX..", "..XXXXX...",
                      "...XXX....", "....X.....", ".........."}, test::Mark::tick},
        {"the dot", {"........", "..XXXX..", ".XXXXXX.", ".XXXXXX.", ".XXXXXX.", ".XXXXXX.", "..XXXX..",
                     "........"}, test::Mark::dot},
        {"the smallest dot", {"..XX..", ".XXXX.", "XXXXXX", "XXXXXX", ".XXXX.", "..XX.."}, test::Mark::dot},
        {"nothing", {"....", "....", "...."}, test::Mark::none},
        {"a tick in another colour", {"......r", ".....rr", "r...rrr", "rr.rrr.", "rrrrr..", ".rrr...",
                                      "..r...."}, test::Mark::none},
        {"a tick less a pixel", {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...",
                                 "......."}, test::Mark::other},
        {"a tick and a stray pixel", {"......X.X", ".....XX..", "X...XXX..", "XX.XXX...", "XXXXX....",
                                      ".XXX.....", "..X......"}, test::Mark::other},
        {"a square", {"XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX"}, test::Mark::other},
        {"a ring", {".XXXX.", "XXXXXX", "XX..XX", "XX..XX", "XXXXXX", ".XXXX."}, test::Mark::other},
        {"a dot too small", {".XXXX.", "X....X", "X....X", "X....X", "X....X", ".XXXX."}, test::Mark::other},
        {"a dot of 7", {"..XXX..", ".XXXXX.", "XXXXXXX", "XXXXXXX", "XXXXXXX", ".XXXXX.", "..XXX.."},
         test::Mark::other},
    };
    for (const auto& c : cases) {
        const test::Picture p = Drawn(c.rows);
        EXPECT_EQ(test::FindMark(p, p.Whole(), 0x000000), c.mark) << c.name;
    }
    // Only the box is looked at: the dot beside it is not in it.
    const test::Picture dotBeside = Drawn({"..XX....", ".XXXX...", "XXXXXX..", "XXXXXX..", ".XXXX...", "..XX...."});
    EXPECT_EQ(test::FindMark(dotBeside, {6, 0, 8, 6}, 0x000000), test::Mark::none);
    EXPECT_EQ(test::FindMark(dotBeside, {1, 0, 8, 6}, 0x000000), test::Mark::other) << "a dot cut by the box";
    EXPECT_THROW(test::FindMark(dotBeside, {0, 0, 9, 6}, 0x000000), std::out_of_range);
}

} // namespace
