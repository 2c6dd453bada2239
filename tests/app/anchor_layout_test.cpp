#include "app/anchor_layout.h"

#include <gtest/gtest.h>

namespace {

// Each kind of anchor against a window grown 100 x 60: the edges move by their share,
// halves rounded; a window "grown" by less than nothing leaves everything where it was.
TEST(AnchorLayout, EdgesMoveByTheirShareOfTheGrowth)
{
    const Box box {10, 20, 50, 40};
    const struct {
        const char* name;
        Anchors anchors;
        int grownX, grownY;
        Box expected;
    } cases[] = {
        {"fixed", kAnchorFixed, 100, 60, {10, 20, 50, 40}},
        {"right", kAnchorRight, 100, 60, {110, 20, 150, 40}},
        {"bottom", kAnchorBottom, 100, 60, {10, 80, 50, 100}},
        {"grow", kAnchorGrow, 100, 60, {10, 20, 150, 100}},
        {"bottom and wide", kAnchorBottomWide, 100, 60, {10, 80, 150, 100}},
        {"wide", kAnchorWide, 100, 60, {10, 20, 150, 40}},
        {"centred: the width stays", kAnchorBottomCentred, 101, 60, {61, 80, 101, 100}},
        {"smaller than the smallest", kAnchorGrow, -30, -5, {10, 20, 50, 40}},
        {"not grown", kAnchorBottomWide, 0, 0, {10, 20, 50, 40}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Anchored(box, c.anchors, c.grownX, c.grownY), c.expected) << c.name;
}

} // namespace

namespace {

// Two labels side by side: one clear of the first stays; one that runs into it starts a
// gap after it; one that then would cross the edge goes below, at the first's left.
TEST(AnchorLayout, LabelsOnARowNeverRunTogether)
{
    const Box first {10, 100, 120, 112};
    const struct {
        const char* name;
        Box second;
        int rightLimit;
        Box expected;
    } cases[] = {
        {"clear", {130, 100, 200, 112}, 300, {130, 100, 200, 112}},
        {"just clear", {126, 100, 200, 112}, 300, {126, 100, 200, 112}},
        {"overlapping: moved right", {110, 100, 200, 112}, 300, {126, 100, 216, 112}},
        {"fits exactly", {110, 100, 200, 112}, 216, {126, 100, 216, 112}},
        {"would cross the edge: below", {110, 100, 200, 112}, 215, {10, 115, 100, 127}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AfterOnRow(first, c.second, 6, c.rightLimit), c.expected) << c.name;
}

} // namespace
