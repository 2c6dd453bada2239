// Long commands on the worker: the progress window while the window takes no command,
// 取消 leaving the list and older books as they were, the list filled in one batch, the
// line that says what a build wrote, the settings line, and the question before closing.
#include "app/main_window_test.h"

#include "app/work_window.h"
#include "res/resource.h"
#include "ui/wide_text.h"

#include <functional>

namespace wintest {
namespace {

// Holds the worker before its work until the script has run in the progress window.
class HeldWork : public IWorkObserver {
public:
    // Where the worker waits until the progress window has been shown and the script run.
    enum Hold { atStart, inTheMiddle };

    explicit HeldWork(std::function<void(HWND progress)> script, Hold hold = atStart)
        : m_script(std::move(script)), m_hold(hold), m_release(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~HeldWork() override { CloseHandle(m_release); }

    void OnWorkStarting() override
    {
        if (m_hold == atStart)
            WaitForSingleObject(m_release, 30000);
    }
    // The first report between the work's start and its end: the work is under way.
    void OnWorkReported(const CWorkProgress::Snapshot& report) override
    {
        if (m_hold == inTheMiddle && report.permille > 0 && report.permille < 1000 && !m_heldInTheMiddle) {
            m_heldInTheMiddle = true;
            WaitForSingleObject(m_release, 30000);
        }
    }
    void OnProgressShown(HWND progress) override
    {
        ++shown;
        if (m_script)
            m_script(progress);
        SetEvent(m_release);
    }
    int shown = 0;

private:
    std::function<void(HWND)> m_script;
    Hold m_hold;
    bool m_heldInTheMiddle = false;
    HANDLE m_release;
};

std::string Chapters(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "第" + std::to_string(i) + "章 标题\r\n　　正文" + std::to_string(i) + "。\r\n";
    return text;
}

// While a file is added the window takes no command: clicks on the commands that change
// the list or start work, a drop and the close box are refused, not carried out later.
TEST_F(MainWindowTest, WhileAddingTheWindowRefusesCommandsAndCancelLeavesTheList)
{
    services.fileAnswers = {Write("一.txt", "第一"), Write("二.txt", "第二")};
    std::vector<std::string> seenWhileWorking;
    HeldWork held([&](HWND progress) {
        HWND w = GetWindow(progress, GW_OWNER);
        EXPECT_EQ(Text(progress), "正在添加");
        EXPECT_FALSE(IsWindowEnabled(w));
        EXPECT_TRUE(window->IsWorking());
        ClickListItem(List(w), 0);
        for (int id : {IDC_DELETE, IDC_UP, IDC_DOWN, IDC_ADD_FILE, IDC_GENERATE, IDC_CLOSE})
            Click(w, id);
        MenuCommand(w, IDM_EXIT);
        SendMessageW(w, WM_CLOSE, 0, 0);
        DropFiles(w, {Write("三.txt", "第三")});
        seenWhileWorking = ListItems(List(w));
        Click(progress, IDCANCEL);
        EXPECT_EQ(ItemText(progress, IDC_PROGRESS_TEXT), "正在取消…");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(progress, IDCANCEL)));
    });
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        window->SetWorkObserver(&held);
        Click(w, IDC_ADD_FILE);
        window->SetWorkObserver(nullptr);
        EXPECT_TRUE(IsWindowEnabled(w));
        EXPECT_FALSE(window->IsWorking());
        EXPECT_EQ(ListItems(List(w)), std::vector<std::string>{"一"}) << "cancelled: the list as it was";
        EXPECT_TRUE(IsWindow(w)) << "the close box was refused";
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(held.shown, 1);
    EXPECT_EQ(seenWhileWorking, std::vector<std::string>{"一"});
    EXPECT_EQ(services.fileFilters.size(), 2u) << "the file command clicked while working opened nothing";
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(services.QuestionTexts().size(), 1u);
}

// A novel of 3000 chapters arrives in the list in one batch, scrolled to its first chapter.
TEST_F(MainWindowTest, ChaptersOfALongNovelFillTheListAtOnce)
{
    services.settings = {{"SplitByChapters", "1"}};
    services.fileAnswers = {Write("小.txt", "小"), Write("长篇.txt", Chapters(3000))};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        Click(w, IDC_ADD_FILE);
        const std::vector<std::string> items = ListItems(List(w));
        ASSERT_EQ(items.size(), 3001u);
        EXPECT_EQ(items[1], "第1章 标题");
        EXPECT_EQ(items[3000], "第3000章 标题");
        EXPECT_EQ(SendMessageW(List(w), LB_GETTOPINDEX, 0, 0), 1) << "the first new entry on top";
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles().size(), 3001u);
    EXPECT_EQ(Texts()[3000], "第3000章 标题\r\n　　正文3000。\r\n");
}

// 取消 of a build writes nothing: the older book and its JAD stay byte for byte, the list
// stays, and the window says so; the next build writes the book and says what it wrote.
TEST_F(MainWindowTest, CancelledBuildWritesNothingAndTheNextOneSaysWhatItWrote)
{
    WriteTemplate();
    const std::string jar = Write("书.jar", "an older book");
    const std::string jad = Write("书.jad", "an older descriptor");
    HeldWork held([&](HWND progress) {
        EXPECT_EQ(Text(progress), "正在生成电子书");
        Click(progress, IDCANCEL);
    });
    std::string cancelledLine, writtenLine;
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "书");
        DropFiles(w, {Write("a.txt", "第一回")});
        window->SetWorkObserver(&held);
        Click(w, IDC_GENERATE);
        window->SetWorkObserver(nullptr);
        cancelledLine = ItemText(w, IDC_INFO_TEXT);
        EXPECT_EQ(ListItems(List(w)).size(), 1u);
        EXPECT_EQ(test::ReadFile(jar), "an older book");
        EXPECT_EQ(test::ReadFile(jad), "an older descriptor");
        Click(w, IDC_GENERATE);
        writtenLine = ItemText(w, IDC_INFO_TEXT);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(held.shown, 1);
    EXPECT_EQ(cancelledLine, "已取消生成：没有写入任何文件，原有的电子书保持原样。");
    EXPECT_TRUE(services.QuestionTexts().empty()) << "the list was made into a book: closing asks nothing";
    const std::string size = std::to_string((test::ReadFile(jar).size() + 1023) / 1024);
    EXPECT_EQ(writtenLine, "已生成 书.jar（" + size + " KB），位于 " + workDir + "。");
    EXPECT_EQ(services.started.size(), 1u);
}

// 取消 while the parts are being packed: the build stops there and writes nothing.
TEST_F(MainWindowTest, CancelInTheMiddleOfABuildWritesNothing)
{
    WriteTemplate();
    std::string step;
    HeldWork running(
        [&](HWND progress) {
            step = ItemText(progress, IDC_PROGRESS_TEXT);
            Click(progress, IDCANCEL);
        },
        HeldWork::inTheMiddle);
    std::string line;
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "大");
        DropFiles(w, {Write("a.txt", "第一"), Write("b.txt", "第二"), Write("c.txt", "第三")});
        window->SetWorkObserver(&running);
        Click(w, IDC_GENERATE);
        window->SetWorkObserver(nullptr);
        line = ItemText(w, IDC_INFO_TEXT);
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(running.shown, 1) << "the build ended before its progress window came up";
    EXPECT_EQ(step, "正在写入：大.jar");
    EXPECT_EQ(line, "已取消生成：没有写入任何文件，原有的电子书保持原样。");
    EXPECT_EQ(GetFileAttributesW(ui::Widen(workDir + "\\大.jar").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(services.started.empty());
}

// Volumes: their count, total and the older volumes the build removed, in the window; the
// line goes back to the information text when the list changes.
TEST_F(MainWindowTest, ResultLineNamesTheVolumesAndTheOlderOnesRemoved)
{
    WriteTemplate();
    services.settings = {{"MaxJarSize", "102400"}};
    // 40000 characters that hardly pack: one part of about 80 KB packed, one volume each.
    const std::string text = HardlyPackingText(40000, 1);
    std::string first, after;
    Run([&](HWND w) {
        const std::string information = ItemText(w, IDC_INFO_TEXT);
        GenerateThenFewer(w, "卷", {Write("a.txt", text), Write("b.txt", text), Write("c.txt", text)}, 2);
        first = ItemText(w, IDC_INFO_TEXT);
        ClickListItem(List(w), 0);
        Click(w, IDC_DELETE);
        after = ItemText(w, IDC_INFO_TEXT);
        EXPECT_EQ(after, information);
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(first.starts_with("已生成 ")) << first;
    EXPECT_NE(first.find("已生成 2 卷：卷(1).jar 至 卷(2).jar，共 "), std::string::npos) << first;
    EXPECT_TRUE(first.ends_with("，位于 " + workDir + "。已删除旧的分卷 卷(3).jar、卷(3).jad。")) << first;
}

// A line too long for its box (eight older files removed, a deep folder) is said briefly:
// the folder's first and last parts, the older files counted.
TEST_F(MainWindowTest, ALongResultLineIsShortenedToFitItsBox)
{
    WriteTemplate();
    services.settings = {{"MaxJarSize", "102400"}};
    const std::string text = HardlyPackingText(40000, 1);
    std::vector<std::string> files;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        files.push_back(Write(std::string(name) + ".txt", text));
    std::string line;
    Run([&](HWND w) {
        GenerateThenFewer(w, "卷", files, 2);
        line = ItemText(w, IDC_INFO_TEXT);
        Click(w, IDC_CLOSE);
    });
    const std::string folder = workDir.substr(0, workDir.find('\\')) + "\\…" + workDir.substr(workDir.rfind('\\'));
    EXPECT_TRUE(line.starts_with("已生成 2 卷：卷(1).jar 至 卷(2).jar，共 ")) << line;
    EXPECT_TRUE(line.ends_with("，位于 " + folder + "。已删除 8 个旧的分卷文件（卷(3).jar 等）。")) << line;
}

TEST_F(MainWindowTest, SettingsLineFollowsTheToolsMenu)
{
    services.settings = {{"SplitByChapters", "1"}, {"MaxJarSize", "307200"}, {"Compression", "small"}};
    std::vector<std::string> lines;
    Run([&](HWND w) {
        lines.push_back(ItemText(w, IDC_SETTINGS_LINE));
        MenuCommand(w, IDM_SPLIT_CHAPTERS);
        MenuCommand(w, IDM_VOLUME_NONE);
        MenuCommand(w, IDM_COMPRESSION_FAST);
        lines.push_back(ItemText(w, IDC_SETTINGS_LINE));
        MenuCommand(w, IDM_VOLUME_2M);
        lines.push_back(ItemText(w, IDC_SETTINGS_LINE));
        MenuCommand(w, IDM_CONVERT_T2S);
        lines.push_back(ItemText(w, IDC_SETTINGS_LINE));
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"设置：按章节拆分 · 分卷 300 KB · 压缩 最小",
                                               "设置：不按章节拆分 · 不分卷 · 压缩 快速",
                                               "设置：不按章节拆分 · 分卷 2 MB · 压缩 快速",
                                               "设置：不按章节拆分 · 分卷 2 MB · 压缩 快速 · 繁体转简体"}));
}

// Every way of leaving asks once when the list changed since the last book; 否 keeps the
// window and its list. An empty list, or one just made into a book, asks nothing.
TEST_F(MainWindowTest, LeavingWithAChangedListAsksFirst)
{
    const std::string question = "列表中的内容改动后还没有生成电子书，关闭后将丢失。确定要关闭吗？";
    const std::function<void(HWND)> leaves[] = {
        [](HWND w) { Click(w, IDC_CLOSE); },
        [](HWND w) { MenuCommand(w, IDM_EXIT); },
        [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); },
    };
    for (const auto& leave : leaves) {
        services.questions.clear();
        services.answers = {IDNO, IDYES};
        bool stayed = false;
        const INT_PTR result = Run([&](HWND w) {
            DropFiles(w, {Write("a.txt", "甲")});
            leave(w);
            stayed = IsWindowVisible(w) && ListItems(List(w)).size() == 1;
            leave(w);
        });
        EXPECT_TRUE(stayed);
        EXPECT_EQ(result, IDOK);
        ASSERT_EQ(services.questions.size(), 2u);
        EXPECT_EQ(services.questions[0].text, question);
        EXPECT_EQ(services.questions[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    }
    services.questions.clear();
    Run([&](HWND w) {
        DropFiles(w, {Write("a.txt", "甲")});
        ClickListItem(List(w), 0);
        Click(w, IDC_DELETE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.questions.empty()) << "nothing to lose";
}

} // namespace
} // namespace wintest
