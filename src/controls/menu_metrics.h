// Sizes and places of an owner-drawn menu item: how big it asks to be, and where its
// image column, image, check box and texts go in each of the two drawing styles.
#pragma once

#include "controls/rect.h"

namespace controls {

struct MenuIconSize {
    int width = 16;
    int height = 15;
};

// The space between the image column and the text: wider when images lift off a shadow.
constexpr int MenuGap(bool flatWithEffects) { return flatWithEffects ? 7 : 4; }

struct MenuItemSize {
    int width = 0;
    int height = 0;
};
// menuBarHeight: GetSystemMetrics(SM_CYMENU). textWidth: the whole text, tab included.
MenuItemSize MeasureSeparator(MenuIconSize icon, int menuBarHeight, int gap);
MenuItemSize MeasureMenuItem(MenuIconSize icon, int menuBarHeight, int gap, int textWidth, bool flat);

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Flat style: a face-coloured column for images at the left, the image centred in it.
struct FlatItemLayout {
    Rect column;    // left .. left + icon width + gap
    Rect cell;      // the column less one pixel all round: tinted behind a hot or checked image
    Point image;    // where the image goes
    Rect checkBox;  // 16x16 box of a check mark without image
    Rect text;      // label left, shortcut right
    Rect separatorLine;
};
FlatItemLayout LayoutFlatItem(const Rect& item, MenuIconSize icon, int gap, bool hasTab);

// Classic style: the image in a 3-D frame at the left.
struct ClassicItemLayout {
    Rect selection;   // the highlight bar of a selected item with image or check mark
    Rect frameInner;  // filled behind the image
    Rect frame;       // the raised or sunken frame round the image
    Point image;
    Rect checkBox;
    Rect text;
    Rect separatorLine;
};
ClassicItemLayout LayoutClassicItem(const Rect& item, MenuIconSize icon, bool hasTab);

} // namespace controls
