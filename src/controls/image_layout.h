// Where the icon button puts its image and its caption, as plain rectangle arithmetic.
#pragma once

#include "controls/rect.h"

namespace controls {

// Where the image goes relative to the caption.
enum class ImageAlignment : unsigned char {
    Left = 0,   // image left of the caption
    Above = 1,  // image above the caption
    Right = 2,  // image right of the caption
};

// Places an image of width x height inside item (the button's client rectangle, left and
// top 0) and narrows caption (which starts as item) to what is left for the text. The
// image rectangle keeps item's right and bottom edges; its top-left corner is where the
// image is drawn. pressed moves the image by (1, 1).
Rect LayoutImage(ImageAlignment alignment, bool hasCaption, const Rect& item, Rect& caption, bool pressed,
                 int width, int height);

// The side of a button icon on a screen of dpi dots per inch: 16 pixels at 96, in
// proportion above (20 at 120, 24 at 144), never less than 16.
int IconSizeForDpi(int dpi);

// measured (the text's extent, as DT_CALCRECT returns it from box's top-left corner) moved
// so that it is centred in box; halves are truncated.
Rect CentreIn(const Rect& measured, const Rect& box);

} // namespace controls
