// What the program says to its user where both front ends, or several places, say it: one
// table, so the window and the command line use the same words. Texts that belong to one
// failure alone stay with its exception's Message().
#pragma once

// A source could not be read: missing, locked, a read error, or memory ran out decoding it.
inline constexpr const char* kOpenFileFailedMessage = "打开文件出错!";
// The book has no name (empty or only spaces).
inline constexpr const char* kNeedBookNameMessage = "请填写书名!";
// The book would have no part.
inline constexpr const char* kNothingToGenerateMessage = "没有要生成的内容!";
// Files refused as not text; the file or files follow.
inline constexpr const char* kNotTextMessage = "不是文本文件：";
// A text could be read but not split into the list's parts.
inline constexpr const char* kImportFailedMessage = "字符内容过长，系统不支持，请访问www.qinghe.example反馈!";
// Memory ran out while the book was made, and while any other command ran.
inline constexpr const char* kBookOutOfMemoryMessage = "内存不足，无法生成电子书。";
inline constexpr const char* kOutOfMemoryMessage = "内存不足，操作没有完成。";
