// The main window driven through its controls and messages, with the services recorded:
// start-up, leaving, the about box, the menu, always on top, the icon while minimised.
#include "app/main_window_test.h"

#include "app/bookmaker_app.h"

#include "res/resource.h"
#include "ui/wide_text.h"

namespace wintest {
namespace {

TEST_F(MainWindowTest, StartsInTheCurrentDirectoryWithTheAboutItemInTheSystemMenu)
{
    const INT_PTR result = Run([&](HWND w) {
        EXPECT_EQ(window->GetWorkDir(), workDir);
        EXPECT_EQ(Text(w), "青禾手机电子书制作:www.qinghe.example");
        EXPECT_EQ(window->GetSources().GetCurSel(), -1);
        EXPECT_TRUE(ListItems(List(w)).empty());
        for (int id : {IDC_BOOK_NAME, IDC_AUTHOR, IDC_MAKER})
            EXPECT_EQ(ItemText(w, id), "");

        HMENU system = GetSystemMenu(w, FALSE);
        const int count = GetMenuItemCount(system);
        ASSERT_GE(count, 2);
        EXPECT_TRUE(GetMenuState(system, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(GetMenuItemID(system, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        wchar_t text[64] = {};
        GetMenuStringW(system, count - 1, text, 64, MF_BYPOSITION);
        EXPECT_EQ(ui::Narrow(text), "关于青禾电子书制作工具(&A)...");

        EXPECT_TRUE(SendMessageW(w, WM_GETICON, ICON_BIG, 0));
        EXPECT_TRUE(SendMessageW(w, WM_GETICON, ICON_SMALL, 0));
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), WS_MAXIMIZEBOX | WS_THICKFRAME) << "resizable and maximisable";

        // The menu bar is the loaded menu 134, in place of the template's.
        HMENU bar = GetMenu(w);
        ASSERT_EQ(GetMenuItemCount(bar), 3);
        const char* popups[] = {"文件", "工具", "帮助"};
        for (int i = 0; i < 3; ++i) {
            GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
            EXPECT_EQ(ui::Narrow(text), popups[i]);
        }
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, ApplicationRunsTheMainWindowAndEndsWithIt)
{
    CBookMakerApp app(services);
    std::string caption;
    OnNextModal([&](HWND w) {
        caption = Text(w);
        Click(w, IDC_CLOSE);
    });
    EXPECT_FALSE(app.InitInstance()) << "no message loop follows the main window";
    EXPECT_EQ(caption, "青禾手机电子书制作:www.qinghe.example");
    EXPECT_TRUE(services.messages.empty()) << "the socket layer started";
}

TEST_F(MainWindowTest, EveryWayOfLeavingEndsWithOkAndNoneAddsAFolder)
{
    const struct {
        const char* how;
        std::function<void(HWND)> leave;
    } ways[] = {
        {"button 关闭程序", [](HWND w) { Click(w, IDC_CLOSE); }},
        {"menu 退出", [](HWND w) { MenuCommand(w, IDM_EXIT); }},
        {"close box", [](HWND w) { SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close request", [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); }},
    };
    for (const auto& way : ways) {
        bool stillOpen = true;
        const INT_PTR result = Run([&](HWND w) {
            SetItemText(w, IDC_BOOK_NAME, "书");
            way.leave(w);
            stillOpen = IsWindowVisible(w);
        });
        EXPECT_EQ(result, IDOK) << way.how;
        EXPECT_FALSE(stillOpen) << way.how;
    }
    EXPECT_TRUE(services.folderPrompts.empty());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, EscapeOpensTheFolderChooserAndCancellingChangesNothing)
{
    Run([&](HWND w) {
        DialogKey(w, GetDlgItem(w, IDC_BOOK_NAME), VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(w)) << "Esc never closes the main window";
        EXPECT_EQ(services.folderPrompts, std::vector<std::string>{"Selection"});
        Click(w, IDC_ADD_FOLDER);
        EXPECT_EQ(services.folderPrompts.size(), 2u);
        EXPECT_TRUE(ListItems(List(w)).empty());
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, AboutBoxFromTheButtonTheMenuAndTheSystemMenu)
{
    const struct {
        const char* how;
        std::function<void(HWND)> open;
    } ways[] = {
        {"button 关于青禾", [](HWND w) { Click(w, IDC_ABOUT); }},
        {"menu 关于...", [](HWND w) { MenuCommand(w, IDM_ABOUT); }},
        {"system menu", [](HWND w) { SendMessageW(w, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }},
        {"system menu, low bits set", [](HWND w) { SendMessageW(w, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0); }},
        {"Enter (the default button)", [](HWND w) { DialogKey(w, GetDlgItem(w, IDC_BOOK_NAME), VK_RETURN); }},
    };
    Run([&](HWND w) {
        for (const auto& way : ways) {
            std::string caption, version;
            HWND owner = nullptr;
            OnNextModal([&](HWND about) {
                caption = Text(about);
                version = ItemText(about, IDC_ABOUT_VERSION);
                owner = GetWindow(about, GW_OWNER);
                EXPECT_TRUE(GetDlgItem(about, IDC_ABOUT_MAIL));
                Click(about, IDOK);
            });
            way.open(w);
            EXPECT_EQ(caption, "帮助") << way.how;
            // The build's version, as bookmaker-cli --version prints it.
            EXPECT_EQ(version, std::string("版本 ") + BOOKMAKER_VERSION) << way.how;
            EXPECT_FALSE(std::string(BOOKMAKER_VERSION).empty());
            EXPECT_EQ(owner, w) << way.how;
        }
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, HelpAndTheSiteAreOpenedByTheShell)
{
    Run([&](HWND w) {
        MenuCommand(w, IDM_HELP);
        MenuCommand(w, IDM_VISIT_SITE);
        EXPECT_TRUE(IsWindowVisible(w));
        Click(w, IDC_CLOSE);
    });
    // readme.txt is named relative to the current directory, which is the working folder.
    EXPECT_EQ(services.opened, (std::vector<std::string>{"readme.txt", "http://www.qinghe.example/"}));
    EXPECT_TRUE(services.folderPrompts.empty());
    EXPECT_TRUE(services.fileFilters.empty());
    EXPECT_TRUE(services.messages.empty());
}

// 文件 > 打开文件 and 打开目录 are 添加文件 and 添加目录 from the menu: the same chooser, the
// same files added; enabled whenever their pop-up opens.
TEST_F(MainWindowTest, TheOpenItemsAddAFileAndAFolder)
{
    const std::string folder = Folder("卷");
    Write("卷\\第2章.txt", "二");
    Write("卷\\第10章.txt", "十");
    services.fileAnswers = {Write("序.txt", "序言")};
    services.folderAnswers = {folder};
    Run([&](HWND w) {
        HMENU file = GetSubMenu(GetMenu(w), 0);
        SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            EXPECT_FALSE(GetMenuState(file, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        MenuCommand(w, IDM_OPEN_FILE);
        MenuCommand(w, IDM_OPEN_FOLDER);
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 3 项");
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles(), (std::vector<std::string>{"序", "第2章", "第10章"}));
    EXPECT_EQ(services.fileFilters.size(), 1u);
    EXPECT_EQ(services.folderPrompts, std::vector<std::string>{"Selection"});
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, AlwaysOnTopTogglesTheWindowAndTheCheckMarkTogether)
{
    Run([&](HWND w) {
        HMENU tools = GetSubMenu(GetMenu(w), 1);
        auto checked = [&] {
            SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), MAKELPARAM(1, FALSE));
            return (GetMenuState(tools, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
        };
        auto topmost = [&] { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };

        EXPECT_FALSE(checked());
        EXPECT_FALSE(topmost());
        // The buttons and labels keep tooltips (a button makes its own at the first mouse
        // move); they must not keep the window from becoming topmost.
        SendMessageW(GetDlgItem(w, IDC_GENERATE), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        for (bool expected : {true, false, true}) {
            MenuCommand(w, IDM_ALWAYS_ON_TOP);
            EXPECT_EQ(window->IsAlwaysOnTop(), expected);
            EXPECT_EQ(topmost(), expected);
            EXPECT_EQ(checked(), expected);
        }
        Click(w, IDC_CLOSE);
    });
}

TEST_F(MainWindowTest, MinimisedWindowShowsAndDragsTheProgramIcon)
{
    Run([&](HWND w) {
        const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINFRAME));
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(w, WM_QUERYDRAGICON, 0, 0)), icon);
        SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(IsIconic(w));
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_FALSE(IsIconic(w));
        Click(w, IDC_CLOSE);
    });
}

} // namespace
} // namespace wintest
