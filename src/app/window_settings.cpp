#include "app/window_settings.h"

namespace {

constexpr char kByChapters[] = "SplitByChapters";
constexpr char kMaxJarSize[] = "MaxJarSize";
constexpr char kCompression[] = "Compression";
constexpr char kConversion[] = "Conversion";

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

// One of the menu's sizes, in bytes as decimal digits; anything else is not understood.
std::uint64_t ReadVolumeSize(const SettingValues& values, const char* name, std::uint64_t fallback)
{
    const auto it = values.find(name);
    if (it == values.end())
        return fallback;
    for (std::uint64_t size : kVolumeSizeChoices)
        if (it->second == std::to_string(size))
            return size;
    return fallback;
}

} // namespace

WindowSettings ParseWindowSettings(const SettingValues& values)
{
    WindowSettings settings;
    settings.byChapters = ReadFlag(values, kByChapters, settings.byChapters);
    settings.maxJarBytes = ReadVolumeSize(values, kMaxJarSize, settings.maxJarBytes);
    const auto compression = values.find(kCompression);
    if (compression != values.end())
        ParseCompressionName(compression->second, settings.compression);  // else the default
    const auto conversion = values.find(kConversion);
    if (conversion != values.end())
        ParseConversionName(conversion->second, settings.conversion);
    return settings;
}

SettingValues FormatWindowSettings(const WindowSettings& settings)
{
    return {{kByChapters, settings.byChapters ? "1" : "0"},
            {kMaxJarSize, std::to_string(settings.maxJarBytes)},
            {kCompression, CompressionName(settings.compression)},
            {kConversion, ConversionName(settings.conversion)}};
}
