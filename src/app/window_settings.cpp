#include "app/window_settings.h"

#include "sources/chapter_pattern.h"

#include <iterator>

namespace {

constexpr char kByChapters[] = "SplitByChapters";
constexpr char kMaxJarSize[] = "MaxJarSize";
constexpr char kCompression[] = "Compression";
constexpr char kConversion[] = "Conversion";
constexpr char kChapterPattern[] = "ChapterPattern";
constexpr char kClean[] = "CleanText";

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
    if (const auto pattern = values.find(kChapterPattern); pattern != values.end()) {
        std::string error;
        if (ChapterPattern::Compile(pattern->second, error))
            settings.chapterPattern = pattern->second;
    }
    settings.clean = ReadFlag(values, kClean, settings.clean);
    return settings;
}

SettingValues FormatWindowSettings(const WindowSettings& settings)
{
    return {{kByChapters, settings.byChapters ? "1" : "0"},
            {kMaxJarSize, std::to_string(settings.maxJarBytes)},
            {kCompression, CompressionName(settings.compression)},
            {kConversion, ConversionName(settings.conversion)},
            {kChapterPattern, settings.chapterPattern},
            {kClean, settings.clean ? "1" : "0"}};
}

namespace {

// A size of 工具 > 分卷大小 as its menu item reads.
std::string VolumeSizeText(std::uint64_t bytes)
{
    constexpr std::uint64_t kMiB = 1 << 20;
    return bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MB" : std::to_string(bytes >> 10) + " KB";
}

const char* CompressionText(BookCompression compression)
{
    switch (compression) {
    case BookCompression::fast: return "快速";
    case BookCompression::small: return "最小";
    case BookCompression::normal: break;
    }
    return "标准";
}

using SettingPhrase = std::string (*)(const WindowSettings&);

// One entry per setting of 工具 that shapes the book, in the menu's order.
constexpr SettingPhrase kSettingPhrases[] = {
    [](const WindowSettings& s) -> std::string { return s.byChapters ? "按章节拆分" : "不按章节拆分"; },
    // Said only when chapters are cut by the user's own pattern (shortened to 16 characters).
    [](const WindowSettings& s) -> std::string {
        if (!s.byChapters || s.chapterPattern.empty())
            return "";
        std::string shown;
        std::size_t characters = 0;
        for (std::size_t i = 0; i < s.chapterPattern.size(); ++i) {
            const bool starts = (static_cast<unsigned char>(s.chapterPattern[i]) & 0xC0) != 0x80;
            if (starts && ++characters > 16) {
                shown += "…";
                break;
            }
            shown += s.chapterPattern[i];
        }
        return "章节规则 " + shown;
    },
    [](const WindowSettings& s) -> std::string {
        return s.maxJarBytes ? "分卷 " + VolumeSizeText(s.maxJarBytes) : std::string("不分卷");
    },
    [](const WindowSettings& s) -> std::string { return std::string("压缩 ") + CompressionText(s.compression); },
    // Said only when the text is converted: most books are not.
    [](const WindowSettings& s) -> std::string {
        return s.conversion == TextConversion::t2s   ? "繁体转简体"
               : s.conversion == TextConversion::s2t ? "简体转繁体"
                                                     : "";
    },
    // Said only when on: the text is imported as it is by default.
    [](const WindowSettings& s) -> std::string { return s.clean ? "整理文本" : ""; },
};

} // namespace

std::string DescribeSettings(const WindowSettings& settings)
{
    std::string line = "设置：";
    bool first = true;
    for (const SettingPhrase& phrase : kSettingPhrases) {
        const std::string said = phrase(settings);
        if (said.empty())
            continue;
        line += (first ? "" : " · ") + said;
        first = false;
    }
    return line;
}
