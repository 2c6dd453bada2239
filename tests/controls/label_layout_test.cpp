// A label sized to its text, for each alignment.
#include "controls/label_layout.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(FitLabelToText, KeepsTheBorderAndTheEdgeTheAlignmentNames)
{
    // A 100 x 20 window with a 2-pixel border around its 96 x 16 client area.
    const Rect window{10, 20, 110, 40};
    const Rect client{0, 0, 96, 16};
    const struct {
        int textWidth, textHeight;
        TextAlign align;
        bool centredVertically;
        Rect expected;
    } cases[] = {
        // Needs 54 x 17.
        {50, 13, TextAlign::Left, false, {10, 20, 64, 37}},
        {50, 13, TextAlign::Right, false, {56, 20, 110, 37}},
        {50, 13, TextAlign::Center, false, {33, 20, 87, 37}},  // 23 off each side
        // Vertical centring moves both edges by half of 3, truncated: one pixel each.
        {50, 13, TextAlign::Left, true, {10, 21, 64, 39}},
        {50, 12, TextAlign::Center, true, {33, 22, 87, 38}},
        // A text longer than the window grows it.
        {200, 13, TextAlign::Left, false, {10, 20, 214, 37}},
        {200, 13, TextAlign::Right, false, {-94, 20, 110, 37}},
        {101, 30, TextAlign::Center, true, {8, 13, 112, 47}},  // halves of -5 and -14
    };
    for (const auto& c : cases) {
        const Rect r = FitLabelToText(window, client, c.textWidth, c.textHeight, c.align, c.centredVertically);
        EXPECT_EQ(r, c.expected) << c.textWidth << "x" << c.textHeight << " align " << static_cast<int>(c.align)
                                 << " centred " << c.centredVertically << ": got " << r.left << "," << r.top
                                 << "," << r.right << "," << r.bottom;
    }
}

} // namespace
} // namespace controls
