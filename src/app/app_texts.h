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

inline constexpr const char* kContentEmptyMessage = "标题和内容不能为空啊!";
