// What the main window remembers between runs, all in one place: read when the window
// opens, written whenever one of them changes. Stored as named text values (on Windows
// under the user's registry key HKEY_CURRENT_USER\Software\BookMaker), so that a value
// missing or written by another version falls back to its default.
#pragma once

#include "jar/book_compression.h"
#include "sources/encoding_detect.h"
#include "sources/text_convert.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

using SettingValues = std::map<std::string, std::string>;

// The choices of 工具 > 分卷大小 in the menu's order, in bytes (1 KB = 1024 bytes): 不分卷,
// then the sizes phones commonly take at the most.
inline constexpr std::uint64_t kVolumeSizeChoices[] = {0, 100 << 10, 300 << 10, 500 << 10, 1 << 20, 2 << 20};

// The choices of 工具 > 文本编码 in the menu's order: 自动 (nothing: detected), GBK, Big5,
// UTF-8, UTF-16 (little-endian unless the file's mark says otherwise).
inline constexpr std::optional<TextEncoding> kEncodingChoices[] = {std::nullopt, EncodingAnsi, EncodingBig5,
                                                                   EncodingUtf8, EncodingUtf16Le};

// Where the main window was and how large, in screen pixels; width 0: nothing remembered
// (the window opens centred, at its smallest).
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

struct WindowSettings {
    bool byChapters = false;       // 工具 > 按章节拆分: sources are cut at their chapters
    std::uint64_t maxJarBytes = 0;  // 工具 > 分卷大小: one of kVolumeSizeChoices; 0 不分卷
    BookCompression compression = BookCompression::normal;  // 工具 > 压缩
    TextConversion conversion = TextConversion::none;       // 工具 > 繁简转换
    // 工具 > 章节规则: empty 自动 (the detection), else the user's pattern (chapter_pattern.h);
    // one that no longer compiles is read as 自动.
    std::string chapterPattern;
    bool clean = false;  // 工具 > 整理文本: site lines removed, wrapped lines joined (text_clean.h)
    // 工具 > 文本编码 is not remembered: a choice for the files at hand, 自动 at every start.
    std::string outputFolder;  // 工具 > 输出文件夹: "" 默认, the folder the program started in
    std::string lastFolder;    // where the file dialogs and the folder chooser open
    WindowPlace place;         // the main window's size and place when it last closed

    // Choices for this session only, not remembered: 自动 and off at every start.
    std::size_t encodingChoice = 0;  // 工具 > 文本编码: index of kEncodingChoices
    bool alwaysOnTop = false;        // 工具 > 总在最上面
};

WindowSettings ParseWindowSettings(const SettingValues& values);
SettingValues FormatWindowSettings(const WindowSettings& settings);

// The settings that shape the next book, as the window shows them in one short line:
// "设置：按章节拆分 · 分卷 300 KB · 压缩 标准 · 编码 GBK · 输出到 D:\…\书". The first three always,
// every other choice of 工具 only when it differs from its default; in the menu's order, the
// output folder last (shortened: the line is a caption). A new setting joins the line with
// one entry in the table of window_settings.cpp.
std::string DescribeSettings(const WindowSettings& settings);

// The names of kEncodingChoices as 工具 > 文本编码 shows them.
const char* EncodingChoiceName(std::size_t index);

// The smallest choice of 工具 > 分卷大小 that holds a limit of `needed` bytes, or 0 when
// none of them does.
std::uint64_t SmallestVolumeChoice(std::uint64_t needed);

// Said after the builder's message when a part is larger than the volume size: which choice
// would do, and that 按章节拆分 cuts the text into smaller parts when it is off.
std::string VolumeTooSmallAdvice(std::uint64_t needed, bool byChapters);
