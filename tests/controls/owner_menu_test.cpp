// The owner-drawn menu's tree: built from a menu resource, images in the shared list,
// mnemonics, records brought back in step with a changed menu, and the tree's end.
#include "controls/owner_menu.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr UINT kTestMenu = 9001;

UINT State(HMENU menu, int pos) { return GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION); }

// GetMenuState puts a pop-up's item count in the high byte: the type comes from here.
bool IsOwnerDrawn(HMENU menu, int pos)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info);
    return (info.fType & MFT_OWNERDRAW) != 0;
}

ULONG_PTR ItemData(HMENU menu, int pos)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info);
    return info.dwItemData;
}

// Each test starts with an empty shared image list (no menu outlives a test) and gets the
// style switches back as they were.
class OwnerMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (g_menuSharedImages.handle)
            ImageList_Destroy(g_menuSharedImages.handle);
        g_menuSharedImages.handle = nullptr;
        g_menuSharedImageIds.clear();
    }
    void TearDown() override
    {
        g_flatStyleOtherwise = m_flatOtherwise;
        g_flatStyleWhenThemed = m_flatThemed;
    }

private:
    int m_flatOtherwise = g_flatStyleOtherwise;
    int m_flatThemed = g_flatStyleWhenThemed;
};

TEST_F(OwnerMenuTest, LoadMenuMakesPopupItemsOwnerDrawnAndKeepsTheBarPlain)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kTestMenu));
    HMENU bar = menu.GetHandle();
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    for (int pos = 0; pos < 2; ++pos) {
        EXPECT_FALSE(IsOwnerDrawn(bar, pos)) << "the bar shows plain strings";
        EXPECT_TRUE(COwnerMenu::IsOwnedMenu(GetSubMenu(bar, pos)));
    }
    wchar_t text[32] = {};
    GetMenuStringW(bar, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&File");

    HMENU file = GetSubMenu(bar, 0);
    COwnerMenu* fileMenu = COwnerMenu::FromHandle(file);
    ASSERT_TRUE(fileMenu);
    ASSERT_EQ(fileMenu->Items().size(), 4u);
    for (int pos = 0; pos < 4; ++pos) {
        EXPECT_TRUE(IsOwnerDrawn(file, pos)) << pos;
        EXPECT_EQ(ItemData(file, pos), reinterpret_cast<ULONG_PTR>(fileMenu->Items()[pos].get()))
            << "each position carries its own record";
    }
    EXPECT_TRUE(fileMenu->Items()[1]->flags & MF_SEPARATOR);
    EXPECT_EQ(fileMenu->Items()[1]->commandId, 0u);

    // The pop-up "Recent" closes "File" with its own last item: both levels are complete.
    HMENU recent = GetSubMenu(file, 3);
    ASSERT_TRUE(recent);
    EXPECT_EQ(GetMenuItemCount(recent), 2);
    EXPECT_EQ(fileMenu->Items()[3]->commandId, reinterpret_cast<UINT_PTR>(recent));
    HMENU edit = GetSubMenu(bar, 1);
    EXPECT_EQ(GetMenuItemCount(edit), 3);
    EXPECT_TRUE(State(edit, 0) & MF_GRAYED);
    EXPECT_TRUE(State(edit, 1) & MF_CHECKED);
}

TEST_F(OwnerMenuTest, ShortcutsOfEachPopupStartInOneColumn)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kTestMenu));
    std::wstring open, folder, one, two;
    ASSERT_TRUE(menu.GetItemText(9101, open, MF_BYCOMMAND));
    ASSERT_TRUE(menu.GetItemText(9102, folder, MF_BYCOMMAND));
    ASSERT_TRUE(menu.GetItemText(9111, one, MF_BYCOMMAND));
    ASSERT_TRUE(menu.GetItemText(9112, two, MF_BYCOMMAND));
    EXPECT_EQ(folder, L"打开目录(&D)") << "no tab: unchanged";
    EXPECT_EQ(one, L"One");
    for (const std::wstring* text : {&open, &two}) {
        const std::size_t tab = text->find(L'\t');
        ASSERT_NE(tab, std::wstring::npos);
        EXPECT_GT(tab, text->find(L' ') == std::wstring::npos ? 0 : text->find(L' ')) << "padded with spaces";
    }
    EXPECT_EQ(open.substr(0, 5), L"&Open");
    EXPECT_EQ(open.substr(open.find(L'\t')), L"\tCtrl+O");
    EXPECT_EQ(two.substr(two.find(L'\t')), L"\tF2");
    int pos = 0;
    EXPECT_EQ(menu.FindMenuOfCommand(9112, pos), COwnerMenu::FromHandle(GetSubMenu(GetSubMenu(menu.GetHandle(), 0), 3)));
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(menu.FindMenuOfCommand(4242, pos), nullptr);
    EXPECT_EQ(pos, -1);
}

TEST_F(OwnerMenuTest, ImagesTakeThreeSharedSlotsWithEffectsOneWithoutAndAreReplacedInPlace)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kTestMenu));
    int pos = -1;
    COwnerMenu* file = menu.FindMenuOfCommand(9101, pos);
    ASSERT_TRUE(file);

    g_flatStyleOtherwise = g_flatStyleWhenThemed = 1;  // flat, images with effects
    const std::size_t before = g_menuSharedImageIds.size();
    ASSERT_TRUE(menu.ModifyItem(static_cast<const wchar_t*>(nullptr), 9101, IDB_ABOUT));
    ASSERT_EQ(g_menuSharedImageIds.size(), before + 3);
    const int index = file->Items()[pos]->sharedImageIndex;
    EXPECT_EQ(index, static_cast<int>(before));
    EXPECT_TRUE(SharedImageHasEffects(index));
    EXPECT_EQ(ImageList_GetImageCount(g_menuSharedImages.handle), static_cast<int>(g_menuSharedImageIds.size()));
    EXPECT_TRUE(IsOwnerDrawn(file->GetHandle(), pos));
    EXPECT_EQ(file->Items()[pos]->text.substr(0, 5), L"&Open") << "a null text keeps the text";

    ASSERT_TRUE(menu.ModifyItem("新的", 9101, IDB_HELP));
    EXPECT_EQ(g_menuSharedImageIds.size(), before + 3) << "the command's slots are reused";
    EXPECT_EQ(file->Items()[pos]->sharedImageIndex, index);
    EXPECT_EQ(file->Items()[pos]->text, L"新的");

    g_flatStyleOtherwise = g_flatStyleWhenThemed = 0;  // classic: one slot per image
    ASSERT_TRUE(menu.ModifyItem(static_cast<const wchar_t*>(nullptr), 9102, IDB_OPEN_FOLDER));
    EXPECT_EQ(g_menuSharedImageIds.size(), before + 4);
    EXPECT_FALSE(SharedImageHasEffects(static_cast<int>(before + 3)));

    // An item appended later for a command with an image finds it in the shared list.
    HMENU edit = GetSubMenu(menu.GetHandle(), 1);
    COwnerMenu* editMenu = COwnerMenu::FromHandle(edit);
    ASSERT_TRUE(editMenu->AppendItem(L"again", 0, 9102, -1));
    EXPECT_EQ(editMenu->Items().back()->sharedImageIndex, static_cast<int>(before + 3));

    ASSERT_TRUE(menu.ModifyItem(static_cast<const wchar_t*>(nullptr), 9111, 4242));
    EXPECT_EQ(menu.FindMenuOfCommand(9111, pos)->Items()[pos]->sharedImageIndex, -1)
        << "a bitmap that cannot be loaded leaves the item without image";
    EXPECT_EQ(g_menuSharedImageIds.size(), before + 4);
    EXPECT_FALSE(menu.ModifyItem(static_cast<const wchar_t*>(nullptr), 5555, -1)) << "not in the menu";
}

TEST_F(OwnerMenuTest, MenuCharFindsTheMnemonicOfAPopupAndSyncsAChangedMenu)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kTestMenu));
    HMENU file = GetSubMenu(menu.GetHandle(), 0);
    HMENU edit = GetSubMenu(menu.GetHandle(), 1);
    COwnerMenu* fileMenu = COwnerMenu::FromHandle(file);
    COwnerMenu* editMenu = COwnerMenu::FromHandle(edit);

    EXPECT_EQ(menu.HandleMenuChar(L'o', MF_POPUP, fileMenu), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(menu.HandleMenuChar(L'D', MF_POPUP, fileMenu), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(menu.HandleMenuChar(L'r', MF_POPUP, fileMenu), MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(menu.HandleMenuChar(L'X', MF_POPUP, editMenu), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(menu.HandleMenuChar(L'g', MF_POPUP, editMenu), 0) << "only after an ampersand";
    EXPECT_EQ(menu.HandleMenuChar(L'o', 0, fileMenu), 0) << "not a pop-up";
    EXPECT_EQ(menu.HandleMenuChar(L'o', MF_POPUP, nullptr), 0);

    // Changed behind the menu's back: a plain item inserted at the top.
    const COwnerMenuItem* exitRecord = editMenu->Items()[2].get();
    InsertMenuW(edit, 0, MF_BYPOSITION | MF_STRING, 9124, L"&Undo");
    EXPECT_EQ(menu.HandleMenuChar(L'u', MF_POPUP, editMenu), MAKELRESULT(0, MNC_EXECUTE));
    ASSERT_EQ(editMenu->Items().size(), 4u);
    EXPECT_EQ(editMenu->Items()[3].get(), exitRecord) << "records are reused, in position order";
    EXPECT_EQ(editMenu->Items()[0]->text, L"&Undo");
    EXPECT_TRUE(IsOwnerDrawn(edit, 0));
    EXPECT_EQ(ItemData(edit, 0), reinterpret_cast<ULONG_PTR>(editMenu->Items()[0].get()));
    EXPECT_TRUE(editMenu->Items()[1]->flags & MF_GRAYED) << "flags follow the live menu";
}

TEST_F(OwnerMenuTest, MeasuresItemsAndDestroysTheWholeTree)
{
    g_flatStyleOtherwise = g_flatStyleWhenThemed = 1;
    auto menu = std::make_unique<COwnerMenu>();
    ASSERT_TRUE(menu->LoadMenu(kTestMenu));
    HMENU file = GetSubMenu(menu->GetHandle(), 0);
    COwnerMenu* fileMenu = COwnerMenu::FromHandle(file);

    MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(fileMenu->Items()[1].get())};
    fileMenu->MeasureItem(&separator);
    EXPECT_EQ(separator.itemWidth, 0u);
    EXPECT_EQ(static_cast<int>(separator.itemHeight), std::max(GetSystemMetrics(SM_CYMENU) / 2, 11));
    MEASUREITEMSTRUCT open{ODT_MENU, 0, 9101, 0, 0, reinterpret_cast<ULONG_PTR>(fileMenu->Items()[0].get())};
    fileMenu->MeasureItem(&open);
    EXPECT_GT(open.itemWidth, 16u + 7 + 8 + 40) << "room for the text";
    EXPECT_EQ(static_cast<int>(open.itemHeight), std::max(GetSystemMetrics(SM_CYMENU), 22));

    HMENU recent = GetSubMenu(file, 3);
    menu.reset();
    EXPECT_FALSE(COwnerMenu::IsOwnedMenu(file));
    EXPECT_FALSE(COwnerMenu::IsOwnedMenu(recent));
    EXPECT_EQ(COwnerMenu::FromHandle(file), nullptr);
    EXPECT_FALSE(IsMenu(file)) << "the menu and its pop-ups are gone";
}

TEST_F(OwnerMenuTest, MissingResourceLeavesTheMenuAsItWas)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kTestMenu));
    HMENU before = menu.GetHandle();
    EXPECT_FALSE(menu.LoadMenu(4321));
    EXPECT_EQ(menu.GetHandle(), before);
    EXPECT_EQ(GetMenuItemCount(before), 2);
}

} // namespace
