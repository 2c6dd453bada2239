// Fixed texts and addresses of the program's windows.
#pragma once

// The maker's web site and the developer's mail address (the links of the main window
// and of the menu; the about box's labels show the same two).
inline constexpr const char* kWebSiteLink = "http://www.qinghe.example/";
inline constexpr const char* kMailLink = "mailto:bookmaker@qinghe.example";

// Help: a file of the working directory, opened by the shell.
inline constexpr const char* kHelpFileName = "readme.txt";

inline constexpr const char* kTextFileFilter = "text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
inline constexpr const char* kFolderPrompt = "Selection";
inline constexpr const char* kOutputFolderPrompt = "选择生成的电子书放在哪个文件夹：";

inline constexpr const char* kContentEmptyMessage = "标题和内容不能为空啊!";

// Asked before the window closes with entries no book was made from since they changed.
inline constexpr const char* kDiscardListQuestion = "列表中的内容改动后还没有生成电子书，关闭后将丢失。确定要关闭吗？";
// The window's result line after 取消 of a build.
inline constexpr const char* kBuildCancelledLine = "已取消生成：没有写入任何文件，原有的电子书保持原样。";
// Asked before the add-content dialog closes with typing not saved.
inline constexpr const char* kDiscardTypingQuestion = "放弃输入的内容？";
// Asked before 工具 > 清空列表 removes every entry.
inline constexpr const char* kClearListQuestion = "清空列表中的全部内容？";
