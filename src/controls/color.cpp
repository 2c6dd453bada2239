#include "controls/color.h"

#include <algorithm>

namespace controls {

Color LightenColor(Color c, double f)
{
    if (!(f > 0.0 && f <= 1.0))
        return c;
    const auto lighten = [f](int channel) { return static_cast<int>(channel + (255 - channel) * f); };
    return MakeColor(lighten(RedOf(c)), lighten(GreenOf(c)), lighten(BlueOf(c)));
}

Color ShiftColor(Color c, int delta)
{
    const int channels[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
    int step = delta;
    for (int channel : channels) {
        if (delta > 0)
            step = std::min(step, 255 - channel);
        else
            step = std::max(step, -channel);
    }
    return MakeColor(channels[0] + step, channels[1] + step, channels[2] + step);
}

Color GrayOf(Color c)
{
    if ((c & 0xFFFFFF) == 0)
        return c;
    const int level = static_cast<int>(0.299 * RedOf(c) + 0.587 * GreenOf(c) + 0.114 * BlueOf(c));
    return MakeColor(level, level, level);
}

} // namespace controls
