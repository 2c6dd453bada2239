// The three dialogs as the dialog manager builds them from the resources: every control's
// id, kind, text, place, size and style, in tab order, and the windows' own styles.
#include "res/resource.h"
#include "ui/recording_services.h"
#include "ui/wide_text.h"
#include "ui/window_test_support.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace wintest {
namespace {

struct Expected {
    int id;
    const char* className;
    const char* text;
    int x, y, width, height;
    DWORD styleMask;  // the bits of the style that are compared
    DWORD style;
};

constexpr DWORD kButtonKind = BS_TYPEMASK;
constexpr DWORD kAlign = BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER;
// WS_VSCROLL is not compared: an empty list box hides its scroll bar by clearing the bit.
constexpr DWORD kListStyle = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | LBS_MULTIPLESEL | LBS_WANTKEYBOARDINPUT;
constexpr DWORD kEditStyle = ES_AUTOHSCROLL | ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;

const char* const kInformation =
    "支持将多个文件直接拖入到界面；能自动识别GBK、UTF_8和Unicode文件；自动将大尺寸内容拆分。"
    "更多工具请访问www.qinghe.example，青禾电子书工作室开发。";

const Expected kMainWindow[] = {
    {IDC_ADD_FOLDER, "Button", "添加目录", 13, 10, 70, 20, kButtonKind | kAlign, BS_PUSHBUTTON | BS_RIGHT},
    {IDC_ADD_FILE, "Button", "添加文件", 13, 38, 70, 20, kButtonKind | kAlign, BS_PUSHBUTTON | BS_RIGHT},
    {IDC_ADD_CONTENT, "Button", "添加内容", 13, 66, 70, 20, kButtonKind | kAlign, BS_PUSHBUTTON | BS_RIGHT},
    {IDC_GENERATE, "Button", "生成电子书", 13, 94, 70, 20, kButtonKind | kAlign, BS_PUSHBUTTON | BS_RIGHT},
    {IDC_ABOUT, "Button", "关于青禾", 13, 122, 70, 20, kButtonKind | kAlign, BS_DEFPUSHBUTTON},
    {IDC_CLOSE, "Button", "关闭程序", 13, 150, 70, 20, kButtonKind | kAlign, BS_PUSHBUTTON},
    {IDC_SOURCES, "ListBox", "", 99, 11, 187, 99, kListStyle, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT},
    {IDC_UP, "Button", "", 289, 18, 21, 21, kButtonKind | kAlign, BS_PUSHBUTTON | BS_CENTER | BS_VCENTER},
    {IDC_DELETE, "Button", "删", 289, 48, 21, 21, kButtonKind | kAlign, BS_PUSHBUTTON},
    {IDC_DOWN, "Button", "", 289, 78, 21, 21, kButtonKind | kAlign, BS_PUSHBUTTON},
    {IDC_BOOK_NAME, "Edit", "", 135, 123, 172, 14, kEditStyle, ES_AUTOHSCROLL},
    {IDC_AUTHOR, "Edit", "", 135, 141, 172, 14, kEditStyle, ES_AUTOHSCROLL},
    {IDC_MAKER, "Edit", "", 135, 159, 172, 14, kEditStyle, ES_AUTOHSCROLL},
    {IDC_COMMANDS_FRAME, "Button", "", 7, 0, 82, 91, kButtonKind, BS_GROUPBOX},
    {IDC_LIST_FRAME, "Button", "共 0 项", 95, 0, 218, 113, kButtonKind, BS_GROUPBOX},
    {IDC_SETTINGS_LINE, "Button", "", 95, 114, 218, 62, kButtonKind, BS_GROUPBOX},
    {IDC_BOOK_NAME_LABEL, "Static", "书  名：", 99, 127, 33, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_AUTHOR_LABEL, "Static", "作  者：", 99, 144, 33, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_MAKER_LABEL, "Static", "制作者：", 99, 161, 33, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_GENERATE_FRAME, "Button", "", 7, 89, 82, 27, kButtonKind, BS_GROUPBOX},
    {IDC_INFO_TEXT, "Static", kInformation, 13, 184, 296, 17, SS_TYPEMASK, SS_LEFT},
    {IDC_MAIL_LINK, "Static", "☆给青禾电子书工作室发EMAIL", 17, 206, 102, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_WEB_LINK, "Static", "☆访问青禾无线娱乐网www.qinghe.example", 141, 206, 162, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_INFO_FRAME, "Button", "", 7, 177, 307, 27, kButtonKind, BS_GROUPBOX},
    {IDC_CLOSE_FRAME, "Button", "", 7, 115, 82, 61, kButtonKind, BS_GROUPBOX},
};

const Expected kAboutBox[] = {
    {-1, "Static", "", 181, 33, 20, 20, SS_TYPEMASK, SS_ICON},
    {-1, "Static",
     "☆－－－电子书生成专家！－－－☆\n\n开发：青禾电子书工作室\n联系：bookmaker@qinghe.example\n"
     "☆☆     欢迎提出意见和建议 ☆☆\n\n青禾 www.qinghe.example",
     42, 13, 132, 63, SS_TYPEMASK, SS_LEFT},
    {IDOK, "Button", "确定", 86, 78, 50, 14, kButtonKind, BS_DEFPUSHBUTTON},
    {IDC_ABOUT_MAIL, "Static", "mailto:bookmaker@qinghe.example", 14, 103, 110, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_ABOUT_WEB, "Static", "http://www.qinghe.example/", 126, 103, 88, 8, SS_TYPEMASK, SS_LEFT},
    {-1, "Static", "", 7, 31, 20, 20, SS_TYPEMASK, SS_ICON},
    {IDC_ABOUT_VERSION, "Static", "", 14, 94, 195, 8, SS_TYPEMASK, SS_CENTER},
};

const Expected kAddContent[] = {
    {IDOK, "Button", "退出", 159, 230, 50, 14, kButtonKind, BS_DEFPUSHBUTTON},
    {IDC_CONTENT_SAVE, "Button", "保存", 55, 230, 50, 14, kButtonKind, BS_PUSHBUTTON},
    {-1, "Static", "标题：", 6, 5, 25, 8, SS_TYPEMASK, SS_LEFT},
    {IDC_CONTENT_TITLE, "Edit", "", 38, 2, 223, 14, kEditStyle, ES_AUTOHSCROLL},
    {IDC_CONTENT_FRAME, "Button", "内容(控制在1M以内)", 0, 20, 261, 205, kButtonKind | kAlign, BS_GROUPBOX | BS_CENTER},
    {IDC_CONTENT_TEXT, "Edit", "", 4, 31, 252, 190, kEditStyle | ES_AUTOVSCROLL,
     ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | ES_AUTOVSCROLL},
};

void CheckControls(HWND dialog, const Expected* expected, std::size_t count)
{
    const std::vector<ControlLayout> layout = ReadLayout(dialog);
    ASSERT_EQ(layout.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const Expected& e = expected[i];
        const ControlLayout& got = layout[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (" + e.text + ")");
        EXPECT_EQ(static_cast<UINT16>(got.id), static_cast<UINT16>(e.id));
        EXPECT_EQ(got.className, e.className);
        if ((e.style & SS_TYPEMASK) != SS_ICON || std::string(e.className) != "Static")
            EXPECT_EQ(got.text, e.text);
        const RECT want = DialogUnits(dialog, e.x, e.y, e.width, e.height);
        EXPECT_EQ(got.rect.left, want.left);
        EXPECT_EQ(got.rect.top, want.top);
        if ((e.style & SS_TYPEMASK) != SS_ICON || std::string(e.className) != "Static") {
            // An icon control takes the size of its icon.
            EXPECT_EQ(got.rect.right, want.right);
            EXPECT_EQ(got.rect.bottom, want.bottom);
        }
        EXPECT_EQ(got.style & e.styleMask, e.style);
        EXPECT_TRUE(got.style & WS_VISIBLE);
        if (std::string(e.className) == "Edit" || std::string(e.className) == "ListBox") {
            EXPECT_TRUE((got.style & WS_BORDER) || (got.exStyle & WS_EX_CLIENTEDGE)) << "a border";
            EXPECT_TRUE(got.style & WS_TABSTOP);
        }
    }
}

INT_PTR Show(int templateId, const Script& script)
{
    RecordingServices services;
    ui::Dialog dialog(templateId, services);
    return RunModal(dialog, script);
}

TEST(WindowLayout, MainWindowTemplate)
{
    Show(IDD_BOOKMAKER_DIALOG, [](HWND w) {
        CheckControls(w, kMainWindow, std::size(kMainWindow));
        EXPECT_EQ(Text(w), "青禾手机电子书制作:www.qinghe.example");
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)
            << "resizable and maximisable";
        EXPECT_TRUE(exStyle & WS_EX_ACCEPTFILES) << "drops arrive without a call";
        EXPECT_TRUE(exStyle & WS_EX_APPWINDOW) << "shown in the task bar";
        RECT client{};
        GetClientRect(w, &client);
        const RECT want = DialogUnits(w, 0, 0, 320, 217);
        EXPECT_EQ(client.right, want.right);
        EXPECT_EQ(client.bottom, want.bottom);

        // The template names menu 134.
        constexpr UINT kOpensPopup = static_cast<UINT>(-1);
        HMENU bar = GetMenu(w);
        ASSERT_TRUE(bar);
        const struct {
            int popup;
            UINT id;
            const char* text;
        } items[] = {
            {0, IDM_OPEN_FOLDER, "打开目录"}, {0, IDM_OPEN_FILE, "打开文件"}, {0, IDM_EXIT, "退出"},
            {1, IDM_ALWAYS_ON_TOP, "总在最上面"}, {1, IDM_SPLIT_CHAPTERS, "按章节拆分"},
            {1, IDM_CHAPTER_RULE, "章节规则..."}, {1, kOpensPopup, "分卷大小"}, {1, kOpensPopup, "压缩"}, {1, kOpensPopup, "文本编码"},
            {1, kOpensPopup, "繁简转换"}, {1, IDM_CLEAN_TEXT, "整理文本"}, {1, kOpensPopup, "输出文件夹"},
            {1, IDM_CLEAR_LIST, "清空列表"},
            {2, IDM_ABOUT, "关于..."}, {2, IDM_VISIT_SITE, "访问青禾网"}, {2, IDM_HELP, "帮助"},
        };
        int position[3] = {};
        for (const auto& item : items) {
            HMENU popup = GetSubMenu(bar, item.popup);
            const int at = position[item.popup]++;
            EXPECT_EQ(GetMenuItemID(popup, at), item.id);
            wchar_t text[64] = {};
            GetMenuStringW(popup, at, text, 64, MF_BYPOSITION);
            EXPECT_EQ(ui::Narrow(text), item.text);
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, i)), position[i]);
        // 工具 > 分卷大小: its sizes in the order of kVolumeSizeChoices; 工具 > 压缩: the
        // choices in the order of BookCompression; 文本编码 and 繁简转换 likewise.
        const struct {
            int position;
            UINT firstId;
            std::vector<std::string> choices;
        } submenus[] = {
            {3, IDM_VOLUME_NONE, {"不分卷", "100 KB", "300 KB", "500 KB", "1 MB", "2 MB"}},
            {4, IDM_COMPRESSION_FAST, {"快速", "标准", "最小"}},
            {5, IDM_ENCODING_AUTO, {"自动", "GBK", "Big5", "UTF-8", "UTF-16"}},
            {6, IDM_CONVERT_NONE, {"不转换", "繁体转简体", "简体转繁体"}},
            {8, IDM_OUTPUT_DEFAULT, {"默认（程序所在的文件夹）", "选择文件夹..."}},
        };
        for (const auto& submenu : submenus) {
            HMENU popup = GetSubMenu(GetSubMenu(bar, 1), submenu.position);
            ASSERT_TRUE(popup);
            ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(submenu.choices.size()));
            for (int at = 0; at < GetMenuItemCount(popup); ++at) {
                EXPECT_EQ(GetMenuItemID(popup, at), submenu.firstId + static_cast<UINT>(at));
                wchar_t text[64] = {};
                GetMenuStringW(popup, static_cast<UINT>(at), text, 64, MF_BYPOSITION);
                EXPECT_EQ(ui::Narrow(text), submenu.choices[at]);
            }
        }
    });
}

TEST(WindowLayout, AboutBoxTemplate)
{
    Show(IDD_ABOUTBOX, [](HWND w) {
        CheckControls(w, kAboutBox, std::size(kAboutBox));
        EXPECT_EQ(Text(w), "帮助");
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU);
        RECT client{};
        GetClientRect(w, &client);
        const RECT want = DialogUnits(w, 0, 0, 223, 127);
        EXPECT_EQ(client.right, want.right);
        EXPECT_EQ(client.bottom, want.bottom);
        for (HWND child = GetWindow(w, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                EXPECT_TRUE(SendMessageW(child, STM_GETICON, 0, 0)) << "icon 128 is shown";
        }
    });
}

TEST(WindowLayout, AddContentTemplate)
{
    Show(IDD_ADD_CONTENT, [](HWND w) {
        CheckControls(w, kAddContent, std::size(kAddContent));
        EXPECT_EQ(Text(w), "添加内容");
        EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), WS_MAXIMIZEBOX | WS_THICKFRAME);
        RECT client{};
        GetClientRect(w, &client);
        const RECT want = DialogUnits(w, 0, 0, 265, 249);
        EXPECT_EQ(client.right, want.right);
        EXPECT_EQ(client.bottom, want.bottom);
    });
}

TEST(WindowLayout, IconsAndMenuBitmapsAreThere)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    for (int id : {IDI_MAINFRAME, IDI_UP, IDI_DOWN, IDI_CLOSE, IDI_ADD_FOLDER, IDI_ADD_FILE,
                   IDI_ADD_CONTENT, IDI_DELETE, IDI_GENERATE}) {
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
        EXPECT_TRUE(icon) << id;
        DestroyIcon(icon);
    }
    HICON big = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_MAINFRAME), IMAGE_ICON, 32, 32, 0));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(big, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32) << "the program icon has a 32-pixel image";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(big);

    for (int id : {IDB_ABOUT, IDB_HELP, IDB_VISIT_SITE, IDB_OPEN_FOLDER, IDB_OPEN_FILE}) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
        ASSERT_TRUE(found) << id;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
        EXPECT_EQ(header->biWidth, 16) << id;
        EXPECT_EQ(header->biHeight, 15) << id;
        EXPECT_EQ(header->biBitCount, 4) << id << ": 16 colours";
    }
}

} // namespace
} // namespace wintest
