// The line the main window shows after a book was written, in place of its information
// text until the next command: what was written, how big, where, and which older volumes
// went with it.
#pragma once

#include "jar/make_book.h"

#include <cstdint>
#include <string>
#include <vector>

// A jar above this many bytes is more than many older phones install: the line then points
// to 工具 > 分卷大小.
inline constexpr std::uint64_t kLargeJarBytes = 1 << 20;

// Bytes as the window's menus count them (1 KB = 1024 bytes): "812 KB",
// "2.4 MB" from 1 MB on.
std::string FormatSize(std::uint64_t bytes);

// "已生成 书.jar（1.2 MB），位于 D:\书。" or "已生成 3 卷：书(1).jar 至 书(3).jar，共 2.4 MB，位于
// D:\书。", then "已删除旧的分卷 书(4).jar、书(4).jad。" when older volumes went, and for one
// jar above kLargeJarBytes the hint to cut it into volumes. brief, for a window where the
// whole line does not fit: the folder cut to its first and last parts ("D:\…\书"), and more
// than two older files counted instead of named ("已删除 6 个旧的分卷文件（书(4).jar 等）。").
// Files that a killed build left and this build put right are counted at the end.
std::string DescribeWrittenBook(const BookResult& book, bool brief = false);

// names for a message box that must fit the screen: at most `most` of them, each on a line
// of its own after `indent`, then "……等 N 个文件" for the rest.
std::string ListedNames(const std::vector<std::string>& names, std::size_t most, const std::string& indent = "    ");

// A folder of more than three parts as its first part and its last: "C:\…\书库".
std::string ShortenedFolder(const std::string& folder);
