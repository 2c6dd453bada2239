// Pictures of the three windows with Chinese text, saved in the build folder for people
// to look at (build/windows/screenshots): the main window idle, with a button under the
// mouse and with its help menu open; the about box; the add-content dialog. Each test
// checks that the picture is not blank.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "ui/wide_text.h"
#include "ui/win32_services.h"

namespace wintest {
namespace {

// A saved PNG that holds more than one colour has something drawn in it.
void ExpectPicture(const std::string& path)
{
    const std::string png = test::ReadFile(path);
    ASSERT_GT(png.size(), 1000u) << path;
    EXPECT_EQ(png.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)), 0);
}

// The menu runs its own loop once open: a thread timer, dispatched by that loop, presses
// the keys one a tick (down onto the first item, ...; right opens a sub-menu), takes the
// picture two ticks later, and closes the menu.
HWND g_menuOwner = nullptr;
std::string g_menuShot;
std::vector<UINT> g_menuKeys;
std::size_t g_menuTicks = 0;

void CALLBACK WhileMenuIsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    ++g_menuTicks;
    if (g_menuTicks <= g_menuKeys.size() && popup) {
        PostMessageW(popup, WM_KEYDOWN, g_menuKeys[g_menuTicks - 1], 0);
        return;
    }
    if (g_menuTicks < g_menuKeys.size() + 2 && popup)
        return;
    KillTimer(nullptr, timer);
    if (popup)
        SaveScreenshot(g_menuOwner, g_menuShot);
    EndMenu();
}

// Opens the pop-up of the menu bar's item at position as a click on it would, then presses
// the keys.
void ShootOpenMenu(HWND window, int position, const std::string& path, std::vector<UINT> keys = {VK_DOWN})
{
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(window, GetMenu(window), static_cast<UINT>(position), &item));
    g_menuOwner = window;
    g_menuShot = path;
    g_menuKeys = std::move(keys);
    g_menuTicks = 0;
    SetTimer(nullptr, 0, 300, WhileMenuIsOpen);
    SetCursorPos(item.left + 8, item.top + 6);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(item.left + 8, item.top + 6));
    PostMessageW(window, WM_NCLBUTTONUP, HTMENU, MAKELPARAM(item.left + 8, item.top + 6));
    for (int i = 0; i < 100 && g_menuTicks < g_menuKeys.size() + 2; ++i) {
        Pump();
        Sleep(20);
    }
}

// The mouse on a button: the cursor there and the move the button sees.
void Hover(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    RECT r{};
    GetWindowRect(button, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
    Pump();
}

TEST_F(MainWindowTest, ScreenshotsOfTheThreeWindows)
{
    const std::string mainShot = ScreenshotPath("main_window.png");
    const std::string hotShot = ScreenshotPath("main_window_hot_button.png");
    const std::string menuShot = ScreenshotPath("main_window_help_menu.png");
    const std::string aboutShot = ScreenshotPath("about_box.png");
    const std::string contentShot = ScreenshotPath("add_content.png");
    for (const std::string& shot : {mainShot, hotShot, menuShot})
        DeleteFileW(ui::Widen(shot).c_str());
    const std::vector<std::string> files = {Write("第一回 宴桃园豪杰三结义.txt", "滚滚长江东逝水"),
                                            Write("第二回 张翼德怒鞭督邮.txt", "且说董卓字仲颖"),
                                            Write("第三回 议温明董卓叱丁原.txt", "且说曹操")};
    services.fileAnswers = {files[0], files[1], files[2]};
    Run([&](HWND w) {
        for (int i = 0; i < 3; ++i)
            Click(w, IDC_ADD_FILE);
        ClickListItem(List(w), 1);
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        SetItemText(w, IDC_AUTHOR, "罗贯中");
        SetItemText(w, IDC_MAKER, "青禾网");
        SetCursorPos(0, 0);
        SaveScreenshot(w, mainShot);
        Hover(w, IDC_DELETE);
        SaveScreenshot(w, hotShot);
        SendMessageW(GetDlgItem(w, IDC_DELETE), WM_MOUSELEAVE, 0, 0);
        ShootOpenMenu(w, 2, menuShot);

        OnNextModal([&](HWND about) {
            SaveScreenshot(about, aboutShot);
            Click(about, IDOK);
        });
        Click(w, IDC_ABOUT);

        OnNextModal([&](HWND edit) {
            SetItemText(edit, IDC_CONTENT_TITLE, "序言");
            SetItemText(edit, IDC_CONTENT_TEXT,
                        "话说天下大势，分久必合，合久必分。\r\n\r\n周末七国分争，并入于秦。及秦灭之后，楚、汉分争，又并入于汉。");
            SaveScreenshot(edit, contentShot);
            Click(edit, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        Click(w, IDC_CLOSE);
    });
    for (const std::string& shot : {mainShot, hotShot, menuShot, aboutShot, contentShot})
        ExpectPicture(shot);
}

// 工具 > 分卷大小 open, 300 KB chosen: the sizes as radio choices in the owner-drawn menu.
TEST_F(MainWindowTest, ScreenshotOfTheVolumeSizeMenu)
{
    const std::string shot = ScreenshotPath("main_window_volume_size_menu.png");
    DeleteFileW(ui::Widen(shot).c_str());
    services.settings = {{"MaxJarSize", "307200"}};
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        ShootOpenMenu(w, 1, shot, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT});
        Click(w, IDC_CLOSE);
    });
    ExpectPicture(shot);
}

// What the user sees after dropping many chapters with a picture and an archive among them,
// then generating a book that another program holds open: the list scrolled to its last
// entry, and the two messages as real message boxes.
TEST_F(MainWindowTest, ScreenshotsOfALongListAndOfRefusals)
{
    WriteTemplate();
    const std::string listShot = ScreenshotPath("main_window_long_list.png");
    const std::string notTextShot = ScreenshotPath("message_not_text.png");
    const std::string inUseShot = ScreenshotPath("message_book_in_use.png");
    std::vector<std::string> files;
    for (int i = 1; i <= 30; ++i)
        files.push_back(Write("第" + std::to_string(i) + "回.txt", "话说天下大势"));
    files.insert(files.begin() + 10, Write("封面.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
    files.push_back(Write("全集.zip", std::string("PK\3\4\x14\0\0\0\x08\0", 10)));
    const std::string jar = Write("三国演义.jar", "an older book");
    HANDLE holder = CreateFileW(ui::Widen(jar).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ui::Win32Services real;
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        SetItemText(w, IDC_AUTHOR, "罗贯中");
        DropFiles(w, files);
        SetCursorPos(0, 0);
        SaveScreenshot(w, listShot);
        Click(w, IDC_GENERATE);
        ASSERT_EQ(services.messages.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            const std::string& shot = i == 0 ? notTextShot : inUseShot;
            OnNextModal([&shot](HWND box) {
                SaveScreenshot(box, shot);
                Click(box, IDOK);
            });
            real.ShowMessage(w, services.messages[i].text, services.messages[i].type);
        }
        Click(w, IDC_CLOSE);
    });
    CloseHandle(holder);
    for (const std::string& shot : {listShot, notTextShot, inUseShot})
        ExpectPicture(shot);
}

} // namespace
} // namespace wintest
