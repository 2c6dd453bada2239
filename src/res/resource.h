// Resource and control ids. The numbers are fixed: the program's behaviour depends on them
// (2 is the dialog manager's cancel command, which the Esc key sends; 1 its OK command).
#pragma once

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_BOOKMAKER_DIALOG 102
#define IDD_ADD_CONTENT 137
#define IDD_PROGRESS 160

// Strings
#define IDS_ABOUTBOX 101
#define IDS_SOCKETS_INIT_FAILED 103

// Icons
#define IDI_MAINFRAME 128
#define IDI_UP 138
#define IDI_DOWN 139
#define IDI_CLOSE 141
#define IDI_ADD_FOLDER 142
#define IDI_ADD_FILE 143
#define IDI_ADD_CONTENT 144
#define IDI_DELETE 147
#define IDI_GENERATE 148

// Menu bitmaps (16x15, 16 colours)
#define IDB_ABOUT 150
#define IDB_HELP 151
#define IDB_VISIT_SITE 152
#define IDB_OPEN_FOLDER 153
#define IDB_OPEN_FILE 154

// Menu of the main window and its commands
#define IDR_MAINMENU 134
#define IDM_OPEN_FOLDER 32771
#define IDM_OPEN_FILE 32772
#define IDM_EXIT 32773
#define IDM_ALWAYS_ON_TOP 32774
#define IDM_ABOUT 32775
#define IDM_VISIT_SITE 32776
#define IDM_HELP 32777
#define IDM_SPLIT_CHAPTERS 32778
// 工具 > 分卷大小: one command per choice of kVolumeSizeChoices, in its order
#define IDM_VOLUME_NONE 32779
#define IDM_VOLUME_100K 32780
#define IDM_VOLUME_300K 32781
#define IDM_VOLUME_500K 32782
#define IDM_VOLUME_1M 32783
#define IDM_VOLUME_2M 32784
// 工具 > 压缩: one command per BookCompression, in its order (快速, 标准, 最小)
#define IDM_COMPRESSION_FAST 32785
#define IDM_COMPRESSION_NORMAL 32786
#define IDM_COMPRESSION_SMALL 32787
// 工具 > 文本编码: one command per kEncodingChoices, in its order (自动, GBK, Big5, UTF-8, UTF-16)
#define IDM_ENCODING_AUTO 32788
#define IDM_ENCODING_GBK 32789
#define IDM_ENCODING_BIG5 32790
#define IDM_ENCODING_UTF8 32791
#define IDM_ENCODING_UTF16 32792
// 工具 > 繁简转换: one command per TextConversion, in its order (不转换, 繁体转简体, 简体转繁体)
#define IDM_CONVERT_NONE 32793
#define IDM_CONVERT_T2S 32794
#define IDM_CONVERT_S2T 32795
#define IDM_CLEAR_LIST 32796
#define IDM_EDIT_ENTRY 32797  // the list's menu: 编辑, as a double-click on the entry
#define IDM_CLEAN_TEXT 32820  // 工具 > 整理文本
#define IDM_UNDO_DELETE 32830  // the list's menu: 撤销删除 (Ctrl+Z)
// 工具 > 输出文件夹: 默认 (the folder the program started in), or one chosen
#define IDM_OUTPUT_DEFAULT 32831
#define IDM_OUTPUT_CHOOSE 32832

// The list's context menu: 编辑, then the commands of the buttons beside the list
// (IDC_UP, IDC_DOWN, IDC_DELETE) and 清空列表
#define IDR_LIST_MENU 135

// The about item appended to the main window's system menu
#define IDM_ABOUTBOX 0x0010

// Main window
#define IDC_CLOSE 1          // the OK command
#define IDC_ADD_FOLDER 2     // the cancel command: the Esc key adds a folder
#define IDC_ADD_FILE 3
#define IDC_GENERATE 4
#define IDC_ABOUT 5
#define IDC_SOURCES 1005
#define IDC_UP 1006
#define IDC_DOWN 1007
#define IDC_AUTHOR 1009
#define IDC_DELETE 1011
#define IDC_MAKER 1014
#define IDC_ADD_CONTENT 1015
#define IDC_BOOK_NAME 1016
#define IDC_MAIL_LINK 1017
#define IDC_WEB_LINK 1018
#define IDC_INFO_TEXT 1019      // the information text, or the result of the last command
#define IDC_SETTINGS_LINE 1020  // the frame of the book fields, captioned with the settings
#define IDC_LIST_FRAME 1250     // the frame of the list, captioned with its count
// The frames and labels, named so that the window can place them when it is resized
#define IDC_COMMANDS_FRAME 1251
#define IDC_GENERATE_FRAME 1252
#define IDC_CLOSE_FRAME 1253
#define IDC_INFO_FRAME 1254
#define IDC_BOOK_NAME_LABEL 1255
#define IDC_AUTHOR_LABEL 1256
#define IDC_MAKER_LABEL 1257

// About box
#define IDC_ABOUT_MAIL 1002
#define IDC_ABOUT_WEB 1003
#define IDC_ABOUT_VERSION 1004

// Add-content dialog
#define IDC_CONTENT_CLOSE 1
#define IDC_CONTENT_SAVE 1006
#define IDC_CONTENT_TEXT 1010
#define IDC_CONTENT_TITLE 1013
#define IDC_CONTENT_FRAME 1258

// Progress window (its 取消 is the cancel command, 2)
#define IDC_PROGRESS_TEXT 1101
#define IDC_PROGRESS_BAR 1102

// 工具 > 章节规则: 自动 or the user's own pattern, with a preview for one of the files read
#define IDM_CHAPTER_RULE 32810
#define IDD_CHAPTER_RULE 170
#define IDC_RULE_AUTO 1200
#define IDC_RULE_OWN 1201
#define IDC_RULE_PATTERN 1202
#define IDC_RULE_FILE 1203
#define IDC_RULE_CHOOSE 1204
#define IDC_RULE_PREVIEW 1205
#define IDC_RULE_RESULT 1206
