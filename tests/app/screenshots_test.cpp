// Pictures of the three windows with Chinese text, saved in the build folder for people
// to look at (build/windows/screenshots): the main window idle, with a button under the
// mouse and with its file and help menus open; the about box; the add-content dialog; a
// long list and two messages. Each picture is read back and checked: none is blank, the
// main window's buttons show their icons (grey while idle where the program asks for it),
// its menus the images of the items that have one, and the checked items of the 工具 menu
// and its sub-menus their tick or radio dot.
#include "app/main_window_test.h"

#include "controls/menu_metrics.h"
#include "controls/owner_menu.h"
#include "res/resource.h"
#include "ui/wide_text.h"
#include "ui/win32_services.h"

#include <set>

namespace wintest {
namespace {

// A saved picture of more than one colour: something was drawn.
void ExpectNotBlank(const std::string& path)
{
    const test::Picture picture = test::ReadPng(path);
    EXPECT_GT(test::CountColours(picture, picture.Whole()), 1u) << path << " is blank";
}

// An icon button of the main window in a screenshot of the window: the button (whose
// commonest colour is its face) and where its icon lies.
struct ButtonIcon {
    int id;
    bool greyWhileIdle;  // also: the icon above the caption
    test::Box button;
    test::Box icon;
};

std::vector<ButtonIcon> ButtonIcons(HWND window)
{
    const struct {
        int id;
        bool greyWhileIdle;
    } buttons[] = {{IDC_ADD_FOLDER, false}, {IDC_ADD_FILE, false}, {IDC_ADD_CONTENT, false},
                   {IDC_GENERATE, false},   {IDC_CLOSE, false},    {IDC_ABOUT, false},
                   {IDC_UP, true},          {IDC_DELETE, true},    {IDC_DOWN, true}};
    std::vector<ButtonIcon> icons;
    for (const auto& b : buttons) {
        HWND button = GetDlgItem(window, b.id);
        const auto alignment = b.greyWhileIdle ? controls::ImageAlignment::Above : controls::ImageAlignment::Left;
        icons.push_back({b.id, b.greyWhileIdle, InScreenshot(window, button),
                         InScreenshot(window, button, IconBox(button, alignment))});
    }
    return icons;
}

// Every button shows its icon on its face (the face is the button's commonest colour):
// in colour, but in grey where it waits for the mouse; the hot button's in colour.
void ExpectButtonIcons(const std::string& path, const std::vector<ButtonIcon>& icons, int hotId = 0)
{
    const test::Picture picture = test::ReadPng(path);
    for (const ButtonIcon& b : icons) {
        SCOPED_TRACE(path + ", button " + std::to_string(b.id));
        const test::Rgb face = test::CommonestColour(picture, b.button);
        EXPECT_GT(test::CountOtherThan(picture, b.icon, face), 20) << "no icon";
        if (b.greyWhileIdle && b.id != hotId)
            EXPECT_EQ(test::CountColoured(picture, b.icon), 0) << "the idle icon is not grey";
        else
            EXPECT_GT(test::CountColoured(picture, b.icon), 20) << "the icon is not in colour";
    }
}

// An item of an open pop-up menu: its command and where the cell of its image column (the
// column less the ring where a selected item's frame runs) lies in the screenshot.
struct MenuItemCell {
    UINT command;
    test::Box cell;
};

// A picture of the pop-up at position on the menu bar, and its items as they lay when it
// was taken (those of its sub-menu at position submenu, when that is open).
struct MenuShot {
    int position;
    std::string path;
    std::vector<MenuItemCell> items;
    // Keys pressed on the pop-up before the picture, after the one that highlights its first
    // item (VK_RIGHT on an item with a sub-menu opens it).
    std::vector<UINT> keys = {};
    int submenu = -1;
};

// The pop-up menu window on the screen; null when none is shown.
HWND ShownPopupMenu()
{
    for (HWND popup = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); popup;
         popup = FindWindowExW(nullptr, popup, L"#32768", nullptr))
        if (IsWindowVisible(popup))
            return popup;
    return nullptr;
}

void Shoot(HWND window, MenuShot& shot)
{
    SaveScreenshot(window, shot.path);
    HMENU popup = GetSubMenu(GetMenu(window), shot.position);
    if (shot.submenu >= 0)
        popup = GetSubMenu(popup, shot.submenu);
    const int gap = controls::MenuGap(g_menuImageEffects != 0);
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        RECT item{};
        if (!GetMenuItemRect(nullptr, popup, static_cast<UINT>(i), &item))
            continue;  // not on the screen
        const controls::Rect cell =
            controls::LayoutFlatItem({item.left, item.top, item.right, item.bottom}, {}, gap, false).cell;
        shot.items.push_back({GetMenuItemID(popup, i),
                              InScreenshot(window, RECT{cell.left, cell.top, cell.right, cell.bottom})});
    }
}

// The menu runs its own loop once open: a thread timer, dispatched by that loop, moves the
// highlight onto the first item, presses each shot's keys and takes its picture in turn,
// going right along the menu bar with the arrow key between them (a second click on the
// bar under Wine opens the pop-up of the first one again), and closes the menu. After each
// key a tick passes for its drawing.
HWND g_menuOwner = nullptr;
std::vector<MenuShot>* g_menuShots = nullptr;
int g_menuTicks = 0;
std::size_t g_menuShot = 0;  // the shot being prepared
std::size_t g_menuKey = 0;   // its next key

void CALLBACK WhileMenuIsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = ShownPopupMenu();
    ++g_menuTicks;
    if (popup && g_menuTicks == 1) {
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        return;
    }
    if (popup && g_menuTicks % 2 == 1)
        return;  // the last key's drawing is done by the next tick
    if (popup && g_menuShot < g_menuShots->size()) {
        MenuShot& shot = (*g_menuShots)[g_menuShot];
        if (g_menuKey < shot.keys.size()) {
            PostMessageW(popup, WM_KEYDOWN, shot.keys[g_menuKey++], 0);
            return;
        }
        Shoot(g_menuOwner, shot);
        g_menuKey = 0;
        if (++g_menuShot < g_menuShots->size()) {
            for (int i = shot.position; i < (*g_menuShots)[g_menuShot].position; ++i)
                PostMessageW(g_menuOwner, WM_KEYDOWN, VK_RIGHT, 0);
            return;
        }
    }
    KillTimer(nullptr, timer);
    g_menuTicks = -1;  // done
    EndMenu();
}

// Opens the pop-up of the first shot's item on the menu bar as a click on it would, and
// takes the pictures of shots, whose positions go from left to right.
void ShootOpenMenus(HWND window, std::vector<MenuShot>& shots)
{
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(window, GetMenu(window), static_cast<UINT>(shots.front().position), &item));
    g_menuOwner = window;
    g_menuShots = &shots;
    g_menuTicks = 0;
    g_menuShot = g_menuKey = 0;
    SetTimer(nullptr, 0, 300, WhileMenuIsOpen);
    SetCursorPos(item.left + 8, item.top + 6);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(item.left + 8, item.top + 6));
    PostMessageW(window, WM_NCLBUTTONUP, HTMENU, MAKELPARAM(item.left + 8, item.top + 6));
    for (int i = 0; i < 200 && g_menuTicks >= 0; ++i) {
        Pump();
        Sleep(20);
    }
}

// The items that have an image show it in their cell; the cell of the others is plain.
void ExpectMenuImages(const MenuShot& shot, std::size_t count)
{
    const std::set<UINT> withImage = {IDM_ABOUT, IDM_HELP, IDM_VISIT_SITE, IDM_OPEN_FOLDER, IDM_OPEN_FILE};
    const test::Picture picture = test::ReadPng(shot.path);
    ASSERT_EQ(shot.items.size(), count) << shot.path << ": items found on the screen";
    for (const MenuItemCell& item : shot.items) {
        SCOPED_TRACE(shot.path + ", command " + std::to_string(item.command));
        const test::Rgb background = test::CommonestColour(picture, item.cell);
        if (withImage.count(item.command))
            EXPECT_GT(test::CountOtherThan(picture, item.cell, background), 20) << "no image";
        else
            EXPECT_EQ(test::CountColours(picture, item.cell), 1u) << "something in the image column";
    }
}

// The cell of the checked item shows its mark in the menu text colour, a tick or the dot of
// a radio choice; the cells of the other items are plain.
void ExpectMark(const MenuShot& shot, std::size_t count, UINT checked, test::Mark mark)
{
    const test::Picture picture = test::ReadPng(shot.path);
    ASSERT_EQ(shot.items.size(), count) << shot.path << ": items found on the screen";
    for (const MenuItemCell& item : shot.items) {
        SCOPED_TRACE(shot.path + ", command " + std::to_string(item.command));
        if (item.command == checked)
            EXPECT_EQ(test::FindMark(picture, item.cell, Rgb(GetSysColor(COLOR_MENUTEXT))), mark);
        else
            EXPECT_EQ(test::CountColours(picture, item.cell), 1u) << "a mark where none belongs";
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
    const std::string fileMenuShot = ScreenshotPath("main_window_file_menu.png");
    const std::string helpMenuShot = ScreenshotPath("main_window_help_menu.png");
    const std::string aboutShot = ScreenshotPath("about_box.png");
    const std::string contentShot = ScreenshotPath("add_content.png");
    const std::vector<std::string> shots = {mainShot, hotShot, fileMenuShot, helpMenuShot, aboutShot, contentShot};
    for (const std::string& shot : shots)
        DeleteFileW(ui::Widen(shot).c_str());
    std::vector<ButtonIcon> icons;
    std::vector<MenuShot> menus = {{0, fileMenuShot, {}}, {2, helpMenuShot, {}}};
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
        icons = ButtonIcons(w);
        Hover(w, IDC_DELETE);
        SaveScreenshot(w, hotShot);
        SendMessageW(GetDlgItem(w, IDC_DELETE), WM_MOUSELEAVE, 0, 0);
        ShootOpenMenus(w, menus);

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
    for (const std::string& shot : shots)
        ExpectNotBlank(shot);
    ExpectButtonIcons(mainShot, icons);
    ExpectButtonIcons(hotShot, icons, IDC_DELETE);
    for (const MenuShot& menu : menus)
        ExpectMenuImages(menu, 3);
}

// Books by chapter: the 工具 menu with 按章节拆分 checked (its tick drawn in the image
// column, the columns of 总在最上面 and the two submenus plain), and the list after adding one
// novel by its chapters.
TEST_F(MainWindowTest, ScreenshotsOfBooksByChapter)
{
    const std::string listShot = ScreenshotPath("main_window_chapters.png");
    const std::string toolsShot = ScreenshotPath("main_window_tools_menu.png");
    for (const std::string& shot : {listShot, toolsShot})
        DeleteFileW(ui::Widen(shot).c_str());
    std::string novel = "三国演义\r\n罗贯中 著\r\n\r\n";
    for (const char* heading : {"第一回　宴桃园豪杰三结义　斩黄巾英雄首立功", "第二回　张翼德怒鞭督邮　何国舅谋诛宦竖",
                                "第三回　议温明董卓叱丁原　馈金珠李肃说吕布", "第四回　废汉帝陈留践位　谋董贼孟德献刀"})
        novel += std::string(heading) + "\r\n　　话说天下大势，分久必合，合久必分。\r\n";
    services.fileAnswers = {Write("三国演义.txt", novel)};
    std::vector<MenuShot> menus = {{1, toolsShot, {}}};
    Run([&](HWND w) {
        MenuCommand(w, IDM_SPLIT_CHAPTERS);
        Click(w, IDC_ADD_FILE);
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        SetCursorPos(0, 0);
        SaveScreenshot(w, listShot);
        ShootOpenMenus(w, menus);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles(), (std::vector<std::string> {"三国演义", "第一回　宴桃园豪杰三结义　斩黄巾英雄首立功",
                                                   "第二回　张翼德怒鞭督邮　何国舅谋诛宦竖",
                                                   "第三回　议温明董卓叱丁原　馈金珠李肃说吕布",
                                                   "第四回　废汉帝陈留践位　谋董贼孟德献刀"}));
    ExpectNotBlank(listShot);
    ExpectMark(menus[0], 10, IDM_SPLIT_CHAPTERS, test::Mark::tick);
}

// 工具's radio choices, each sub-menu open with a choice saved: the dot on 300 KB in
// 分卷大小, on 最小 in 压缩, on 自动 in 文本编码 (not remembered: 自动 at every start), on
// 繁体转简体 in 繁简转换.
TEST_F(MainWindowTest, ScreenshotsOfTheRadioMenus)
{
    const struct {
        const char* file;
        const char* setting;
        const char* value;
        int submenu;  // its position in 工具
        std::size_t count;
        UINT chosen;
    } cases[] = {
        {"main_window_volume_size_menu.png", "MaxJarSize", "307200", 3, 6, IDM_VOLUME_300K},
        {"main_window_compression_menu.png", "Compression", "small", 4, 3, IDM_COMPRESSION_SMALL},
        {"main_window_encoding_menu.png", "Compression", "normal", 5, 5, IDM_ENCODING_AUTO},
        {"main_window_conversion_menu.png", "Conversion", "t2s", 6, 3, IDM_CONVERT_T2S},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string shot = ScreenshotPath(c.file);
        DeleteFileW(ui::Widen(shot).c_str());
        services.settings = {{c.setting, c.value}};
        // Down from the first item of 工具 (ShootOpenMenus highlights it) to the sub-menu, then open it.
        std::vector<UINT> keys(static_cast<std::size_t>(c.submenu), VK_DOWN);
        keys.push_back(VK_RIGHT);
        std::vector<MenuShot> menus = {{1, shot, {}, keys, c.submenu}};
        Run([&](HWND w) {
            SetItemText(w, IDC_BOOK_NAME, "三国演义");
            ShootOpenMenus(w, menus);
            Click(w, IDC_CLOSE);
        });
        ExpectMark(menus[0], c.count, c.chosen, test::Mark::dot);
    }
}

// The list's context menu, as the real menu: it opens where the right-click was, and on
// the last entry 下移 is drawn grey while 上移 is in the menu's text colour.
HWND g_contextOwner = nullptr;
std::string g_contextShot;
std::vector<test::Box> g_contextItems;  // in the picture, by position
RECT g_contextWindow {};

void CALLBACK WhileContextMenuIsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popupWindow = ShownPopupMenu();
    if (!popupWindow)
        return;
    KillTimer(nullptr, timer);
    GetWindowRect(popupWindow, &g_contextWindow);
    HMENU popup = reinterpret_cast<HMENU>(SendMessageW(popupWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        RECT item {};
        GetMenuItemRect(nullptr, popup, static_cast<UINT>(i), &item);
        g_contextItems.push_back(InScreenshot(g_contextOwner, item));
    }
    SaveScreenshot(g_contextOwner, g_contextShot);
    EndMenu();
}

TEST_F(MainWindowTest, ScreenshotOfTheListContextMenu)
{
    g_contextShot = ScreenshotPath("main_window_list_menu.png");
    g_contextItems.clear();
    ui::Win32Services real;
    services.showPopup = [&](HWND owner, HMENU menu, POINT where) {
        SetTimer(nullptr, 0, 300, WhileContextMenuIsOpen);
        return real.ShowPopupMenu(owner, menu, where);
    };
    POINT clicked {};
    Run([&](HWND w) {
        g_contextOwner = w;
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        DropFiles(w, {Write("第一回.txt", "一"), Write("第二回.txt", "二"), Write("第三回.txt", "三")});
        HWND list = List(w);
        RECT item {};
        SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
        clicked = POINT {item.left + 30, (item.top + item.bottom) / 2};
        ClientToScreen(list, &clicked);
        SetCursorPos(clicked.x, clicked.y);
        SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(clicked.x, clicked.y));
        EXPECT_EQ(ListSelection(list), 2) << "the entry right-clicked is selected";
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(g_contextItems.size(), 7u) << "the menu was not seen on the screen";
    EXPECT_EQ(g_contextWindow.left, clicked.x);
    EXPECT_EQ(g_contextWindow.top, clicked.y);
    const test::Picture picture = test::ReadPng(g_contextShot);
    const auto textPixels = [&](int position) {
        return test::CountIn(picture, g_contextItems[static_cast<std::size_t>(position)],
                             {Rgb(GetSysColor(COLOR_MENUTEXT))});
    };
    EXPECT_GT(textPixels(1), 20) << "上移 in the text colour";
    EXPECT_EQ(textPixels(2), 0) << "下移 grey";
}

// The message for texts that read as nonsense, as a real message box.
TEST_F(MainWindowTest, ScreenshotOfTheImplausibleTextWarning)
{
    const std::string warningShot = ScreenshotPath("message_implausible_text.png");
    DeleteFileW(ui::Widen(warningShot).c_str());
    const std::string noise = Write("乱码.txt", test::ReadFile(test::FixturePath("traditional/random-bytes.txt")));
    ui::Win32Services real;
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        DropFiles(w, {noise});
        ASSERT_EQ(services.messages.size(), 1u);
        OnNextModal([&warningShot](HWND box) {
            SaveScreenshot(box, warningShot);
            Click(box, IDOK);
        });
        real.ShowMessage(w, services.messages[0].text, services.messages[0].type);
        Click(w, IDC_CLOSE);
    });
    ExpectNotBlank(warningShot);
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
    for (const std::string& shot : {listShot, notTextShot, inUseShot})
        DeleteFileW(ui::Widen(shot).c_str());
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
        ExpectNotBlank(shot);
}

// After a build in volumes: the line that says what was written, the settings line above
// the book fields, and the question asked when the changed list is about to be closed, as
// a real message box.
TEST_F(MainWindowTest, ScreenshotsOfTheResultLineAndTheCloseQuestion)
{
    WriteTemplate();
    services.settings = {{"MaxJarSize", "102400"}, {"SplitByChapters", "1"}};
    const std::string resultShot = ScreenshotPath("main_window_result_line.png");
    const std::string questionShot = ScreenshotPath("message_close_question.png");
    const std::string text = HardlyPackingText(40000, 3);
    ui::Win32Services real;
    std::string line;
    Run([&](HWND w) {
        GenerateThenFewer(w, "三国演义", {Write("上.txt", text), Write("中.txt", text), Write("下.txt", text)}, 2);
        line = ItemText(w, IDC_INFO_TEXT);
        SetCursorPos(0, 0);
        SaveScreenshot(w, resultShot);
        ClickListItem(List(w), 0);
        Click(w, IDC_DELETE);
        OnNextModal([&](HWND box) {
            SaveScreenshot(box, questionShot);
            Click(box, IDNO);
        });
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
        ASSERT_EQ(services.questions.size(), 1u);
        real.ShowMessage(w, services.questions[0].text, services.questions[0].type);
    });
    EXPECT_NE(line.find("已删除旧的分卷 三国演义(3).jar、三国演义(3).jad。"), std::string::npos) << line;
    for (const std::string& shot : {resultShot, questionShot})
        ExpectNotBlank(shot);
}

} // namespace
} // namespace wintest

namespace wintest {
namespace {

// The window maximised with a long novel by chapters: the list fills the screen, its frame
// counts the entries, and the settings line names the output folder chosen.
TEST_F(MainWindowTest, ScreenshotOfTheMaximisedWindowWithALongList)
{
    const std::string shot = ScreenshotPath("main_window_maximised.png");
    DeleteFileW(ui::Widen(shot).c_str());
    std::string novel;
    for (int i = 1; i <= 3044; ++i)
        novel += "第" + std::to_string(i) + "章 风起云涌\r\n　　正文。\r\n";
    services.settings = {{"SplitByChapters", "1"}, {"OutputFolder", Folder("电子书")}, {"MaxJarSize", "307200"}};
    int rows = 0, smallest = 0;
    const auto visibleRows = [](HWND list) {
        RECT box {};
        GetClientRect(list, &box);
        return box.bottom / static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    };
    Run([&](HWND w) {
        DropFiles(w, {Write("长篇.txt", novel)});
        smallest = visibleRows(List(w));
        MenuCommand(w, IDM_ENCODING_GBK);
        SetItemText(w, IDC_BOOK_NAME, "长篇");
        SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        Pump();
        SetCursorPos(0, 0);
        SaveScreenshot(w, shot);
        rows = visibleRows(List(w));
        EXPECT_EQ(ItemText(w, IDC_LIST_FRAME), "共 3044 项");
        EXPECT_NE(ItemText(w, IDC_SETTINGS_LINE).find("编码 GBK · 输出到 "), std::string::npos);
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    ExpectNotBlank(shot);
    EXPECT_GT(rows, smallest + 5) << "the maximised list shows many more rows than the smallest window's";
}

} // namespace
} // namespace wintest
