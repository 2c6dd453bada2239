// 工具 > 按章节拆分: off until the user turns it on, remembered between runs, and while on,
// every way of adding a source cuts it at its chapters.
#include "app/main_window_test.h"

#include "res/resource.h"

namespace wintest {
namespace {

const std::string kNovel = "楔子\r\n开篇。\r\n第一回 雨夜\r\n正文一。\r\n第二回 归人\r\n正文二。";

bool SplitChecked(HWND w)
{
    HMENU tools = GetSubMenu(GetMenu(w), 1);
    SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), MAKELPARAM(1, FALSE));
    return (GetMenuState(tools, IDM_SPLIT_CHAPTERS, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST_F(MainWindowTest, SplitByChaptersIsRememberedAndCutsEverySource)
{
    const std::string file = Write("书.txt", kNovel);
    services.folderAnswers = {Folder("卷")};
    Write("卷\\第二本.txt", kNovel);
    services.fileAnswers = {file};
    Run([&](HWND w) {
        EXPECT_FALSE(SplitChecked(w)) << "off until asked for";
        MenuCommand(w, IDM_SPLIT_CHAPTERS);
        EXPECT_TRUE(SplitChecked(w));
        Click(w, IDC_ADD_FILE);
        DropFiles(w, {file});
        Click(w, IDC_ADD_FOLDER);
        OnNextModal([](HWND dialog) {
            SetItemText(dialog, IDC_CONTENT_TITLE, "打的");
            SetItemText(dialog, IDC_CONTENT_TEXT, "第一章\r\n甲\r\n第二章\r\n乙");
            Click(dialog, IDC_CONTENT_SAVE);
            Click(dialog, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        Click(w, IDC_CLOSE);
    });
    const std::vector<std::string> chapters {"楔子", "第一回 雨夜", "第二回 归人"};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), chapters.begin(), chapters.end());
    expected.insert(expected.end(), {"第一章", "第二章"});
    EXPECT_EQ(Titles(), expected);
    EXPECT_EQ(Texts()[1], "第一回 雨夜\r\n正文一。\r\n") << "the heading stays at the top";
    EXPECT_EQ(services.settings.at("SplitByChapters"), "1");

    // The next run starts with it on; turned off, a source is one entry again.
    services.fileAnswers = {file};
    Run([&](HWND w) {
        EXPECT_TRUE(SplitChecked(w));
        MenuCommand(w, IDM_SPLIT_CHAPTERS);
        EXPECT_FALSE(SplitChecked(w));
        Click(w, IDC_ADD_FILE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles(), std::vector<std::string> {"书"});
    EXPECT_EQ(services.settings.at("SplitByChapters"), "0");
}

} // namespace
} // namespace wintest
