// Colour arithmetic of the menu and the icon button.
#include "controls/color.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

struct ColorCase {
    Color in;
    double f;
    Color out;
};

TEST(LightenColor, MovesEachChannelTowardWhiteTruncatingAndIgnoresFractionsOutside0To1)
{
    const ColorCase cases[] = {
        {MakeColor(0, 0, 0), 0.5, MakeColor(127, 127, 127)},        // 127.5 truncated
        {MakeColor(10, 100, 200), 0.7, MakeColor(181, 208, 238)},   // 181.5, 208.5, 238.5
        {MakeColor(49, 106, 197), 0.85, MakeColor(224, 232, 246)},
        {MakeColor(49, 106, 197), 1.0, MakeColor(255, 255, 255)},
        {MakeColor(49, 106, 197), 0.0, MakeColor(49, 106, 197)},
        {MakeColor(49, 106, 197), -0.2, MakeColor(49, 106, 197)},
        {MakeColor(49, 106, 197), 1.01, MakeColor(49, 106, 197)},
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(LightenColor(c.in, c.f), c.out) << std::hex << c.in << " by " << c.f;
}

TEST(ShiftColor, MovesAllChannelsByTheSameAmountWithinRange)
{
    const struct {
        Color in;
        int delta;
        Color out;
    } cases[] = {
        {MakeColor(240, 240, 240), 30, MakeColor(255, 255, 255)},  // allowance 15 everywhere
        {MakeColor(250, 100, 100), 30, MakeColor(255, 105, 105)},  // red allows only 5
        {MakeColor(212, 208, 200), 30, MakeColor(242, 238, 230)},
        {MakeColor(255, 0, 0), 30, MakeColor(255, 0, 0)},
        {MakeColor(20, 100, 200), -30, MakeColor(0, 80, 180)},     // green and blue follow red
        {MakeColor(100, 100, 100), -255, MakeColor(0, 0, 0)},
        {MakeColor(100, 100, 100), 0, MakeColor(100, 100, 100)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShiftColor(c.in, c.delta), c.out) << std::hex << c.in << " by " << std::dec << c.delta;
}

TEST(GrayOf, GivesTheLuminanceAndKeepsBlack)
{
    EXPECT_EQ(GrayOf(MakeColor(0, 0, 0)), MakeColor(0, 0, 0));
    EXPECT_EQ(GrayOf(MakeColor(255, 255, 255)), MakeColor(255, 255, 255));
    EXPECT_EQ(GrayOf(MakeColor(255, 0, 0)), MakeColor(76, 76, 76));     // 76.245
    EXPECT_EQ(GrayOf(MakeColor(0, 255, 0)), MakeColor(149, 149, 149));  // 149.685
    EXPECT_EQ(GrayOf(MakeColor(0, 0, 255)), MakeColor(29, 29, 29));     // 29.07
    EXPECT_EQ(GrayOf(MakeColor(1, 0, 0)), MakeColor(0, 0, 0)) << "near black becomes black by rounding only";
}

} // namespace
} // namespace controls
