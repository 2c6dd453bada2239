#include "app/window_settings.h"

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
