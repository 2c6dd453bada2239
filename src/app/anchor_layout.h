// Where a control goes when its window grows: each edge moves by a share of the growth
// (0 stays, 1 follows the right or bottom edge, 0.5 keeps centred). Portable: the windows
// apply it (control_anchors.h), the tests check it without one.
#pragma once

struct Anchors {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Stays where it is; follows the right edge; follows the bottom edge; grows with the
// window; grows in width and follows the bottom; grows in width only; stays centred
// horizontally and follows the bottom.
inline constexpr Anchors kAnchorFixed {0, 0, 0, 0};
inline constexpr Anchors kAnchorRight {1, 0, 1, 0};
inline constexpr Anchors kAnchorBottom {0, 1, 0, 1};
inline constexpr Anchors kAnchorGrow {0, 0, 1, 1};
inline constexpr Anchors kAnchorBottomWide {0, 1, 1, 1};
inline constexpr Anchors kAnchorWide {0, 0, 1, 0};
inline constexpr Anchors kAnchorBottomCentred {0.5, 1, 0.5, 1};

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Box&) const = default;
};

// original as laid out in the window at its smallest, moved for a window grown by grownX,
// grownY pixels (never less than 0: the window is never smaller than its smallest size).
Box Anchored(const Box& original, const Anchors& anchors, int grownX, int grownY);

// second (a label fitted to its text) put after first on the same row with at least gap
// between them; when that would cross rightLimit, on a row of its own below first (gap
// apart), at first's left. A second already clear of first stays where it is.
Box AfterOnRow(const Box& first, const Box& second, int gap, int rightLimit);
