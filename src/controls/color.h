// Colour arithmetic of the custom controls, on colours laid out as Win32's COLORREF
// (0x00BBGGRR), so the Win32 code passes its colours straight through.
#pragma once

#include <cstdint>

namespace controls {

using Color = std::uint32_t;

constexpr Color MakeColor(int red, int green, int blue)
{
    return static_cast<Color>(red & 0xFF) | static_cast<Color>(green & 0xFF) << 8 |
           static_cast<Color>(blue & 0xFF) << 16;
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>(c >> 8 & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>(c >> 16 & 0xFF); }

// Each channel moves the fraction f of its way to 255 (truncated); f outside (0, 1]
// leaves the colour as it is.
Color LightenColor(Color c, double f);

// All three channels move by the same amount, delta at most, so that none leaves 0..255:
// the channel nearest its limit decides how far the others go.
Color ShiftColor(Color c, int delta);

// The grey of the same luminance (0.299 R + 0.587 G + 0.114 B, truncated); pure black
// stays black.
Color GrayOf(Color c);

} // namespace controls
