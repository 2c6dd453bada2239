#include "app/window_settings.h"

#include "platform/path.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowSettings, DefaultsForWhatIsMissingOrNotUnderstood)
{
    const struct {
        SettingValues values;
        bool byChapters;
        std::uint64_t maxJarBytes = 0;
    } cases[] = {
        {{}, false},
        {{{"SplitByChapters", "1"}}, true},
        {{{"SplitByChapters", "0"}}, false},
        {{{"SplitByChapters", "yes"}}, false},
        {{{"Other", "1"}}, false},
        {{{"MaxJarSize", "307200"}}, false, 307200},
        {{{"MaxJarSize", "2097152"}, {"SplitByChapters", "1"}}, true, 2097152},
        // Only the menu's sizes: another one would be a size no menu item shows.
        {{{"MaxJarSize", "307201"}}, false, 0},
        {{{"MaxJarSize", "300K"}}, false, 0},
        {{{"MaxJarSize", ""}}, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseWindowSettings(c.values).byChapters, c.byChapters);
        EXPECT_EQ(ParseWindowSettings(c.values).maxJarBytes, c.maxJarBytes);
    }
    const std::pair<std::string, BookCompression> compressions[] = {
        {"fast", BookCompression::fast}, {"normal", BookCompression::normal}, {"small", BookCompression::small},
        {"Small", BookCompression::normal}, {"2", BookCompression::normal}, {"", BookCompression::normal},
    };
    EXPECT_EQ(ParseWindowSettings({}).compression, BookCompression::normal);
    for (const auto& [text, compression] : compressions)
        EXPECT_EQ(ParseWindowSettings({{"Compression", text}}).compression, compression) << text;
}

// 繁简转换: its three names, none for anything else; written as it is read.
TEST(WindowSettings, Conversion)
{
    const std::pair<std::string, TextConversion> cases[] = {
        {"none", TextConversion::none}, {"t2s", TextConversion::t2s}, {"s2t", TextConversion::s2t},
        {"S2T", TextConversion::none},  {"1", TextConversion::none},  {"", TextConversion::none},
    };
    EXPECT_EQ(ParseWindowSettings({}).conversion, TextConversion::none);
    for (const auto& [text, conversion] : cases)
        EXPECT_EQ(ParseWindowSettings({{"Conversion", text}}).conversion, conversion) << text;
    for (TextConversion conversion : {TextConversion::none, TextConversion::t2s, TextConversion::s2t}) {
        WindowSettings settings;
        settings.conversion = conversion;
        EXPECT_EQ(ParseWindowSettings(FormatWindowSettings(settings)).conversion, conversion);
    }
}

TEST(WindowSettings, ChapterPattern)
{
    EXPECT_EQ(ParseWindowSettings({}).chapterPattern, "");
    const std::pair<std::string, std::string> cases[] = {
        {"^第.{1,9}章", "^第.{1,9}章"},
        {"^Episode \\d+$", "^Episode \\d+$"},
        {"第(章", ""},  // no longer compiles: 自动
        {"", ""},
    };
    for (const auto& [text, pattern] : cases)
        EXPECT_EQ(ParseWindowSettings({{"ChapterPattern", text}}).chapterPattern, pattern) << text;
    WindowSettings settings;
    settings.chapterPattern = "^卷.+‧";
    EXPECT_EQ(ParseWindowSettings(FormatWindowSettings(settings)).chapterPattern, "^卷.+‧");
}

// 整理文本: off unless written as on; written as it is read.
TEST(WindowSettings, CleanText)
{
    const std::pair<std::string, bool> cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"", false}};
    EXPECT_FALSE(ParseWindowSettings({}).clean);
    for (const auto& [text, clean] : cases)
        EXPECT_EQ(ParseWindowSettings({{"CleanText", text}}).clean, clean) << text;
    for (bool clean : {false, true}) {
        WindowSettings settings;
        settings.clean = clean;
        EXPECT_EQ(ParseWindowSettings(FormatWindowSettings(settings)).clean, clean);
    }
}

TEST(WindowSettings, WrittenAsTheyAreRead)
{
    for (bool byChapters : {false, true}) {
        for (std::uint64_t size : kVolumeSizeChoices) {
            for (BookCompression compression : {BookCompression::fast, BookCompression::normal, BookCompression::small}) {
                const SettingValues values = FormatWindowSettings(WindowSettings {byChapters, size, compression});
                EXPECT_EQ(values.at("SplitByChapters"), byChapters ? "1" : "0");
                EXPECT_EQ(values.at("MaxJarSize"), std::to_string(size));
                const WindowSettings read = ParseWindowSettings(values);
                EXPECT_EQ(read.byChapters, byChapters);
                EXPECT_EQ(read.maxJarBytes, size);
                EXPECT_EQ(read.compression, compression);
            }
        }
    }
}

} // namespace

namespace {

// The line says every setting of 工具 that shapes the book, as its menu item reads.
TEST(WindowSettings, DescribedInOneLineAsTheMenuReadsThem)
{
    WindowSettings settings;
    EXPECT_EQ(DescribeSettings(settings), "设置：不按章节拆分 · 不分卷 · 压缩 标准");
    const std::pair<std::uint64_t, const char*> sizes[] = {
        {100 << 10, "分卷 100 KB"}, {300 << 10, "分卷 300 KB"}, {500 << 10, "分卷 500 KB"},
        {1 << 20, "分卷 1 MB"}, {2 << 20, "分卷 2 MB"},
    };
    static_assert(std::size(sizes) + 1 == std::size(kVolumeSizeChoices));
    settings.byChapters = true;
    settings.compression = BookCompression::small;
    for (const auto& [bytes, text] : sizes) {
        settings.maxJarBytes = bytes;
        EXPECT_EQ(DescribeSettings(settings), std::string("设置：按章节拆分 · ") + text + " · 压缩 最小");
    }
    settings.compression = BookCompression::fast;
    EXPECT_NE(DescribeSettings(settings).find("压缩 快速"), std::string::npos);
    settings.conversion = TextConversion::t2s;
    EXPECT_EQ(DescribeSettings(settings), "设置：按章节拆分 · 分卷 2 MB · 压缩 快速 · 繁体转简体");
    settings.conversion = TextConversion::s2t;
    EXPECT_NE(DescribeSettings(settings).find(" · 简体转繁体"), std::string::npos);
    settings.clean = true;
    EXPECT_EQ(DescribeSettings(settings), "设置：按章节拆分 · 分卷 2 MB · 压缩 快速 · 简体转繁体 · 整理文本");
    settings.conversion = TextConversion::none;
    EXPECT_EQ(DescribeSettings(settings), "设置：按章节拆分 · 分卷 2 MB · 压缩 快速 · 整理文本");
    settings.clean = false;
    // The user's chapter pattern, when chapters are cut, right after 按章节拆分; a long one
    // shortened.
    settings.chapterPattern = "^第.{1,9}章";
    EXPECT_EQ(DescribeSettings(settings), "设置：按章节拆分 · 章节规则 ^第.{1,9}章 · 分卷 2 MB · 压缩 快速");
    settings.chapterPattern = "^(第[一二三四五六七八九十百]+章|番外)";
    EXPECT_EQ(DescribeSettings(settings), "设置：按章节拆分 · 章节规则 ^(第[一二三四五六七八九十百]… · 分卷 2 MB · 压缩 快速");
    settings.byChapters = false;
    EXPECT_EQ(DescribeSettings(settings), "设置：不按章节拆分 · 分卷 2 MB · 压缩 快速");
}

} // namespace

namespace {

// The output folder, the last folder and the window's place are kept as they were written;
// a place that is not five numbers with a positive size is nothing remembered. The session's
// choices (文本编码, 总在最上面) are never written.
TEST(WindowSettings, FoldersAndPlace)
{
    WindowSettings settings;
    settings.outputFolder = "D:\\电子书\\输出";
    settings.lastFolder = "E:\\下载";
    settings.place = WindowPlace {-8, 20, 900, 700, true};
    settings.encodingChoice = 2;
    settings.alwaysOnTop = true;
    const SettingValues values = FormatWindowSettings(settings);
    EXPECT_EQ(values.at("WindowPlace"), "-8,20,900,700,1");
    EXPECT_EQ(values.count("Encoding"), 0u);
    EXPECT_EQ(values.size(), 9u);  // six choices of 工具, the two folders and the place
    const WindowSettings read = ParseWindowSettings(values);
    EXPECT_EQ(read.outputFolder, settings.outputFolder);
    EXPECT_EQ(read.lastFolder, settings.lastFolder);
    EXPECT_EQ(read.place, settings.place);
    EXPECT_EQ(read.encodingChoice, 0u);
    EXPECT_FALSE(read.alwaysOnTop);
    EXPECT_EQ(ParseWindowSettings({}).place, WindowPlace {});
    EXPECT_EQ(FormatWindowSettings(WindowSettings {}).at("WindowPlace"), "");

    const std::pair<const char*, WindowPlace> places[] = {
        {"10,20,800,600,0", {10, 20, 800, 600, false}},
        {"10,20,800,600", {}},
        {"10,20,800,600,0,1", {}},
        {"10,20,0,600,0", {}},
        {"10,20,800,-1,0", {}},
        {"10,20,800,600,2", {}},
        {"10,x,800,600,0", {}},
        {"10, 20,800,600,0", {}},
        {"10,20,800,600,0,", {}},
        {"1e3,20,800,600,0", {}},
        {"99999999999999999999,20,800,600,0", {}},
        {"", {}},
    };
    for (const auto& [text, place] : places)
        EXPECT_EQ(ParseWindowSettings({{"WindowPlace", text}}).place, place) << text;
}

// Every choice that differs from its default is on the line, in the menu's order, the
// output folder last and shortened.
TEST(WindowSettings, TheLineNamesEveryChoiceMade)
{
    WindowSettings settings;
    settings.encodingChoice = 1;
    EXPECT_EQ(DescribeSettings(settings), "设置：不按章节拆分 · 不分卷 · 压缩 标准 · 编码 GBK");
    const char* const names[] = {"自动", "GBK", "Big5", "UTF-8", "UTF-16"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        EXPECT_STREQ(EncodingChoiceName(i), names[i]);
    settings.conversion = TextConversion::s2t;
    settings.alwaysOnTop = true;
    // Separators as the platform has them.
    settings.outputFolder = JoinPath(JoinPath(JoinPath("书库", "小说"), "武侠"), "金庸");
    EXPECT_EQ(DescribeSettings(settings), "设置：不按章节拆分 · 不分卷 · 压缩 标准 · 编码 GBK · 简体转繁体 · 总在最上面 · 输出到 " +
                                              JoinPath(JoinPath("书库", "…"), "金庸"));
}

// The volume-too-small advice names the smallest choice that holds the limit needed, and
// points to 按章节拆分 only when it is off.
TEST(WindowSettings, TheSmallestVolumeChoiceThatWorks)
{
    const std::pair<std::uint64_t, std::uint64_t> choices[] = {
        {1, 100 << 10}, {100 << 10, 100 << 10}, {(100 << 10) + 1, 300 << 10},
        {(1 << 20) + 1, 2 << 20}, {2 << 20, 2 << 20}, {(2 << 20) + 1, 0},
    };
    for (const auto& [needed, choice] : choices)
        EXPECT_EQ(SmallestVolumeChoice(needed), choice) << needed;
    EXPECT_EQ(VolumeTooSmallAdvice(400 << 10, true), "请在 工具 > 分卷大小 里选 500 KB 或更大。");
    EXPECT_EQ(VolumeTooSmallAdvice(600 << 10, false),
              "请在 工具 > 分卷大小 里选 1 MB 或更大。也可以打开 工具 > 按章节拆分，再重新加入文件：按章节拆出的部分更小。");
    EXPECT_EQ(VolumeTooSmallAdvice(3 << 20, true), "工具 > 分卷大小 里没有这么大的选择。");
}

} // namespace
