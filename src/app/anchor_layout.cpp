#include "app/anchor_layout.h"

#include <algorithm>
#include <cmath>

namespace {

int Moved(int at, double share, int grown) { return at + static_cast<int>(std::lround(share * grown)); }

} // namespace

Box Anchored(const Box& original, const Anchors& anchors, int grownX, int grownY)
{
    grownX = std::max(grownX, 0);
    grownY = std::max(grownY, 0);
    return Box {Moved(original.left, anchors.left, grownX), Moved(original.top, anchors.top, grownY),
                Moved(original.right, anchors.right, grownX), Moved(original.bottom, anchors.bottom, grownY)};
}

Box AfterOnRow(const Box& first, const Box& second, int gap, int rightLimit)
{
    const int width = second.right - second.left;
    const int height = second.bottom - second.top;
    if (second.left >= first.right + gap)
        return second;
    if (first.right + gap + width <= rightLimit)
        return Box {first.right + gap, second.top, first.right + gap + width, second.bottom};
    const int top = std::max(first.bottom, second.top) + gap / 2;
    return Box {first.left, top, first.left + width, top + height};
}
