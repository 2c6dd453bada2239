// Filling the main window's list: the file dialog, the folder, dropped files, typed
// content, the buttons beside the list and editing an entry by a double-click.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "sources/text_import.h"
#include "ui/wide_text.h"

#include <commdlg.h>

#include <algorithm>

namespace wintest {
namespace {

const std::string kOpenFailed = "打开文件出错!";

// The display name the shell gives a file (with or without its extension).
std::string ShellTitle(const std::string& path)
{
    wchar_t title[1024] = {};
    EXPECT_EQ(GetFileTitleW(ui::Widen(path).c_str(), title, 1024), 0);
    return ui::Narrow(title);
}

TEST_F(MainWindowTest, FileDialogTitleIsTheNameWithoutItsLastExtension)
{
    const std::string dotted = Write("x.y.txt", "点");
    const std::string bare = Write("notes", "无扩展名");
    const std::string gbk = Write("gbk.txt", "\xB5\xDA\xD2\xBB\xBB\xD8");  // 第一回 in GBK
    services.fileAnswers = {dotted, std::nullopt, bare, workDir + "\\missing.txt", dotted,
                            gbk, Write(".txt", "no title")};
    Run([&](HWND w) {
        for (std::size_t i = 0; i < 7; ++i)
            Click(w, IDC_ADD_FILE);
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"x.y", "notes", "x.y", "gbk"}));
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"点", "无扩展名", "点", "第一回"}));
    EXPECT_EQ(services.fileFilters,
              std::vector<std::string>(7, "text Files (*.txt)|*.txt|All Files (*.*)|*.*||"));
    EXPECT_TRUE(services.messages.empty()) << "a cancel, a missing file and an empty title say nothing";
}

TEST_F(MainWindowTest, FileThatCannotBeReadIsReportedOneThatCannotBeOpenedIsSkipped)
{
    // Held open without sharing, as another program may: it cannot be opened at all.
    const std::string locked = Write("locked.txt", "busy");
    HANDLE holder = CreateFileW(ui::Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    services.fileAnswers = {locked, UnreadableFile(), Write("ok.txt", "好")};
    Run([&](HWND w) {
        for (int i = 0; i < 3; ++i)
            Click(w, IDC_ADD_FILE);
        Click(w, IDC_CLOSE);
    });
    CloseHandle(holder);
    EXPECT_EQ(services.MessageTexts(), std::vector<std::string>{kOpenFailed});
    EXPECT_EQ(Titles(), std::vector<std::string>{"ok"});
}

TEST_F(MainWindowTest, FolderAddsItsTxtFilesInNameOrderAndNothingElse)
{
    const std::string folder = Folder("书");
    for (const char* name : {"b.txt", "a.TXT", "10.txt", "2.txt", "c.text", "x.y.txt", ".txt"})
        test::WriteFile(folder + "\\" + name, std::string("内容 ") + name);
    Folder("书\\d.txt");
    test::WriteFile(folder + "\\d.txt\\inner.txt", "not scanned");
    services.folderAnswers = {folder};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FOLDER);
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"2", "10", "a", "b", "x.y"}));
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Texts()[2], "内容 a.TXT");
    EXPECT_EQ(services.folderPrompts, std::vector<std::string>{"Selection"});
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, FolderScanStopsAtAFileThatCannotBeRead)
{
    const std::string folder = Folder("坏");
    test::WriteFile(folder + "\\1.txt", "one");
    LinkToUnreadable("坏\\2.txt");
    test::WriteFile(folder + "\\3.txt", "three");
    services.folderAnswers = {folder, workDir + "\\no such folder"};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FOLDER);
        EXPECT_EQ(ListItems(List(w)), std::vector<std::string>{"1"}) << "the files before it stay";
        Click(w, IDC_ADD_FOLDER);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.MessageTexts(), (std::vector<std::string>{kOpenFailed, kOpenFailed}));
    EXPECT_EQ(Titles(), std::vector<std::string>{"1"});
}

TEST_F(MainWindowTest, DropAddsEveryFileSkipsFoldersAndReportsEachUnreadableOne)
{
    const std::string first = Write("第一回.txt", "first");
    const std::string notes = Write("notes.md", "# notes");
    const std::string folder = Folder("folder.txt");
    test::WriteFile(folder + "\\inside.txt", "not scanned");
    Run([&](HWND w) {
        DropFiles(w, {folder});
        EXPECT_TRUE(ListItems(List(w)).empty());
        EXPECT_TRUE(services.messages.empty()) << "a dropped folder adds nothing and says nothing";

        DropFiles(w, {first, UnreadableFile(), notes});
        EXPECT_EQ(services.MessageTexts(), std::vector<std::string>{kOpenFailed});
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{ShellTitle(first), ShellTitle(notes)}));
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"first", "# notes"}));
    const std::string noteTitle = Titles()[1];
    EXPECT_TRUE(noteTitle == "notes.md" || noteTitle == "notes") << noteTitle;
}

// A picture or an archive is not cut into chapters: each command names the files it left
// out in one message, and adds the others.
TEST_F(MainWindowTest, FilesThatAreNotTextAreNamedOnceForEachCommand)
{
    const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(64, '\x7F');
    const std::string zip = std::string("PK\3\4\x14\0\0\0\x08\0", 10) + "deflated data";
    const std::string picture = Write("图.png", png);
    const std::string archive = Write("书.zip", zip);
    const std::string text = Write("正文.txt", "正文");
    const std::string folder = Folder("混合");
    test::WriteFile(folder + "\\1.txt", "第一回");
    test::WriteFile(folder + "\\2.txt", png);
    test::WriteFile(folder + "\\3.txt", zip);
    test::WriteFile(folder + "\\4.txt", "第四回");
    services.fileAnswers = {picture};
    services.folderAnswers = {folder};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        DropFiles(w, {picture, text, archive});
        Click(w, IDC_ADD_FOLDER);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.MessageTexts(), (std::vector<std::string>{"不是文本文件：图.png", "不是文本文件：图.png、书.zip",
                                                                 "不是文本文件：2.txt、3.txt"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"正文", "第一回", "第四回"}));
}

// Entries added below the last row are scrolled into view, as many as fit from the first
// of them (a novel's first chapter on top), the selection left alone.
TEST_F(MainWindowTest, ListScrollsToTheEntriesJustAdded)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 40; ++i)
        files.push_back(Write("第" + std::to_string(i) + "回.txt", "回"));
    const std::string folder = Folder("更多");
    for (int i = 1; i <= 20; ++i)
        test::WriteFile(folder + "\\" + std::to_string(i) + ".txt", "回");
    services.fileAnswers = {files[0]};
    services.folderAnswers = {folder};
    Run([&](HWND w) {
        HWND list = List(w);
        Click(w, IDC_ADD_FILE);
        ClickListItem(list, 0);
        DropFiles(w, std::vector<std::string>(files.begin() + 1, files.end()));
        EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1) << "after a drop";
        Click(w, IDC_ADD_FOLDER);
        EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 40) << "after a folder";
        EXPECT_EQ(ListSelection(list), 0);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles().size(), 60u);
}

TEST_F(MainWindowTest, DroppedPathsLongerThan260CharactersArrive)
{
    std::string folder = workDir;
    for (int i = 0; i < 3; ++i)
        folder = Folder(folder.substr(workDir.size() + (i ? 1 : 0)) + (i ? "\\" : "") + std::string(90, 'd' + i));
    const std::string path = folder + "\\长路径.txt";
    test::WriteFile(path, "far away");
    ASSERT_GT(ui::Widen(path).size(), 300u);
    Run([&](HWND w) {
        DropFiles(w, {path});
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(Texts(), std::vector<std::string>{"far away"});
}

// The list box always shows the model: the same titles in the same order, and the
// selection the buttons beside it leave.
TEST_F(MainWindowTest, ButtonsBesideTheListMoveAndDeleteTheSelectedEntry)
{
    const std::vector<std::string> files = {Write("A.txt", "text A"), Write("B.txt", "text B"),
                                            Write("C.txt", "text C")};
    services.fileAnswers = {files[0], files[1], files[2]};
    using Items = std::vector<std::string>;
    const struct {
        int select;  // -1: leave the selection as it is
        int button;
        Items items;
        int selection;
    } steps[] = {
        {1, IDC_UP, {"B", "A", "C"}, 0},
        {-1, IDC_UP, {"B", "A", "C"}, 0},      // up on the first does nothing
        {-1, IDC_DOWN, {"A", "B", "C"}, 1},
        {2, IDC_DOWN, {"A", "B", "C"}, 2},     // down on the last does nothing
        {1, IDC_DELETE, {"A", "C"}, 1},        // the following entry is selected
        {-1, IDC_DELETE, {"A"}, -1},           // it was the last: nothing selected
        {-1, IDC_DELETE, {"A"}, -1},           // and a further delete does nothing
        {0, IDC_DELETE, {}, -1},
        {-1, IDC_UP, {}, -1},
        {-1, IDC_DOWN, {}, -1},
        {-1, IDC_DELETE, {}, -1},
    };
    Run([&](HWND w) {
        for (int i = 0; i < 3; ++i)
            Click(w, IDC_ADD_FILE);
        for (const auto& step : steps) {
            if (step.select >= 0)
                ClickListItem(List(w), step.select);
            Click(w, step.button);
            EXPECT_EQ(ListItems(List(w)), step.items) << "button " << step.button;
            EXPECT_EQ(ListSelection(List(w)), step.selection) << "button " << step.button;
            EXPECT_EQ(Titles(), step.items);
        }
        // A double-click on an empty list opens nothing (a dialog would end this script).
        DoubleClickListItem(List(w), 0);
        EXPECT_TRUE(IsWindowEnabled(w));
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, MovedEntriesKeepTheirTextsIntoTheBook)
{
    WriteTemplate();
    services.fileAnswers = {Write("甲.txt", "甲的内容"), Write("乙.txt", "乙的内容"), Write("丙.txt", "丙的内容")};
    Run([&](HWND w) {
        for (int i = 0; i < 3; ++i)
            Click(w, IDC_ADD_FILE);
        ClickListItem(List(w), 1);
        Click(w, IDC_UP);
        SetItemText(w, IDC_BOOK_NAME, "三国");
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    ASSERT_TRUE(services.messages.empty()) << services.messages[0].text;
    const std::string jar = workDir + "\\三国.jar";
    EXPECT_EQ(JarEntry(jar, "1.txt"), "乙的内容");
    EXPECT_EQ(JarEntry(jar, "2.txt"), "甲的内容");
    EXPECT_EQ(JarEntry(jar, "3.txt"), "丙的内容");
    const std::string index = JarEntry(jar, "index.txt");
    const std::u16string lines(reinterpret_cast<const char16_t*>(index.data()), index.size() / 2);
    EXPECT_NE(lines.find(u"乙\r\n甲\r\n丙"), std::u16string::npos);
}

TEST_F(MainWindowTest, DoubleClickEditsTheEntryAndEverySaveReplacesItInPlace)
{
    services.fileAnswers = {Write("A.txt", "text A"), Write("B.txt", "text B"), Write("C.txt", "text C")};
    // 1500 lines of 100 units, then 3 more: the first part replaces B, the second ("end")
    // is appended. (Short lines: an edit box wraps one long line slowly.)
    std::string longText;
    for (int i = 0; i < 1500; ++i)
        longText += std::string(98, 'x') + "\r\n";
    longText += "end";
    Run([&](HWND w) {
        for (int i = 0; i < 3; ++i)
            Click(w, IDC_ADD_FILE);
        OnNextModal([&](HWND edit) {
            EXPECT_EQ(Text(edit), "添加内容");
            EXPECT_EQ(ItemText(edit, IDC_CONTENT_TITLE), "B");
            EXPECT_EQ(ItemText(edit, IDC_CONTENT_TEXT), "text B");
            SetItemText(edit, IDC_CONTENT_TEXT, longText);
            Click(edit, IDC_CONTENT_SAVE);
            // The parts take the entry's place, in order.
            EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"A", "B(1)", "B(2)", "C"}));
            EXPECT_EQ(ListSelection(List(w)), 1);
            SetItemText(edit, IDC_CONTENT_TEXT, "  第二次保存 \r\n");
            Click(edit, IDC_CONTENT_SAVE);
            EXPECT_TRUE(IsWindowVisible(edit)) << "saving leaves the dialog open";
            Click(edit, IDOK);
        });
        DoubleClickListItem(List(w), 1);
        // The second save replaces both parts the first one wrote: nothing is left twice.
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"A", "B", "C"}));
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"text A", "第二次保存", "text C"}));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, AddContentOpensEmptyBesideTheListAndSavingTwiceAddsOnce)
{
    Run([&](HWND w) {
        OnNextModal([&](HWND edit) {
            EXPECT_EQ(ItemText(edit, IDC_CONTENT_TITLE), "");
            EXPECT_EQ(ItemText(edit, IDC_CONTENT_TEXT), "");
            EXPECT_EQ(GetWindow(edit, GW_OWNER), w);
            // Its client area is placed at 130, 0 dialog units from the owner's client
            // area, moved up or left only as far as it takes to fit on the screen.
            RECT placed{};
            GetWindowRect(edit, &placed);
            POINT client{0, 0};
            ClientToScreen(edit, &client);
            RECT offset{130, 0, 0, 0};
            MapDialogRect(edit, &offset);
            POINT origin{0, 0};
            ClientToScreen(w, &origin);
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            const LONG frameX = placed.left - client.x, frameY = placed.top - client.y;
            EXPECT_EQ(placed.left, std::min<LONG>(origin.x + offset.left + frameX, work.right - (placed.right - placed.left)));
            EXPECT_EQ(placed.top, std::min<LONG>(origin.y + frameY, work.bottom - (placed.bottom - placed.top)));

            SetItemText(edit, IDC_CONTENT_TITLE, "序");
            SetItemText(edit, IDC_CONTENT_TEXT, "第一段\r\n第二段");
            Click(edit, IDC_CONTENT_SAVE);
            Click(edit, IDC_CONTENT_SAVE);
            DialogKey(edit, GetDlgItem(edit, IDC_CONTENT_TITLE), VK_ESCAPE);
        });
        Click(w, IDC_ADD_CONTENT);
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"序"})) << "the second save replaced the first";
        EXPECT_EQ(ListSelection(List(w)), -1);

        OnNextModal([&](HWND edit) {
            EXPECT_EQ(ItemText(edit, IDC_CONTENT_TITLE), "") << "each opening starts fresh";
            SetItemText(edit, IDC_CONTENT_TITLE, "不保存");
            SetItemText(edit, IDC_CONTENT_TEXT, "丢弃");
            Click(edit, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        EXPECT_EQ(ListItems(List(w)).size(), 1u) << "closing without saving adds nothing";
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"第一段\r\n第二段"}));
}

} // namespace
} // namespace wintest
