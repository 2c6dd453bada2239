#include "app/window_settings.h"

#include "sources/chapter_pattern.h"

#include "app/result_line.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <string>

namespace {

constexpr char kByChapters[] = "SplitByChapters";
constexpr char kMaxJarSize[] = "MaxJarSize";
constexpr char kCompression[] = "Compression";
constexpr char kConversion[] = "Conversion";
constexpr char kChapterPattern[] = "ChapterPattern";
constexpr char kClean[] = "CleanText";
constexpr char kOutputFolder[] = "OutputFolder";
constexpr char kLastFolder[] = "LastFolder";
constexpr char kWindowPlace[] = "WindowPlace";  // "left,top,width,height,maximized"

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

std::string ReadText(const SettingValues& values, const char* name)
{
    const auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
}

// Five decimal integers separated by commas, the size positive and the last 0 or 1;
// anything else is nothing remembered.
WindowPlace ReadPlace(const SettingValues& values)
{
    const std::string text = ReadText(values, kWindowPlace);
    long long numbers[5] = {};
    std::size_t at = 0;
    for (int i = 0; i < 5; ++i) {
        const std::size_t end = std::min(text.find(',', at), text.size());
        const std::string field = text.substr(at, end - at);
        // stoll would skip leading blanks and take a plus sign: only digits, perhaps a minus.
        if (field.empty() || (field[0] != '-' && (field[0] < '0' || field[0] > '9')))
            return {};
        std::size_t used = 0;
        try {
            numbers[i] = std::stoll(field, &used);
        } catch (const std::exception&) {
            return {};
        }
        if (used != field.size() || numbers[i] < -100000 || numbers[i] > 100000)
            return {};
        if ((i < 4) != (end < text.size()))
            return {};
        at = end + 1;
    }
    if (numbers[2] <= 0 || numbers[3] <= 0 || (numbers[4] != 0 && numbers[4] != 1))
        return {};
    return WindowPlace {static_cast<int>(numbers[0]), static_cast<int>(numbers[1]), static_cast<int>(numbers[2]),
                        static_cast<int>(numbers[3]), numbers[4] == 1};
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
    settings.outputFolder = ReadText(values, kOutputFolder);
    settings.lastFolder = ReadText(values, kLastFolder);
    settings.place = ReadPlace(values);
    return settings;
}

SettingValues FormatWindowSettings(const WindowSettings& settings)
{
    return {{kByChapters, settings.byChapters ? "1" : "0"},
            {kMaxJarSize, std::to_string(settings.maxJarBytes)},
            {kCompression, CompressionName(settings.compression)},
            {kConversion, ConversionName(settings.conversion)},
            {kChapterPattern, settings.chapterPattern},
            {kClean, settings.clean ? "1" : "0"},
            {kOutputFolder, settings.outputFolder},
            {kLastFolder, settings.lastFolder},
            {kWindowPlace, settings.place.width <= 0
                               ? std::string()
                               : std::to_string(settings.place.left) + "," + std::to_string(settings.place.top) + "," +
                                     std::to_string(settings.place.width) + "," +
                                     std::to_string(settings.place.height) + "," +
                                     (settings.place.maximized ? "1" : "0")}};
}

const char* EncodingChoiceName(std::size_t index)
{
    constexpr const char* kNames[] = {"自动", "GBK", "Big5", "UTF-8", "UTF-16"};
    static_assert(std::size(kNames) == std::size(kEncodingChoices));
    return index < std::size(kNames) ? kNames[index] : kNames[0];
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

// One entry per choice of 工具: those that shape the book in the menu's order, then the
// window's own, then where the book goes.
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
    [](const WindowSettings& s) -> std::string {
        return s.encodingChoice ? std::string("编码 ") + EncodingChoiceName(s.encodingChoice) : std::string();
    },
    // Said only when the text is converted: most books are not.
    [](const WindowSettings& s) -> std::string {
        return s.conversion == TextConversion::t2s   ? "繁体转简体"
               : s.conversion == TextConversion::s2t ? "简体转繁体"
                                                     : "";
    },
    // Said only when on: the text is imported as it is by default.
    [](const WindowSettings& s) -> std::string { return s.clean ? "整理文本" : ""; },
    [](const WindowSettings& s) -> std::string { return s.alwaysOnTop ? "总在最上面" : ""; },
    [](const WindowSettings& s) -> std::string {
        return s.outputFolder.empty() ? std::string() : "输出到 " + ShortenedFolder(s.outputFolder);
    },
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

std::uint64_t SmallestVolumeChoice(std::uint64_t needed)
{
    for (std::uint64_t size : kVolumeSizeChoices)
        if (size >= needed)
            return size;
    return 0;
}

std::string VolumeTooSmallAdvice(std::uint64_t needed, bool byChapters)
{
    const std::uint64_t choice = SmallestVolumeChoice(needed);
    std::string advice = choice ? "请在 工具 > 分卷大小 里选 " + VolumeSizeText(choice) + " 或更大。"
                                : "工具 > 分卷大小 里没有这么大的选择。";
    if (!byChapters)
        advice += "也可以打开 工具 > 按章节拆分，再重新加入文件：按章节拆出的部分更小。";
    return advice;
}
