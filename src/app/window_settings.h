// What the main window remembers between runs, all in one place: read when the window
// opens, written whenever one of them changes. Stored as named text values (on Windows
// under the user's registry key HKEY_CURRENT_USER\Software\BookMaker), so that a value
// missing or written by another version falls back to its default.
#pragma once

#include <map>
#include <string>

using SettingValues = std::map<std::string, std::string>;

struct WindowSettings {
    bool byChapters = false;  // 工具 > 按章节拆分: sources are cut at their chapters
};

WindowSettings ParseWindowSettings(const SettingValues& values);
SettingValues FormatWindowSettings(const WindowSettings& settings);
