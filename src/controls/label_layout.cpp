#include "controls/label_layout.h"

namespace controls {

Rect FitLabelToText(const Rect& window, const Rect& client, int textWidth, int textHeight,
                    TextAlign align, bool centredVertically)
{
    const int width = textWidth + (window.Width() - client.Width());
    const int height = textHeight + (window.Height() - client.Height());
    Rect r = window;

    if (centredVertically) {
        const int half = (r.Height() - height) / 2;
        r.top += half;
        r.bottom -= half;
    } else {
        r.bottom = r.top + height;
    }

    switch (align) {
    case TextAlign::Center: {
        const int half = (r.Width() - width) / 2;
        r.left += half;
        r.right -= half;
        break;
    }
    case TextAlign::Right:
        r.left = r.right - width;
        break;
    case TextAlign::Left:
        r.right = r.left + width;
        break;
    }
    return r;
}

} // namespace controls
