// 工具 > 章节规则: 自动 or the user's own pattern, previewed on a file read into the list,
// remembered and said on the settings line; and 书名/作者 filled from the file's name when
// left empty.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "ui/wide_text.h"

namespace wintest {
namespace {

const std::string kNovel = "说明\r\nEpisode 1 开始\r\n正文一。\r\n第一章 甲\r\n正文。\r\nEpisode 2 结束\r\n正文二。";

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

TEST_F(MainWindowTest, ChapterRuleIsPreviewedRememberedAndCutsTheSources)
{
    const std::string file = Write("剧集.txt", kNovel);
    services.fileAnswers = {file, file};
    const std::string shot = ScreenshotPath("chapter_rule_dialog.png");
    DeleteFileW(ui::Widen(shot).c_str());
    std::string autoPreview, ownPreview, settingsLine;
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);  // not by chapters yet: the file is read into the list whole
        OnNextModal([&](HWND d) {
            EXPECT_TRUE(Checked(d, IDC_RULE_AUTO));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_RULE_PATTERN)));
            EXPECT_EQ(ItemText(d, IDC_RULE_FILE), "剧集.txt");
            autoPreview = ItemText(d, IDC_RULE_RESULT);
            Click(d, IDC_RULE_OWN);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_RULE_PATTERN)));
            // A pattern that does not compile is refused where it stands.
            SetItemText(d, IDC_RULE_PATTERN, "^Episode (\\d+");
            Click(d, IDOK);
            SetItemText(d, IDC_RULE_PATTERN, "^Episode \\d+");
            Click(d, IDC_RULE_PREVIEW);
            ownPreview = ItemText(d, IDC_RULE_RESULT);
            SaveScreenshot(d, shot);
            Click(d, IDOK);
        });
        MenuCommand(w, IDM_CHAPTER_RULE);
        settingsLine = ItemText(w, IDC_SETTINGS_LINE);
        Click(w, IDC_ADD_FILE);  // by the pattern now
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(autoPreview, "没有找到章节；这个文件会整个导入。");
    EXPECT_EQ(ownPreview, "找到 2 章：\r\nEpisode 1 开始\r\nEpisode 2 结束");
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text.substr(0, std::string("章节规则无效：^Episode (\\d+\r\n第 ").size()),
              "章节规则无效：^Episode (\\d+\r\n第 ");
    EXPECT_EQ(Titles(), (std::vector<std::string> {"剧集", "剧集", "Episode 1 开始", "Episode 2 结束"}));
    EXPECT_EQ(services.settings.at("ChapterPattern"), "^Episode \\d+");
    EXPECT_EQ(services.settings.at("SplitByChapters"), "1") << "a pattern of one's own means to cut";
    EXPECT_NE(settingsLine.find("按章节拆分 · 章节规则 ^Episode \\d+"), std::string::npos) << settingsLine;

    // The next run starts with the pattern; 自动 puts the detection back.
    Run([&](HWND w) {
        OnNextModal([&](HWND d) {
            EXPECT_TRUE(Checked(d, IDC_RULE_OWN));
            EXPECT_EQ(ItemText(d, IDC_RULE_PATTERN), "^Episode \\d+");
            EXPECT_EQ(ItemText(d, IDC_RULE_RESULT), "选择一个文件，看看规则找到的章节。");
            Click(d, IDC_RULE_AUTO);
            Click(d, IDOK);
        });
        MenuCommand(w, IDM_CHAPTER_RULE);
        settingsLine = ItemText(w, IDC_SETTINGS_LINE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.settings.at("ChapterPattern"), "");
    EXPECT_EQ(settingsLine.find("章节规则"), std::string::npos) << settingsLine;
}

TEST_F(MainWindowTest, BookNameAndAuthorComeFromTheFileWhenLeftEmpty)
{
    const std::string named = Write("《风起》作者：某人.txt", "正文。");
    const std::string labelled = Write("download.txt", "书名：云涌\r\n作者：别人\r\n正文。");
    std::string name, author;
    Run([&](HWND w) {
        DropFiles(w, {named});
        name = ItemText(w, IDC_BOOK_NAME);
        author = ItemText(w, IDC_AUTHOR);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(name, "风起");
    EXPECT_EQ(author, "某人");
    // The user's own entries win; an empty one is still filled.
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "我的书");
        DropFiles(w, {labelled});
        name = ItemText(w, IDC_BOOK_NAME);
        author = ItemText(w, IDC_AUTHOR);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(name, "我的书");
    EXPECT_EQ(author, "别人");
}

} // namespace
} // namespace wintest
