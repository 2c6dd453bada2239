// The menu object and the update walk that runs when a pop-up opens.
#include "res/resource.h"
#include "ui/menu.h"
#include "ui/recording_services.h"
#include "ui/window_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

UINT State(HMENU menu, UINT position) { return GetMenuState(menu, position, MF_BYPOSITION); }

bool IsRadio(HMENU menu, UINT position)
{
    MENUITEMINFOW info {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_RADIOCHECK);
}

TEST(UpdateMenuItems, AsksEachCommandOnceAndAppliesOnlyWhatAHandlerSets)
{
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 300, L"sub first");
    AppendMenuW(sub, MF_STRING, 301, L"sub second");
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 100, L"checked by its handler");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING | MF_GRAYED | MF_CHECKED, 101, L"no handler: keeps its state");
    AppendMenuW(popup, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub-menu");
    AppendMenuW(popup, MF_STRING | MF_CHECKED, 102, L"unchecked and greyed by its handler");

    std::vector<UINT> asked;
    ui::UpdateMenuItems(popup, [&](UINT id, ui::CommandState& state) {
        asked.push_back(id);
        switch (id) {
        case 100: state.checked = true; state.radio = true; return true;
        case 102: state.checked = false; state.enabled = false; return true;
        // Stands for the sub-menu item, which takes only whether it is enabled.
        case 300: state.enabled = false; state.checked = true; state.radio = true; return true;
        default: return false;
        }
    });

    EXPECT_EQ(asked, (std::vector<UINT>{100, 101, 300, 102}));
    EXPECT_TRUE(State(popup, 0) & MF_CHECKED);
    EXPECT_TRUE(IsRadio(popup, 0)) << "one choice among several: its check is a dot";
    EXPECT_FALSE(State(popup, 0) & MF_GRAYED);
    EXPECT_TRUE(State(popup, 2) & MF_GRAYED);
    EXPECT_TRUE(State(popup, 2) & MF_CHECKED);
    EXPECT_TRUE(State(popup, 3) & MF_GRAYED) << "the sub-menu item takes its first item's state";
    EXPECT_FALSE(State(popup, 3) & MF_CHECKED) << "but no check: its items get theirs when it opens";
    EXPECT_FALSE(IsRadio(popup, 3));
    EXPECT_FALSE(State(sub, 0) & MF_GRAYED) << "the first item itself is updated when its pop-up opens";
    EXPECT_FALSE(State(popup, 4) & MF_CHECKED);
    EXPECT_FALSE(IsRadio(popup, 4));
    EXPECT_TRUE(State(popup, 4) & MF_GRAYED);
    DestroyMenu(popup);
}

TEST(Menu, LoadedMenuReplacesTheWindowsMenuAndBelongsToIt)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU)),
                                  nullptr, nullptr);
    ASSERT_TRUE(window);
    HMENU fromTemplate = GetMenu(window);
    ASSERT_TRUE(fromTemplate);
    HMENU handle = nullptr;
    {
        ui::Menu menu;
        EXPECT_FALSE(menu.Load(4711));
        ASSERT_TRUE(menu.Load(IDR_MAINMENU));
        handle = menu.GetHandle();
        menu.SetAsMenuOf(window);
        EXPECT_EQ(GetMenu(window), handle);
        EXPECT_FALSE(IsMenu(fromTemplate)) << "the menu it replaced is destroyed";
    }
    EXPECT_TRUE(IsMenu(handle)) << "the window owns it now";
    DestroyWindow(window);
    EXPECT_FALSE(IsMenu(handle));

    HMENU unowned = nullptr;
    {
        ui::Menu menu;
        ASSERT_TRUE(menu.Load(IDR_MAINMENU));
        unowned = menu.GetHandle();
    }
    EXPECT_FALSE(IsMenu(unowned)) << "a menu no window took is destroyed with its object";
}

} // namespace
