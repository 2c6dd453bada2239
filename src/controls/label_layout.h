// Where a label goes when it is sized to its text: the geometry of the hyperlink label's
// fit, without a window.
#pragma once

#include "controls/rect.h"

namespace controls {

enum class TextAlign { Left, Center, Right };

// window: the label's window rectangle; client: its client rectangle (only the size
// counts, so the border is window minus client). The result is just big enough for a text
// of textWidth x textHeight inside the same border. Horizontally a left-aligned label keeps
// its left edge, a right-aligned one its right edge, a centred one shrinks or grows
// equally on both sides; vertically the top stays, or with centredVertically both edges
// move by the same half (integer division).
Rect FitLabelToText(const Rect& window, const Rect& client, int textWidth, int textHeight,
                    TextAlign align, bool centredVertically);

} // namespace controls
