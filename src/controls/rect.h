// A rectangle laid out as Win32's RECT, for the controls' geometry that needs no window.
#pragma once

namespace controls {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void Offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    bool operator==(const Rect&) const = default;
};

} // namespace controls
