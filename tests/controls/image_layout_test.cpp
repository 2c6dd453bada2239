// Where the icon button puts its image and caption.
#include "controls/image_layout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace controls {

std::ostream& operator<<(std::ostream& out, const Rect& r)
{
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

TEST(LayoutImage, PlacesImageAndNarrowsCaptionForEachAlignment)
{
    using A = ImageAlignment;
    const Rect wide{0, 0, 40, 30};
    const Rect odd{0, 0, 41, 31};
    const Rect small{0, 0, 32, 34};
    const struct {
        const char* name;
        A alignment;
        bool hasCaption;
        Rect item;
        bool pressed;
        Rect image;
        Rect caption;
    } cases[] = {
        {"left, caption", A::Left, true, wide, false, {3, 7, 40, 30}, {19, 0, 40, 30}},
        {"left, no caption", A::Left, false, wide, false, {12, 7, 40, 30}, wide},
        {"left, odd sizes truncate", A::Left, false, odd, false, {12, 7, 41, 31}, odd},
        // The delete button "删": centred across, 3 below the top; the caption runs from the
        // icon's height down.
        {"above, caption", A::Above, true, small, false, {8, 3, 32, 34}, {0, 16, 32, 34}},
        {"above, no caption", A::Above, false, small, false, {8, 9, 32, 34}, small},
        {"right, caption", A::Right, true, wide, false, {21, 7, 40, 30}, {3, 0, 21, 30}},
        {"right, no caption: across only", A::Right, false, wide, false, {12, 0, 40, 30}, wide},
        {"left, caption, pressed", A::Left, true, wide, true, {4, 8, 41, 31}, {19, 0, 40, 30}},
        {"above, caption, pressed", A::Above, true, small, true, {9, 4, 33, 35}, {0, 16, 32, 34}},
        {"right, no caption, pressed", A::Right, false, wide, true, {13, 1, 41, 31}, wide},
    };
    for (const auto& c : cases) {
        Rect caption = c.item;
        const Rect image = LayoutImage(c.alignment, c.hasCaption, c.item, caption, c.pressed, 16, 16);
        EXPECT_EQ(image, c.image) << c.name;
        EXPECT_EQ(caption, c.caption) << c.name;
    }
}

TEST(CentreIn, CentresTheMeasuredTextInItsBoxTruncatingHalves)
{
    const Rect box{0, 16, 32, 34};
    const struct {
        Rect measured;
        Rect centred;
    } cases[] = {
        {{0, 16, 12, 30}, {10, 18, 22, 32}},
        {{0, 16, 13, 29}, {9, 18, 22, 31}},    // 9.5 and 2.5 truncated
        {{0, 16, 40, 30}, {-4, 18, 36, 32}},   // a word wider than the box sticks out evenly
        {{0, 16, 32, 34}, {0, 16, 32, 34}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentreIn(c.measured, box), c.centred) << c.measured;
}

} // namespace
} // namespace controls

namespace {

// Button icons grow with the screen's DPI as the text does, and never shrink below 16.
TEST(IconSizeForDpi, InProportionTo96)
{
    const std::pair<int, int> cases[] = {{72, 16}, {96, 16}, {120, 20}, {144, 24}, {168, 28}, {192, 32}, {0, 16}};
    for (const auto& [dpi, size] : cases)
        EXPECT_EQ(controls::IconSizeForDpi(dpi), size) << dpi;
}

} // namespace
