#include "app/window_settings.h"

namespace {

constexpr char kByChapters[] = "SplitByChapters";

bool ReadFlag(const SettingValues& values, const char* name, bool fallback)
{
    const auto it = values.find(name);
    if (it == values.end())
        return fallback;
    if (it->second == "1")
        return true;
    if (it->second == "0")
        return false;
    return fallback;
}

} // namespace

WindowSettings ParseWindowSettings(const SettingValues& values)
{
    WindowSettings settings;
    settings.byChapters = ReadFlag(values, kByChapters, settings.byChapters);
    return settings;
}

SettingValues FormatWindowSettings(const WindowSettings& settings)
{
    return {{kByChapters, settings.byChapters ? "1" : "0"}};
}
