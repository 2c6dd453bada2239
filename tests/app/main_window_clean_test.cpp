// 工具 > 整理文本: off until the user turns it on (the text is imported as it is), remembered
// between runs, shown on the settings line, and while on, files and the text of 添加内容 are
// cleaned before their chapters are found.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "support/picture.h"

namespace wintest {
namespace {

// A site's line, then a paragraph wrapped at 40 columns, then the next chapter.
const std::string kDownload =
    "更多精彩小说请访问 www.example.com\r\n"
    "第一章 雨夜\r\n"
    "　　沪生经常去新闸路，看女朋友梅瑞。两个\r\n"
    "人是法律夜校同学，吃过几趟咖啡，就开始\r\n"
    "谈。八十年代男女见面，习惯坐私人小咖，\r\n"
    "地方暗，静，但有蟑螂。一天夜里，两人坐\r\n"
    "进一家小咖啡馆。\r\n"
    "第二章 归人\r\n"
    "　　陶陶说，此地风景多好，外面亮，棚里暗\r\n"
    "，躺椅比较低，以逸待劳，我有依靠，笃定\r\n"
    "。\r\n";

bool CleanChecked(HWND w)
{
    HMENU tools = GetSubMenu(GetMenu(w), 1);
    SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), MAKELPARAM(1, FALSE));
    return (GetMenuState(tools, IDM_CLEAN_TEXT, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST_F(MainWindowTest, CleanTextIsRememberedShownAndCleansFilesAndTypedText)
{
    const std::string file = Write("下载.txt", kDownload);
    const std::string shot = ScreenshotPath("main_window_clean.png");  // the settings line with 整理文本
    services.fileAnswers = {file};
    Run([&](HWND w) {
        EXPECT_FALSE(CleanChecked(w)) << "off until asked for";
        EXPECT_EQ(ItemText(w, IDC_SETTINGS_LINE).find("整理文本"), std::string::npos);
        MenuCommand(w, IDM_SPLIT_CHAPTERS);
        MenuCommand(w, IDM_CLEAN_TEXT);
        EXPECT_TRUE(CleanChecked(w));
        EXPECT_NE(ItemText(w, IDC_SETTINGS_LINE).find(" · 整理文本"), std::string::npos);
        Click(w, IDC_ADD_FILE);
        SetCursorPos(0, 0);
        SaveScreenshot(w, shot);
        OnNextModal([](HWND dialog) {
            SetItemText(dialog, IDC_CONTENT_TITLE, "打的");
            SetItemText(dialog, IDC_CONTENT_TEXT, "本书由某某网整理\r\n   第一行。\r\n\r\n\r\n第二行。  ");
            Click(dialog, IDC_CONTENT_SAVE);
            Click(dialog, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        Click(w, IDC_CLOSE);
    });
    // The site's line is gone before the chapters are found: the first part is the first chapter.
    EXPECT_EQ(Titles(), (std::vector<std::string> {"第一章 雨夜", "第二章 归人", "打的"}));
    ASSERT_EQ(Texts().size(), 3u);
    EXPECT_EQ(Texts()[0],
              "第一章 雨夜\r\n　　沪生经常去新闸路，看女朋友梅瑞。两个人是法律夜校同学，吃过几趟咖啡，就开始谈。"
              "八十年代男女见面，习惯坐私人小咖，地方暗，静，但有蟑螂。一天夜里，两人坐进一家小咖啡馆。\r\n");
    EXPECT_EQ(Texts()[2], "　　第一行。\r\n\r\n　　第二行。\r\n");
    EXPECT_EQ(services.settings.at("CleanText"), "1");
    const test::Picture picture = test::ReadPng(shot);
    EXPECT_GT(test::CountColours(picture, picture.Whole()), 1u) << shot << " is blank";

    // The next run starts with it on; turned off, the text is kept as it is.
    services.fileAnswers = {file};
    Run([&](HWND w) {
        EXPECT_TRUE(CleanChecked(w));
        MenuCommand(w, IDM_SPLIT_CHAPTERS);
        MenuCommand(w, IDM_CLEAN_TEXT);
        EXPECT_FALSE(CleanChecked(w));
        Click(w, IDC_ADD_FILE);
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0], kDownload);
    EXPECT_EQ(services.settings.at("CleanText"), "0");
}

} // namespace
} // namespace wintest
