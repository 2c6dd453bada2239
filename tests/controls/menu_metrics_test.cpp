// Item sizes and the places of image, check box and text in the two styles.
#include "controls/menu_metrics.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

constexpr MenuIconSize kIcon{16, 15};

TEST(MenuItemMeasure, SeparatorAndItemSizesInBothStyles)
{
    EXPECT_EQ(MeasureSeparator(kIcon, 19, 7).height, 11);  // max(9, 22/2)
    EXPECT_EQ(MeasureSeparator(kIcon, 30, 4).height, 15);  // max(15, 19/2)
    EXPECT_EQ(MeasureSeparator(kIcon, 19, 7).width, 0);
    const MenuItemSize flat = MeasureMenuItem(kIcon, 19, 7, 60, true);
    EXPECT_EQ(flat.width, 16 + 60 + 7 + 8);
    EXPECT_EQ(flat.height, 22);
    const MenuItemSize classic = MeasureMenuItem(kIcon, 20, 4, 60, false);
    EXPECT_EQ(classic.width, 60 + 32 + 1);
    EXPECT_EQ(classic.height, 20);
}

TEST(FlatItemLayout, ColumnImageCheckBoxAndText)
{
    const FlatItemLayout l = LayoutFlatItem({3, 40, 203, 62}, kIcon, 7, false);
    EXPECT_EQ(l.column, (Rect{3, 40, 26, 62}));
    EXPECT_EQ(l.cell, (Rect{4, 41, 25, 61}));
    EXPECT_EQ(l.image, (Point{3 + 4, 40 + 4}));     // (23-16+1)/2, (22-15+1)/2
    EXPECT_EQ(l.checkBox, (Rect{7, 43, 23, 59}));   // (23-16+1)/2 = 4, (22-16+1)/2 = 3
    EXPECT_EQ(l.text, (Rect{34, 39, 203, 61}));
    EXPECT_EQ(LayoutFlatItem({3, 40, 203, 62}, kIcon, 7, true).text.right, 187) << "room for the shortcut";
    EXPECT_EQ(l.separatorLine, (Rect{33, 51, 203, 62}));
}

TEST(ItemLayout, ImageOfAnItemLowerThanTheImageStaysAtTheTopEdge)
{
    const Rect low{0, 100, 150, 110};  // 10 pixels high, image 15
    EXPECT_EQ(LayoutFlatItem(low, kIcon, 7, false).image.y, 100);
    EXPECT_EQ(LayoutFlatItem(low, kIcon, 7, false).checkBox.top, 100);
    EXPECT_EQ(LayoutClassicItem(low, kIcon, false).image.y, 102);
    EXPECT_EQ(LayoutClassicItem(low, kIcon, false).frame.top, 100);
}

TEST(ClassicItemLayout, FrameImageCheckBoxAndText)
{
    const ClassicItemLayout l = LayoutClassicItem({0, 0, 120, 25}, kIcon, true);
    // dy = (25 - 15 - 4) / 2 = 3
    EXPECT_EQ(l.frame, (Rect{0, 3, 20, 22}));
    EXPECT_EQ(l.frameInner, (Rect{1, 4, 19, 21}));
    EXPECT_EQ(l.image, (Point{2, 5}));
    EXPECT_EQ(l.checkBox, (Rect{1, 5, 17, 20}));
    EXPECT_EQ(l.selection, (Rect{21, 0, 120, 25}));
    EXPECT_EQ(l.text, (Rect{25, -1, 104, 24}));
    EXPECT_EQ(l.separatorLine.top, 12);
}

} // namespace
} // namespace controls
