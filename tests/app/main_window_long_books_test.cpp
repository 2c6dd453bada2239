// The window for long books: it grows and keeps its controls against the edges, remembers
// its size and place, counts the list's entries, writes books where the user chose, adds
// several files at once from the last folder used, puts back what a delete took (Ctrl+Z),
// names the volume being written, and shows no box of hundreds of lines.
#include "app/main_window_test.h"

#include "app/work_window.h"
#include "res/resource.h"
#include "ui/wide_text.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace wintest {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesW(ui::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

RECT ChildRect(HWND w, int id)
{
    RECT rect {};
    GetWindowRect(GetDlgItem(w, id), &rect);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT WindowRect(HWND w)
{
    RECT rect {};
    GetWindowRect(w, &rect);
    return rect;
}

// Five typed entries A..E through 添加内容.
void AddFive(HWND w)
{
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        OnNextModal([&](HWND edit) {
            SetItemText(edit, IDC_CONTENT_TITLE, name);
            SetItemText(edit, IDC_CONTENT_TEXT, std::string("text ") + name);
            Click(edit, IDC_CONTENT_SAVE);
            Click(edit, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
    }
}

void SelectOnly(HWND w, const std::vector<int>& items)
{
    HWND list = GetDlgItem(w, IDC_SOURCES);
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    for (int index : items)
        SendMessageW(list, LB_SETSEL, TRUE, index);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_SOURCES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// A key pressed in the list with Ctrl held (the thread's key state, as GetKeyState reads it).
void CtrlKey(HWND list, UINT key)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, key, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// The window grown by 300 x 200 pixels: the list takes all of it, the buttons beside the
// list follow the right edge, the book fields and the lines below follow the bottom and
// widen, the left column's top stays; it never gets smaller than its template; it can be
// maximised.
TEST_F(MainWindowTest, AResizedWindowKeepsItsControlsAgainstTheEdges)
{
    Run([&](HWND w) {
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_THICKFRAME);
        const RECT start = WindowRect(w);
        const int ids[] = {IDC_SOURCES,   IDC_LIST_FRAME, IDC_UP,    IDC_ADD_FOLDER,    IDC_GENERATE,   IDC_BOOK_NAME,
                           IDC_INFO_TEXT, IDC_INFO_FRAME, IDC_WEB_LINK, IDC_SETTINGS_LINE, IDC_CLOSE_FRAME};
        std::map<int, RECT> before;
        for (int id : ids)
            before[id] = ChildRect(w, id);
        constexpr int dx = 300, dy = 200;
        SetWindowPos(w, nullptr, 0, 0, start.right - start.left + dx, start.bottom - start.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        const struct {
            int id;
            int left, top, right, bottom;  // how far each edge moved
        } moves[] = {
            {IDC_SOURCES, 0, 0, dx, dy},       {IDC_LIST_FRAME, 0, 0, dx, dy},     {IDC_UP, dx, 0, dx, 0},
            {IDC_ADD_FOLDER, 0, 0, 0, 0},      {IDC_GENERATE, 0, dy, 0, dy},       {IDC_BOOK_NAME, 0, dy, dx, dy},
            {IDC_INFO_TEXT, 0, dy, dx, dy},    {IDC_INFO_FRAME, 0, dy, dx, dy},    {IDC_WEB_LINK, 0, dy, 0, dy},
            {IDC_SETTINGS_LINE, 0, dy, dx, dy}, {IDC_CLOSE_FRAME, 0, dy, 0, dy},
        };
        for (const auto& m : moves) {
            const RECT now = ChildRect(w, m.id);
            const RECT& was = before[m.id];
            EXPECT_EQ(now.left - was.left, m.left) << m.id;
            EXPECT_EQ(now.top - was.top, m.top) << m.id;
            EXPECT_EQ(now.right - was.right, m.right) << m.id;
            EXPECT_EQ(now.bottom - was.bottom, m.bottom) << m.id;
        }
        // The information text stays inside its frame.
        const RECT info = ChildRect(w, IDC_INFO_TEXT);
        const RECT frame = ChildRect(w, IDC_INFO_FRAME);
        EXPECT_GT(info.left, frame.left);
        EXPECT_LT(info.right, frame.right);
        EXPECT_GT(info.top, frame.top);
        EXPECT_LT(info.bottom, frame.bottom);

        // Smaller than the template: held at the template's size.
        MINMAXINFO limits {};
        SendMessageW(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, start.right - start.left);
        EXPECT_EQ(limits.ptMinTrackSize.y, start.bottom - start.top);

        SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_TRUE(IsZoomed(w));
        EXPECT_GT(ChildRect(w, IDC_SOURCES).bottom, before[IDC_SOURCES].bottom);
        SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
        Click(w, IDC_CLOSE);
    });
}

// Size and place are remembered when the window closes and given back at the next start;
// a place on no screen is forgotten; a size below the smallest grows to it.
TEST_F(MainWindowTest, SizeAndPlaceAreRemembered)
{
    RECT first {};
    Run([&](HWND w) {
        const RECT start = WindowRect(w);
        SetWindowPos(w, nullptr, 40, 30, start.right - start.left + 120, start.bottom - start.top + 90, SWP_NOZORDER);
        first = WindowRect(w);
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(services.settings.count("WindowPlace"), 1u);
    RECT second {};
    Run([&](HWND w) {
        second = WindowRect(w);
        SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(second.left, first.left);
    EXPECT_EQ(second.top, first.top);
    EXPECT_EQ(second.right - second.left, first.right - first.left);
    EXPECT_EQ(second.bottom - second.top, first.bottom - first.top);
    EXPECT_EQ(services.settings.at("WindowPlace").back(), '1') << "maximised";
    Run([&](HWND w) {
        EXPECT_TRUE(IsZoomed(w));
        SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_EQ(WindowRect(w).right - WindowRect(w).left, first.right - first.left) << "the size before maximising";
        Click(w, IDC_CLOSE);
    });

    services.settings["WindowPlace"] = "-30000,-30000,900,700,0";
    Run([&](HWND w) {
        const RECT r = WindowRect(w);
        EXPECT_GT(r.left, -1000) << "off every screen: opened centred";
        Click(w, IDC_CLOSE);
    });
    services.settings["WindowPlace"] = "10,10,50,40,0";
    Run([&](HWND w) {
        MINMAXINFO limits {};
        SendMessageW(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(WindowRect(w).right - WindowRect(w).left, limits.ptMinTrackSize.x);
        Click(w, IDC_CLOSE);
    });
}

// 添加内容 opens with the caret in 标题 when adding, in the text when editing: typing goes
// there at once. It grows too, its text box taking the room.
TEST_F(MainWindowTest, AddContentOpensWithTheCaretWhereTheTypingGoes)
{
    Run([&](HWND w) {
        int focused = 0;
        RECT textBefore {}, textAfter {};
        OnNextModal([&](HWND edit) {
            focused = GetDlgCtrlID(GetFocus());
            textBefore = ChildRect(edit, IDC_CONTENT_TEXT);
            const RECT r = WindowRect(edit);
            SetWindowPos(edit, nullptr, 0, 0, r.right - r.left + 100, r.bottom - r.top + 80, SWP_NOMOVE | SWP_NOZORDER);
            textAfter = ChildRect(edit, IDC_CONTENT_TEXT);
            SetItemText(edit, IDC_CONTENT_TITLE, "第一章");
            SetItemText(edit, IDC_CONTENT_TEXT, "正文");
            Click(edit, IDC_CONTENT_SAVE);
            Click(edit, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        EXPECT_EQ(focused, IDC_CONTENT_TITLE);
        EXPECT_EQ(textAfter.right - textBefore.right, 100);
        EXPECT_EQ(textAfter.bottom - textBefore.bottom, 80);

        for (const char* how : {"double-click", "编辑"}) {
            DWORD selection = 1;
            OnNextModal([&](HWND edit) {
                focused = GetDlgCtrlID(GetFocus());
                selection = static_cast<DWORD>(SendMessageW(GetDlgItem(edit, IDC_CONTENT_TEXT), EM_GETSEL, 0, 0));
                Click(edit, IDOK);
            });
            if (std::string(how) == "编辑") {
                ClickListItem(List(w), 0);
                MenuCommand(w, IDM_EDIT_ENTRY);
            } else {
                DoubleClickListItem(List(w), 0);
            }
            EXPECT_EQ(focused, IDC_CONTENT_TEXT) << how;
            EXPECT_EQ(selection, 0u) << how << ": the caret at the start, nothing selected";
        }
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
}

// The list's frame counts its entries through every change: adding, deleting, clearing, and
// Ctrl+Z, which puts back what the last Delete or 清空列表 took, where it was, selected.
TEST_F(MainWindowTest, TheCountAndCtrlZAfterDeleteAndClear)
{
    Run([&](HWND w) {
        HWND list = List(w);
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 0 项");
        AddFive(w);
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 5 项");

        SelectOnly(w, {1, 3});
        Click(w, IDC_DELETE);
        EXPECT_EQ(ListItems(list), (std::vector<std::string> {"A", "C", "E"}));
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 3 项");
        EXPECT_TRUE(window->CanUndoDelete());
        CtrlKey(list, 'Z');
        EXPECT_EQ(ListItems(list), (std::vector<std::string> {"A", "B", "C", "D", "E"}));
        EXPECT_EQ(Texts(), (std::vector<std::string> {"text A", "text B", "text C", "text D", "text E"}));
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 5 项");
        std::vector<int> selected(2);
        ASSERT_EQ(SendMessageW(list, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(selected.data())), 2);
        EXPECT_EQ(selected, (std::vector<int> {1, 3})) << "what came back is selected";
        CtrlKey(list, 'Z');
        EXPECT_EQ(ListItems(list).size(), 5u) << "one undo per delete";

        services.answers = {IDYES};
        MenuCommand(w, IDM_CLEAR_LIST);
        EXPECT_TRUE(ListItems(list).empty());
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 0 项");
        MenuCommand(w, IDM_UNDO_DELETE);
        EXPECT_EQ(Titles(), (std::vector<std::string> {"A", "B", "C", "D", "E"}));
        EXPECT_EQ(ListItems(list), Titles());

        // A delete followed by another change cannot be undone: the places are gone.
        SelectOnly(w, {0});
        Click(w, IDC_DELETE);
        SelectOnly(w, {0});
        Click(w, IDC_DOWN);
        EXPECT_FALSE(window->CanUndoDelete());
        CtrlKey(list, 'Z');
        EXPECT_EQ(Titles(), (std::vector<std::string> {"C", "B", "D", "E"}));
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
}

// 清空列表 of thousands of entries and Ctrl+Z: both in one batch, every entry back.
TEST_F(MainWindowTest, ThousandsOfEntriesClearedAndPutBack)
{
    std::string text;
    for (int i = 1; i <= 3000; ++i)
        text += "第" + std::to_string(i) + "章 标题\r\n　　正文" + std::to_string(i) + "。\r\n";
    services.settings = {{"SplitByChapters", "1"}};
    Run([&](HWND w) {
        DropFiles(w, {Write("长篇.txt", text)});
        ASSERT_EQ(ListItems(List(w)).size(), 3000u);
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 3000 项");
        services.answers = {IDYES};
        MenuCommand(w, IDM_CLEAR_LIST);
        EXPECT_EQ(SendMessageW(List(w), LB_GETCOUNT, 0, 0), 0);
        CtrlKey(List(w), 'Z');
        EXPECT_EQ(ListItems(List(w)), Titles());
        EXPECT_EQ(Titles().size(), 3000u);
        EXPECT_EQ(Titles()[2999], "第3000章 标题");
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
}

// 工具 > 输出文件夹: a folder chosen is where the book goes, remembered, on the settings line
// and in the result line; 默认 returns to the working folder.
TEST_F(MainWindowTest, TheOutputFolderIsUsedAndRemembered)
{
    WriteTemplate();
    const std::string out = Folder("输出");
    services.folderAnswers = {out};
    std::string settingsLine, resultLine;
    Run([&](HWND w) {
        MenuCommand(w, IDM_OUTPUT_CHOOSE);
        settingsLine = ItemText(w, IDC_SETTINGS_LINE);
        bool radio = false;
        EXPECT_EQ(CheckedToolsChoices(w, 8, radio), std::vector<UINT> {IDM_OUTPUT_CHOOSE});
        SetItemText(w, IDC_BOOK_NAME, "书");
        DropFiles(w, {Write("一.txt", "第一")});
        Click(w, IDC_GENERATE);
        resultLine = ItemText(w, IDC_INFO_TEXT);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.folderStartFolders, std::vector<std::string> {workDir}) << "opens at the current output folder";
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(Exists(out + "\\书.jar"));
    EXPECT_FALSE(Exists(workDir + "\\书.jar"));
    EXPECT_EQ(services.settings.at("OutputFolder"), out);
    EXPECT_NE(settingsLine.find(" · 输出到 "), std::string::npos) << settingsLine;
    EXPECT_NE(resultLine.find("位于 "), std::string::npos) << resultLine;
    EXPECT_NE(resultLine.find("输出"), std::string::npos) << resultLine;

    // The next start writes there too, until 默认.
    Run([&](HWND w) {
        EXPECT_NE(ItemText(w, IDC_SETTINGS_LINE).find("输出到 "), std::string::npos);
        MenuCommand(w, IDM_OUTPUT_DEFAULT);
        EXPECT_EQ(ItemText(w, IDC_SETTINGS_LINE).find("输出到"), std::string::npos);
        SetItemText(w, IDC_BOOK_NAME, "书");
        DropFiles(w, {Write("二.txt", "第二")});
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.settings.at("OutputFolder"), "");
    EXPECT_TRUE(Exists(workDir + "\\书.jar"));
}

// 添加文件 takes several files at once and adds them in name order; every chooser opens in
// the folder used last, remembered between runs.
TEST_F(MainWindowTest, SeveralFilesAtOnceFromTheLastFolder)
{
    const std::string folder = Folder("章节");
    const std::string ten = Write("章节\\第10章.txt", "十");
    const std::string two = Write("章节\\第2章.txt", "二");
    const std::string one = Write("章节\\第1章.txt", "一");
    services.fileAnswers = {RecordingServices::FileChoice(std::vector<std::string> {ten, one, two}), std::nullopt};
    services.folderAnswers = {std::nullopt};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 3 项");
        Click(w, IDC_ADD_FILE);
        Click(w, IDC_ADD_FOLDER);
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles(), (std::vector<std::string> {"第1章", "第2章", "第10章"}));
    EXPECT_EQ(services.fileStartFolders, (std::vector<std::string> {workDir, folder}));
    EXPECT_EQ(services.folderStartFolders, std::vector<std::string> {folder});
    EXPECT_EQ(services.settings.at("LastFolder"), folder);
    services.fileAnswers = {std::nullopt};
    Run([&](HWND w) {
        Click(w, IDC_ADD_FILE);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.fileStartFolders.back(), folder) << "remembered";
}

// The settings line names every choice of 工具 that is not its default, 文本编码 and 总在最
// 上面 included.
TEST_F(MainWindowTest, TheSettingsLineNamesEveryChoiceMade)
{
    Run([&](HWND w) {
        EXPECT_EQ(ItemText(w, IDC_SETTINGS_LINE), "设置：不按章节拆分 · 不分卷 · 压缩 标准");
        MenuCommand(w, IDM_ENCODING_BIG5);
        EXPECT_EQ(ItemText(w, IDC_SETTINGS_LINE), "设置：不按章节拆分 · 不分卷 · 压缩 标准 · 编码 Big5");
        MenuCommand(w, IDM_CONVERT_T2S);
        MenuCommand(w, IDM_ALWAYS_ON_TOP);
        EXPECT_EQ(ItemText(w, IDC_SETTINGS_LINE),
                  "设置：不按章节拆分 · 不分卷 · 压缩 标准 · 编码 Big5 · 繁体转简体 · 总在最上面");
        MenuCommand(w, IDM_ENCODING_AUTO);
        MenuCommand(w, IDM_ALWAYS_ON_TOP);
        EXPECT_EQ(ItemText(w, IDC_SETTINGS_LINE), "设置：不按章节拆分 · 不分卷 · 压缩 标准 · 繁体转简体");
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.settings.count("Encoding"), 0u) << "文本编码 is for the session";
}

// Records every step the progress reports.
class StepRecorder : public IWorkObserver {
public:
    void OnWorkReported(const CWorkProgress::Snapshot& report) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (steps.empty() || steps.back() != report.step)
            steps.push_back(report.step);
    }
    std::vector<std::string> steps;

private:
    std::mutex m_mutex;
};

// Many volumes, then two: the progress names each volume as it is written; dozens of
// older files removed are counted in the result line, and no box comes up.
TEST_F(MainWindowTest, VolumesAreNamedInTheProgressAndDozensRemovedShowNoBox)
{
    WriteTemplate();
    services.settings = {{"MaxJarSize", "102400"}};
    // 40 parts of about 60 KB packed each: one volume each.
    std::vector<std::string> files;
    for (unsigned i = 0; i < 40; ++i) {
        std::string noise;
        for (unsigned seed = i + 1; noise.size() < 75000;)
            noise += static_cast<char>('!' + ((seed = seed * 1103515245u + 12345u) >> 16) % 90);
        files.push_back(Write("卷" + std::to_string(i) + ".txt", noise));
    }
    StepRecorder recorder;
    std::string line;
    Run([&](HWND w) {
        window->SetWorkObserver(&recorder);
        SetItemText(w, IDC_BOOK_NAME, "长篇");
        DropFiles(w, files);
        Click(w, IDC_GENERATE);
        window->SetWorkObserver(nullptr);
        ASSERT_TRUE(Exists(workDir + "\\长篇(40).jar"));
        ASSERT_FALSE(Exists(workDir + "\\长篇(41).jar"));
        services.answers = {IDYES};
        MenuCommand(w, IDM_CLEAR_LIST);
        DropFiles(w, {files[0], files[1]});
        Click(w, IDC_GENERATE);
        line = ItemText(w, IDC_INFO_TEXT);
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty()) << services.MessageTexts().front();
    const auto has = [&](const std::string& step) {
        return std::find(recorder.steps.begin(), recorder.steps.end(), step) != recorder.steps.end();
    };
    EXPECT_TRUE(has("正在写入：长篇(1).jar（第 1 卷）"));
    EXPECT_TRUE(has("正在写入：长篇(3).jar（第 3 卷，约共 40 卷）"));
    EXPECT_TRUE(has("正在写入：长篇(40).jar（第 40 卷，约共 40 卷）"));
    EXPECT_TRUE(Exists(workDir + "\\长篇(2).jar"));
    EXPECT_FALSE(Exists(workDir + "\\长篇(3).jar"));
    EXPECT_FALSE(Exists(workDir + "\\长篇(40).jad"));
    EXPECT_NE(line.find("已删除 76 个旧的分卷文件（"), std::string::npos) << line;
}

// A box that names files lists a dozen at most and counts the rest: it fits the screen.
TEST_F(MainWindowTest, ABoxNamingManyFilesFitsTheScreen)
{
    std::vector<std::string> pictures;
    for (int i = 0; i < 40; ++i)
        pictures.push_back(Write("图" + std::to_string(i) + ".png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0')));
    Run([&](HWND w) {
        DropFiles(w, pictures);
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(services.messages.size(), 1u);
    const std::string& text = services.messages[0].text;
    std::size_t lines = 1;
    for (char c : text)
        lines += c == '\n';
    EXPECT_LE(lines, 15u) << text;
    EXPECT_NE(text.find("……等 40 个文件"), std::string::npos) << text;
}

} // namespace
} // namespace wintest
