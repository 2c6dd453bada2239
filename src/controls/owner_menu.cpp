#include "controls/owner_menu.h"

#include "controls/menu_metrics.h"
#include "controls/menu_text.h"
#include "ui/gdi.h"
#include "ui/wide_text.h"

#include <algorithm>
#include <map>

CMenuSharedImages g_menuSharedImages;
std::vector<UINT_PTR> g_menuSharedImageIds;
controls::WindowsVersion g_windowsVersion = GetWindowsVersion();
std::vector<HMENU> g_ownedSubMenus;

int g_flatStyleWhenThemed = 1;
int g_flatStyleOtherwise = 0;
int g_classicSelectGrayed = 1;
int g_flatSelectGrayed = 0;
int g_menuImageEffects = 1;

CMenuSharedImages::~CMenuSharedImages()
{
    if (handle)
        ImageList_Destroy(handle);
}

COwnerMenuItem::~COwnerMenuItem()
{
    if (imageList)
        ImageList_Destroy(imageList);
}

namespace {

std::map<HMENU, COwnerMenu*>& HandleMap()
{
    static std::map<HMENU, COwnerMenu*> map;
    return map;
}

void Forget(std::vector<HMENU>& list, HMENU menu)
{
    list.erase(std::remove(list.begin(), list.end(), menu), list.end());
}

std::wstring MenuString(HMENU menu, UINT position)
{
    wchar_t text[512] = {};
    const int length = GetMenuStringW(menu, position, text, 512, MF_BYPOSITION);
    return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

} // namespace

HFONT CreateMenuFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return nullptr;
    return CreateFontIndirectW(&metrics.lfMenuFont);
}

COwnerMenu::COwnerMenu() = default;

COwnerMenu::~COwnerMenu() { DestroyMenu(); }

void COwnerMenu::Attach(HMENU menu)
{
    m_hMenu = menu;
    m_bOwnedByWindow = false;
    if (menu)
        HandleMap()[menu] = this;
}

bool COwnerMenu::IsOwnedMenu(HMENU menu)
{
    return menu && std::find(g_ownedSubMenus.begin(), g_ownedSubMenus.end(), menu) != g_ownedSubMenus.end();
}

COwnerMenu* COwnerMenu::FromHandle(HMENU menu)
{
    const auto found = HandleMap().find(menu);
    return found == HandleMap().end() ? nullptr : found->second;
}

void COwnerMenu::DestroyMenu()
{
    Forget(g_ownedSubMenus, m_hMenu);
    for (auto sub = m_subMenus.rbegin(); sub != m_subMenus.rend(); ++sub) {
        Forget(g_ownedSubMenus, *sub);
        if (COwnerMenu* child = FromHandle(*sub)) {
            // Destroying this menu below destroys the pop-ups inside it as well.
            child->m_bOwnedByWindow = true;
            delete child;
        }
    }
    m_subMenus.clear();
    m_items.clear();
    if (m_checkImages && !m_checkImagesBorrowed)
        ImageList_Destroy(m_checkImages);
    m_checkImages = nullptr;
    if (m_hMenu) {
        HandleMap().erase(m_hMenu);
        if (!m_bOwnedByWindow)
            ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
    }
    m_isMenuBar = FALSE;
}

bool COwnerMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEW(id)); }

bool COwnerMenu::LoadMenu(const wchar_t* name)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, name, MAKEINTRESOURCEW(4));  // RT_MENU
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    const std::vector<controls::MenuTemplateItem> bar =
        controls::ParseMenuTemplate(data, SizeofResource(module, resource));

    DestroyMenu();
    HMENU menu = CreateMenu();
    if (!menu)
        return false;
    Attach(menu);
    BuildLevel(bar);

    // The bar shows plain strings; only the pop-ups' contents are owner-drawn.
    for (int pos = 0; pos < static_cast<int>(m_items.size()); ++pos) {
        COwnerMenuItem& item = *m_items[pos];
        if (HMENU sub = GetSubMenu(m_hMenu, pos)) {
            item.flags = MF_BYPOSITION | MF_POPUP;
            ModifyMenuW(m_hMenu, pos, item.flags, reinterpret_cast<UINT_PTR>(sub), item.text.c_str());
        } else {
            item.flags = MF_BYPOSITION;
            ModifyMenuW(m_hMenu, pos, item.flags, GetMenuItemID(m_hMenu, pos), item.text.c_str());
        }
    }
    m_isMenuBar = TRUE;
    return true;
}

void COwnerMenu::BuildLevel(const std::vector<controls::MenuTemplateItem>& items)
{
    for (const controls::MenuTemplateItem& entry : items) {
        if (!entry.IsPopup()) {
            AppendItem(entry.text.c_str(), entry.flags, entry.id, -1);
            continue;
        }
        auto* sub = new COwnerMenu;
        sub->m_checkImageNormal = m_checkImageNormal;
        sub->m_checkImageSelected = m_checkImageSelected;
        sub->m_checkImages = m_checkImages;
        sub->m_checkImagesBorrowed = TRUE;
        sub->Attach(CreatePopupMenu());
        if (!sub->m_hMenu) {
            delete sub;
            continue;
        }
        AppendItem(entry.text.c_str(), entry.flags, reinterpret_cast<UINT_PTR>(sub->m_hMenu), -1);
        sub->BuildLevel(entry.items);
    }
    AlignShortcutColumn();
}

void COwnerMenu::AlignShortcutColumn()
{
    std::vector<std::wstring> texts;
    for (const auto& item : m_items)
        texts.push_back(item->text);
    ui::WindowDc dc(nullptr);
    ui::Font font(CreateMenuFont());
    ui::SelectGuard select(dc.Get(), font.Get());
    controls::AlignShortcutColumn(texts, [&](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->text = texts[i];
}

BOOL COwnerMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR commandId, int imageId)
{
    if (commandId != 0)
        flags |= MF_OWNERDRAW;
    else
        flags = MF_SEPARATOR | MF_OWNERDRAW | (flags & MF_BYPOSITION);
    if (flags & MF_POPUP) {
        g_ownedSubMenus.push_back(reinterpret_cast<HMENU>(commandId));
        m_subMenus.push_back(reinterpret_cast<HMENU>(commandId));
    }
    auto record = std::make_unique<COwnerMenuItem>();
    COwnerMenuItem& item = *record;
    m_items.push_back(std::move(record));
    if (text)
        item.text = text;
    SetItemImage(item, commandId, imageId);
    item.commandId = commandId;
    item.flags = flags;
    const BOOL appended = AppendMenuW(m_hMenu, flags, commandId, reinterpret_cast<const wchar_t*>(&item));
    if (m_isMenuBar)
        ReapplyBarPopups();
    return appended;
}

// A bar's pop-up items are plain strings: put each back that way after an append.
void COwnerMenu::ReapplyBarPopups()
{
    const int count = GetMenuItemCount(m_hMenu);
    int offset = 0;
    int first = count;
    for (int pos = 0; pos < count && first == count; ++pos) {
        const std::wstring text = MenuString(m_hMenu, pos);
        if (text.empty())
            continue;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i]->text == text) {
                offset = pos - static_cast<int>(i);
                first = pos;
                break;
            }
        }
    }
    for (int pos = first + 1; pos < count; ++pos) {
        HMENU sub = GetSubMenu(m_hMenu, pos);
        const int index = pos - offset;
        if (!sub || index < 0 || index >= static_cast<int>(m_items.size()))
            continue;
        COwnerMenuItem& item = *m_items[index];
        item.flags = MF_BYPOSITION | MF_POPUP;
        ModifyMenuW(m_hMenu, pos, item.flags, reinterpret_cast<UINT_PTR>(sub), item.text.c_str());
    }
}

void COwnerMenu::SetItemImage(COwnerMenuItem& item, UINT_PTR commandId, int imageId)
{
    if (imageId < 0) {
        const auto found = std::find(g_menuSharedImageIds.begin(), g_menuSharedImageIds.end(), commandId);
        item.sharedImageIndex =
            found == g_menuSharedImageIds.end() ? -1 : static_cast<int>(found - g_menuSharedImageIds.begin());
        return;
    }
    if (item.imageList) {
        ImageList_Destroy(item.imageList);
        item.imageList = nullptr;
    }
    const int index = AddImageToShared(imageId, commandId);
    if (index >= 0)
        item.sharedImageIndex = index;
}

void COwnerMenu::CollectCommandPositions(UINT_PTR commandId, std::vector<COwnerMenu*>& menus,
                                         std::vector<int>& positions)
{
    const int count = GetMenuItemCount(m_hMenu);
    for (int pos = 0; pos < count; ++pos) {
        if (HMENU sub = GetSubMenu(m_hMenu, pos)) {
            if (COwnerMenu* child = FromHandle(sub))
                child->CollectCommandPositions(commandId, menus, positions);
            continue;
        }
        if (GetMenuItemID(m_hMenu, pos) != commandId)
            continue;
        bool seen = false;
        for (std::size_t i = 0; i < menus.size() && !seen; ++i)
            seen = menus[i] == this && positions[i] == pos;
        if (!seen) {
            menus.push_back(this);
            positions.push_back(pos);
        }
    }
}

BOOL COwnerMenu::ModifyItem(const char* text, UINT commandId, int imageId)
{
    if (!text)
        return ModifyItem(static_cast<const wchar_t*>(nullptr), commandId, imageId);
    return ModifyItem(ui::Widen(text).c_str(), commandId, imageId);
}

BOOL COwnerMenu::ModifyItem(const wchar_t* text, UINT commandId, int imageId)
{
    std::vector<COwnerMenu*> menus;
    std::vector<int> positions;
    CollectCommandPositions(commandId, menus, positions);
    COwnerMenuItem* record = nullptr;
    auto update = [&](COwnerMenuItem& item) {
        if (text)
            item.text = text;
        item.imageState = -1;
        item.imageIndex = -1;
        SetItemImage(item, commandId, imageId);
        item.commandId = commandId;
        item.flags = (item.flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        record = &item;
    };
    for (std::size_t i = 0; i < menus.size(); ++i) {
        auto& items = menus[i]->m_items;
        if (positions[i] < static_cast<int>(items.size())) {
            update(*items[positions[i]]);
        } else {
            m_items.push_back(std::make_unique<COwnerMenuItem>());
            update(*m_items.back());
        }
    }
    if (!record) {  // not in the tree: a record all the same; Windows then refuses the change
        m_items.push_back(std::make_unique<COwnerMenuItem>());
        update(*m_items.back());
    }
    return ModifyMenuW(m_hMenu, commandId, record->flags, commandId, reinterpret_cast<const wchar_t*>(record));
}

BOOL COwnerMenu::GetItemText(UINT idOrPosition, std::wstring& out, UINT flags) const
{
    if (flags & MF_BYPOSITION) {
        if (idOrPosition >= m_items.size())
            return FALSE;
        out = m_items[idOrPosition]->text;
        return TRUE;
    }
    int pos = -1;
    COwnerMenu* menu = const_cast<COwnerMenu*>(this)->FindMenuOfCommand(idOrPosition, pos);
    return menu ? menu->GetItemText(static_cast<UINT>(pos), out, MF_BYPOSITION) : FALSE;
}

COwnerMenu* COwnerMenu::FindMenuOfCommand(UINT_PTR commandId, int& pos)
{
    const int count = GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(m_hMenu, i)) {
            if (COwnerMenu* child = FromHandle(sub)) {
                if (COwnerMenu* found = child->FindMenuOfCommand(commandId, pos))
                    return found;
            }
        } else if (GetMenuItemID(m_hMenu, i) == commandId) {
            pos = i;
            return this;
        }
    }
    pos = -1;
    return nullptr;
}

LRESULT COwnerMenu::HandleMenuChar(UINT ch, UINT menuFlags, COwnerMenu* menu)
{
    if (!menu || !(menuFlags & MF_POPUP))
        return 0;
    if (GetMenuItemCount(menu->m_hMenu) != static_cast<int>(menu->m_items.size()))
        menu->SyncWithMenu();
    std::vector<std::wstring> texts;
    for (const auto& item : menu->m_items)
        texts.push_back(item->text);
    const int pos = controls::FindMnemonic(texts, static_cast<wchar_t>(ch));
    return pos < 0 ? 0 : MAKELRESULT(pos, MNC_EXECUTE);
}

void COwnerMenu::SyncWithMenu()
{
    for (auto& item : m_items)
        item->synced = false;
    auto takeUnsynced = [&](UINT_PTR id) -> COwnerMenuItem* {
        for (auto& item : m_items) {
            if (!item->synced && item->commandId == id) {
                item->synced = true;
                return item.get();
            }
        }
        return nullptr;
    };

    std::vector<COwnerMenuItem*> order;
    std::vector<std::unique_ptr<COwnerMenuItem>> made;
    const int count = GetMenuItemCount(m_hMenu);
    for (int pos = 0; pos < count; ++pos) {
        const UINT state = GetMenuState(m_hMenu, pos, MF_BYPOSITION);
        const std::wstring text = MenuString(m_hMenu, pos);
        HMENU sub = GetSubMenu(m_hMenu, pos);
        COwnerMenuItem* item = nullptr;
        bool put = true;
        if (sub) {
            item = takeUnsynced(reinterpret_cast<UINT_PTR>(sub));
            if (item) {
                if (!text.empty())
                    item->text = text;
                put = false;  // a pop-up record found is only brought up to date
            } else {
                made.push_back(std::make_unique<COwnerMenuItem>());
                item = made.back().get();
                item->synced = true;
                item->commandId = reinterpret_cast<UINT_PTR>(sub);
                item->flags = (state & 0xEF) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP;
                item->text = text;
            }
        } else if (state & MF_SEPARATOR) {
            item = takeUnsynced(0);
            if (!item) {
                made.push_back(std::make_unique<COwnerMenuItem>());
                item = made.back().get();
                item->synced = true;
                item->flags = MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION;
            }
        } else {
            const UINT_PTR id = GetMenuItemID(m_hMenu, pos);
            item = takeUnsynced(id);
            if (item) {
                item->flags = state | MF_BYPOSITION | MF_OWNERDRAW;
                if (!text.empty())
                    item->text = text;
            } else {
                made.push_back(std::make_unique<COwnerMenuItem>());
                item = made.back().get();
                item->synced = true;
                item->commandId = id;
                item->flags = state | MF_BYPOSITION | MF_OWNERDRAW;
                item->text = text;
            }
        }
        if (put)
            ModifyMenuW(m_hMenu, pos, item->flags, item->commandId, reinterpret_cast<const wchar_t*>(item));
        order.push_back(item);
    }

    std::vector<std::unique_ptr<COwnerMenuItem>> items;
    for (COwnerMenuItem* item : order) {
        auto own = std::find_if(m_items.begin(), m_items.end(), [&](const auto& p) { return p.get() == item; });
        if (own != m_items.end()) {
            items.push_back(std::move(*own));
            continue;
        }
        auto fresh = std::find_if(made.begin(), made.end(), [&](const auto& p) { return p.get() == item; });
        items.push_back(std::move(*fresh));
    }
    m_items = std::move(items);  // records left unsynced go with the old list
}

void COwnerMenu::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    const auto* item = reinterpret_cast<const COwnerMenuItem*>(measure->itemData);
    if (!item)
        return;
    const int gap = controls::MenuGap(UseFlatStyle() && g_menuImageEffects);
    const controls::MenuIconSize icon{m_iconWidth, m_iconHeight};
    const int menuBar = GetSystemMetrics(SM_CYMENU);
    controls::MenuItemSize size;
    if (item->flags & MF_SEPARATOR) {
        size = controls::MeasureSeparator(icon, menuBar, gap);
    } else {
        // Measured in the font the item is drawn with.
        ui::WindowDc dc(nullptr);
        ui::Font font(CreateMenuFont());
        ui::SelectGuard select(dc.Get(), font.Get());
        SIZE text{};
        GetTextExtentPoint32W(dc.Get(), item->text.c_str(), static_cast<int>(item->text.size()), &text);
        size = controls::MeasureMenuItem(icon, menuBar, gap, text.cx, UseFlatStyle());
    }
    measure->itemWidth = static_cast<UINT>(size.width);
    measure->itemHeight = static_cast<UINT>(size.height);
}
