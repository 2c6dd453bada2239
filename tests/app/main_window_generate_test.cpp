// The generate button: its two checks, the book written into the working folder, the
// file manager started on it, and failures reported without a file manager.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "ui/wide_text.h"

namespace wintest {
namespace {

bool Exists(const std::string& path)
{
    return GetFileAttributesW(ui::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(MainWindowTest, GenerateAsksForTheNameFirstThenForContent)
{
    WriteTemplate();
    Run([&](HWND w) {
        Click(w, IDC_GENERATE);
        EXPECT_EQ(services.MessageTexts(), std::vector<std::string>{"请填写书名!"});
        SetItemText(w, IDC_BOOK_NAME, "空书");
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.MessageTexts(), (std::vector<std::string>{"请填写书名!", "没有要生成的内容!"}));
    for (const auto& message : services.messages)
        EXPECT_EQ(message.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_FALSE(Exists(workDir + "\\空书.jar"));
    EXPECT_TRUE(services.started.empty());
}

TEST_F(MainWindowTest, GenerateWritesTheBookAndSelectsItInTheFileManager)
{
    WriteTemplate();
    services.fileAnswers = {Write("第一回.txt", "话说天下大势")};
    const std::string jar = workDir + "\\红楼 梦,上.jar";
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        SetItemText(w, IDC_BOOK_NAME, "红楼 梦,上");
        SetItemText(w, IDC_AUTHOR, "曹雪芹");
        Click(w, IDC_GENERATE);
        ASSERT_TRUE(Exists(jar));
        // Again with the list as it is: the same book is written again.
        DeleteFileW(ui::Widen(jar).c_str());
        Click(w, IDC_GENERATE);
        EXPECT_EQ(ListItems(List(w)), std::vector<std::string>{"第一回"});
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty());
    // Quoted: the comma and the blank stay part of the path explorer selects.
    const std::string command = "explorer.exe /select,\"" + jar + "\"";
    EXPECT_EQ(services.started, (std::vector<std::string>{command, command}));
    EXPECT_EQ(JarEntry(jar, "1.txt"), "话说天下大势");
    EXPECT_NE(JarEntry(jar, "META-INF/MANIFEST.MF").find("MIDlet-Name: 红楼 梦,上"), std::string::npos);
    EXPECT_NE(JarEntry(jar, "Lumenread.class").size(), 0u) << "the template's entries come first";
}

TEST_F(MainWindowTest, BookGoesWhereTheProgramStartedNotWhereTheCurrentDirectoryMovedTo)
{
    WriteTemplate();
    const std::string elsewhere = Folder("elsewhere");
    Run([&](HWND w) {
        SetCurrentDirectoryW(ui::Widen(elsewhere).c_str());
        SetItemText(w, IDC_BOOK_NAME, "书");
        DropFiles(w, {Write("a.txt", "a")});
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(Exists(workDir + "\\书.jar"));
    EXPECT_FALSE(Exists(elsewhere + "\\书.jar"));
}

TEST_F(MainWindowTest, FailedGenerationShowsTheReasonAndStartsNoFileManager)
{
    constexpr UINT kStop = MB_OK | MB_ICONSTOP;
    constexpr UINT kAsk = MB_OK | MB_ICONEXCLAMATION;  // nothing failed: something is missing
    const struct {
        const char* name;
        bool withTemplate;
        std::string message;
        UINT type = kStop;
    } cases[] = {
        {"无模板", false, "找不到电子书模板文件 RDbook.dat，无法生成电子书!"},
        {"a/b", true, "书名“a/b”不能包含下列字符：\\ / : * ? \" < > |"},
        {"问?号", true, "书名“问?号”不能包含下列字符：\\ / : * ? \" < > |"},
        // Names Windows cannot give a file, refused before anything is written.
        {"   ", true, "请填写书名!", kAsk},
        {"\u3000\u3000", true, "请填写书名!", kAsk},
        {"书.", true, "书名“书.”不能以句点或空格结尾。"},
        {"书 ", true, "书名“书 ”不能以句点或空格结尾。"},
        {"NUL", true, "书名“NUL”不能是 Windows 的设备名（CON、PRN、AUX、NUL、COM1 到 COM9、LPT1 到 LPT9，带不带扩展名都不行）。"},
        {"con.txt", true, "书名“con.txt”不能是 Windows 的设备名（CON、PRN、AUX、NUL、COM1 到 COM9、LPT1 到 LPT9，带不带扩展名都不行）。"},
        {"COM1", true, "书名“COM1”不能是 Windows 的设备名（CON、PRN、AUX、NUL、COM1 到 COM9、LPT1 到 LPT9，带不带扩展名都不行）。"},
    };
    for (const auto& c : cases) {
        DeleteFileW(ui::Widen(workDir + "\\RDbook.dat").c_str());
        if (c.withTemplate)
            WriteTemplate();
        services.messages.clear();
        Run([&](HWND w) {
            SetItemText(w, IDC_BOOK_NAME, c.name);
            DropFiles(w, {Write("a.txt", "a")});
            Click(w, IDC_GENERATE);
            EXPECT_EQ(ListItems(List(w)).size(), 1u) << "the list stays as it was";
            Click(w, IDC_CLOSE);
        });
        ASSERT_EQ(services.messages.size(), 1u) << c.name;
        EXPECT_EQ(services.messages[0].text, c.message) << c.name;
        EXPECT_EQ(services.messages[0].type, c.type) << c.name;
    }
    EXPECT_TRUE(services.started.empty());
    EXPECT_FALSE(Exists(workDir + "\\无模板.jar"));
}

// The book is open in another program (a phone manager, a viewer) that shares it with no
// one: the message says to close that program, and the older book stays.
TEST_F(MainWindowTest, BookHeldOpenByAnotherProgramAsksToCloseIt)
{
    WriteTemplate();
    const std::string jar = Write("书.jar", "an older book");
    HANDLE holder = CreateFileW(ui::Widen(jar).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "书");
        DropFiles(w, {Write("a.txt", "第一回")});
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    CloseHandle(holder);
    ASSERT_EQ(services.messages.size(), 1u);
    const std::string& text = services.messages[0].text;
    EXPECT_NE(text.find("：" + jar), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\n请关闭正在使用该文件的程序后再试。")) << text;
    EXPECT_EQ(services.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(services.started.empty());
    EXPECT_EQ(test::ReadFile(jar), "an older book");
}

// A text named like the book ("书.jar") read as a source is never written over, also after
// its entry is deleted.
TEST_F(MainWindowTest, BookIsNotWrittenOverOneOfItsSources)
{
    WriteTemplate();
    const std::string jar = Write("书.jar", "第一回 正文");
    services.fileAnswers = {jar, Write("第二回.txt", "第二回 正文")};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        Click(w, IDC_ADD_FILE);
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"书", "第二回"}));
        SetItemText(w, IDC_BOOK_NAME, "书");
        Click(w, IDC_GENERATE);
        ClickListItem(List(w), 0);
        Click(w, IDC_DELETE);
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    const std::string message = "电子书不能写在它的来源文件上：" + jar + "，请换一个书名或输出文件。";
    EXPECT_EQ(services.MessageTexts(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(test::ReadFile(jar), "第一回 正文");
    EXPECT_TRUE(services.started.empty());
}

TEST_F(MainWindowTest, TemplateThatIsNotAnArchiveLeavesAnEarlierBookAlone)
{
    WriteTemplate();
    const std::string jar = workDir + "\\旧书.jar";
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "旧书");
        DropFiles(w, {Write("a.txt", "第一版")});
        Click(w, IDC_GENERATE);
        ASSERT_TRUE(Exists(jar));
        Write("RDbook.dat", "not a zip archive at all");
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.started.size(), 1u) << "only the first generation opened a file manager";
    EXPECT_EQ(JarEntry(jar, "1.txt"), "第一版");
}

} // namespace
} // namespace wintest
