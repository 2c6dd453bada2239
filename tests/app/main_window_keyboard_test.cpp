// The keyboard in the main window: Tab from the top of the left column down, then the list
// and the fields; several entries selected at once (Shift/Ctrl) and removed by 删 or the
// Delete key; Ctrl+Up / Ctrl+Down moving them; 工具 > 清空列表 after asking; the list's
// context menu; the focus cue drawn on the owner-drawn buttons.
#include "app/main_window_test.h"

#include "res/resource.h"

#include <functional>

namespace wintest {
namespace {

// Five entries A..E, with the items given selected as Shift/Ctrl clicks leave them.
void FillAndSelect(HWND w, const std::vector<int>& selected)
{
    std::vector<std::string> files;
    for (const char* name : {"A", "B", "C", "D", "E"})
        files.push_back(std::string(name));
    for (const std::string& name : files) {
        OnNextModal([&](HWND edit) {
            SetItemText(edit, IDC_CONTENT_TITLE, name);
            SetItemText(edit, IDC_CONTENT_TEXT, "text " + name);
            Click(edit, IDC_CONTENT_SAVE);
            Click(edit, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
    }
    HWND list = GetDlgItem(w, IDC_SOURCES);
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    for (int index : selected)
        SendMessageW(list, LB_SETSEL, TRUE, index);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_SOURCES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::vector<int> Selected(HWND list)
{
    std::vector<int> items(static_cast<std::size_t>(SendMessageW(list, LB_GETSELCOUNT, 0, 0)));
    SendMessageW(list, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
    return items;
}

// A key pressed in the list, Ctrl held or not (the thread's key state, as GetKeyState reads it).
void ListKey(HWND list, UINT key, bool control)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, key, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST_F(MainWindowTest, SelectedEntriesGoWithDeleteOrTheDeleteButton)
{
    const struct {
        const char* how;
        std::vector<int> selected;
        std::function<void(HWND)> remove;
        std::vector<std::string> left;
        int selection;  // afterwards: the entry after the first removed
    } cases[] = {
        {"删, two apart", {1, 3}, [](HWND w) { Click(w, IDC_DELETE); }, {"A", "C", "E"}, 1},
        {"Delete key, a run", {1, 2, 3}, [](HWND w) { ListKey(GetDlgItem(w, IDC_SOURCES), VK_DELETE, false); },
         {"A", "E"}, 1},
        {"Delete key, one", {4}, [](HWND w) { ListKey(GetDlgItem(w, IDC_SOURCES), VK_DELETE, false); },
         {"A", "B", "C", "D"}, -1},
        {"删, all", {0, 1, 2, 3, 4}, [](HWND w) { Click(w, IDC_DELETE); }, {}, -1},
    };
    for (const auto& c : cases) {
        services.answers = {IDYES};
        Run([&](HWND w) {
            FillAndSelect(w, c.selected);
            c.remove(w);
            EXPECT_EQ(ListItems(List(w)), c.left) << c.how;
            EXPECT_EQ(ListSelection(List(w)), c.selection) << c.how;
            Click(w, IDC_CLOSE);
        });
        ASSERT_EQ(Titles(), c.left) << c.how;
        for (std::size_t i = 0; i < c.left.size(); ++i)
            EXPECT_EQ(Texts()[i], "text " + c.left[i]) << c.how;
    }
}

TEST_F(MainWindowTest, CtrlArrowsMoveTheSelectedEntriesAsTheArrowButtonsDo)
{
    const struct {
        const char* how;
        std::vector<int> selected;
        UINT key;
        int button;
        std::vector<std::string> order;
        std::vector<int> after;
    } cases[] = {
        {"one up", {2}, VK_UP, IDC_UP, {"A", "C", "B", "D", "E"}, {1}},
        {"a block down", {1, 2}, VK_DOWN, IDC_DOWN, {"A", "D", "B", "C", "E"}, {2, 3}},
        {"the first stays, the others close up", {0, 2}, VK_UP, IDC_UP, {"A", "C", "B", "D", "E"}, {0, 1}},
        {"the last stays", {3, 4}, VK_DOWN, IDC_DOWN, {"A", "B", "C", "D", "E"}, {3, 4}},
    };
    for (const auto& c : cases) {
        for (const bool byKey : {true, false}) {
            services.answers = {IDYES};
            Run([&](HWND w) {
                FillAndSelect(w, c.selected);
                if (byKey)
                    ListKey(List(w), c.key, true);
                else
                    Click(w, c.button);
                EXPECT_EQ(ListItems(List(w)), c.order) << c.how << byKey;
                EXPECT_EQ(Selected(List(w)), c.after) << c.how << byKey;
                Click(w, IDC_CLOSE);
            });
            EXPECT_EQ(Titles(), c.order) << c.how;
            EXPECT_EQ(Texts()[1], "text " + c.order[1]);
        }
    }
    // Up without Ctrl moves the caret, not the entries.
    services.answers = {IDYES};
    Run([&](HWND w) {
        FillAndSelect(w, {2});
        ListKey(List(w), VK_UP, false);
        EXPECT_EQ(ListItems(List(w)), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
        Click(w, IDC_CLOSE);
    });
}

TEST_F(MainWindowTest, ClearListAsksFirstAndIsGreyWhenThereIsNothing)
{
    const auto clearEnabled = [](HWND w) {
        HMENU tools = GetSubMenu(GetMenu(w), 1);
        SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), MAKELPARAM(1, FALSE));
        return !(GetMenuState(tools, IDM_CLEAR_LIST, MF_BYCOMMAND) & MF_GRAYED);
    };
    services.answers = {IDNO, IDYES};
    Run([&](HWND w) {
        EXPECT_FALSE(clearEnabled(w));
        FillAndSelect(w, {1});
        EXPECT_TRUE(clearEnabled(w));
        MenuCommand(w, IDM_CLEAR_LIST);
        EXPECT_EQ(ListItems(List(w)).size(), 5u) << "否 keeps the list";
        MenuCommand(w, IDM_CLEAR_LIST);
        EXPECT_TRUE(ListItems(List(w)).empty());
        EXPECT_EQ(ListSelection(List(w)), -1);
        Click(w, IDC_DELETE);
        EXPECT_FALSE(clearEnabled(w));
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.QuestionTexts(), (std::vector<std::string>{"清空列表中的全部内容？", "清空列表中的全部内容？"}));
    EXPECT_TRUE(Titles().empty());
    EXPECT_TRUE(Texts().empty());
}

// The screen point in the middle of a list entry, as a right-click there sends it.
LPARAM PointOfEntry(HWND list, int index)
{
    RECT item {};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT point {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &point);
    return MAKELPARAM(point.x, point.y);
}

// A right-click selects the entry under it unless it is selected already; the menu greys
// what cannot act on the selection, and its commands are those of the buttons and keys.
TEST_F(MainWindowTest, ListContextMenuActsOnTheSelection)
{
    using Item = RecordingServices::PopupItem;
    const auto menu = [](bool edit, bool up, bool down, bool remove, bool clear) {
        // 撤销删除 is grey: nothing was deleted yet.
        return std::vector<Item> {{IDM_EDIT_ENTRY, edit}, {IDC_UP, up},           {IDC_DOWN, down},
                                  {IDC_DELETE, remove},   {0, false},             {IDM_UNDO_DELETE, false},
                                  {IDM_CLEAR_LIST, clear}};
    };
    const struct {
        const char* how;
        std::vector<int> selected;
        int clicked;  // -1: the menu key, -2: below the entries
        UINT command;
        std::vector<Item> shown;
        std::vector<std::string> order;
    } cases[] = {
        {"on an entry outside the selection: it alone", {0, 1}, 3, IDC_UP, menu(true, true, true, true, true),
         {"A", "B", "D", "C", "E"}},
        {"on the selection: kept", {1, 3}, 3, IDC_DELETE, menu(false, true, true, true, true), {"A", "C", "E"}},
        {"the first entries cannot go up", {0, 1}, 1, IDC_DOWN, menu(false, false, true, true, true),
         {"C", "A", "B", "D", "E"}},
        {"the last cannot go down", {4}, -1, 0, menu(true, true, false, true, true), {"A", "B", "C", "D", "E"}},
        {"below the entries, nothing selected", {}, -2, 0, menu(false, false, false, false, true),
         {"A", "B", "C", "D", "E"}},
    };
    for (const auto& c : cases) {
        services.answers = {IDYES};
        services.popups.clear();
        services.popupAnswers = {c.command};
        Run([&](HWND w) {
            FillAndSelect(w, c.selected);
            HWND list = List(w);
            RECT box {};
            GetWindowRect(list, &box);
            const LPARAM where = c.clicked >= 0    ? PointOfEntry(list, c.clicked)
                                 : c.clicked == -1 ? static_cast<LPARAM>(-1)
                                                   : MAKELPARAM(box.left + 20, box.bottom - 5);
            // As the list box itself passes the click on to the window.
            SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), where);
            EXPECT_EQ(ListItems(list), c.order) << c.how;
            Click(w, IDC_CLOSE);
        });
        ASSERT_EQ(services.popups.size(), 1u) << c.how;
        EXPECT_EQ(services.popups[0], c.shown) << c.how;
        EXPECT_EQ(Titles(), c.order) << c.how;
    }
    // 编辑 opens the entry as a double-click does; the menu key puts the menu below it.
    services.popups.clear();
    services.popupPlaces.clear();
    services.popupAnswers = {IDM_EDIT_ENTRY};
    std::string edited;
    Run([&](HWND w) {
        FillAndSelect(w, {2});
        OnNextModal([&](HWND dialog) {
            edited = ItemText(dialog, IDC_CONTENT_TEXT);
            Click(dialog, IDOK);
        });
        SendMessageW(List(w), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(w)), -1);
        RECT item {};
        SendMessageW(List(w), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
        POINT below {item.left, item.bottom};
        ClientToScreen(List(w), &below);
        ASSERT_EQ(services.popupPlaces.size(), 1u);
        EXPECT_EQ(services.popupPlaces[0].y, below.y);
        services.answers = {IDYES};
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(edited, "text C");
}

// Tab goes down the left column from its top, then to the list, the buttons beside it and
// the fields.
TEST_F(MainWindowTest, TabRunsDownTheLeftColumnThenTheListAndTheFields)
{
    Run([&](HWND w) {
        std::vector<int> order;
        HWND at = GetDlgItem(w, IDC_ADD_FOLDER);
        for (int i = 0; i < 13; ++i) {
            order.push_back(GetDlgCtrlID(at));
            at = GetNextDlgTabItem(w, at, FALSE);
        }
        EXPECT_EQ(order, (std::vector<int>{IDC_ADD_FOLDER, IDC_ADD_FILE, IDC_ADD_CONTENT, IDC_GENERATE, IDC_ABOUT,
                                           IDC_CLOSE, IDC_SOURCES, IDC_UP, IDC_DELETE, IDC_DOWN, IDC_BOOK_NAME,
                                           IDC_AUTHOR, IDC_MAKER}));
        EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(w, GetDlgItem(w, IDC_MAKER), FALSE)), IDC_MAIL_LINK);
        EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(w, GetDlgItem(w, IDC_WEB_LINK), FALSE)), IDC_ADD_FOLDER);
        Click(w, IDC_CLOSE);
    });
}

// The focused button shows a frame of the highlight colour inside its edge once the
// keyboard is in use; no other button shows one.
TEST_F(MainWindowTest, FocusedButtonShowsTheFocusCue)
{
    const std::string path = ScreenshotPath("main_window_focus_cue.png");
    Run([&](HWND w) {
        SendMessageW(w, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        SendMessageW(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(w, IDC_GENERATE)), TRUE);
        Pump();
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        SaveScreenshot(w, path);
        const test::Picture picture = test::ReadPng(path);
        const test::Rgb highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
        for (int id : {IDC_ADD_FOLDER, IDC_ADD_FILE, IDC_GENERATE, IDC_CLOSE}) {
            const int cue = test::CountIn(picture, InScreenshot(w, GetDlgItem(w, id)), {highlight});
            if (id == IDC_GENERATE)
                EXPECT_GT(cue, 100) << "the focused button";
            else
                EXPECT_EQ(cue, 0) << id;
        }
        Click(w, IDC_CLOSE);
    });
}

} // namespace
} // namespace wintest
