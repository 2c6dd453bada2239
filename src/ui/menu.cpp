#include "ui/menu.h"

namespace ui {

Menu::~Menu()
{
    if (m_hMenu && !m_bOwnedByWindow)
        DestroyMenu(m_hMenu);
}

bool Menu::Load(int resourceId)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
    if (!menu)
        return false;
    if (m_hMenu && !m_bOwnedByWindow)
        DestroyMenu(m_hMenu);
    m_hMenu = menu;
    m_bOwnedByWindow = false;
    return true;
}

void Menu::SetAsMenuOf(HWND window)
{
    HMENU previous = GetMenu(window);
    if (!SetMenu(window, m_hMenu))
        return;
    m_bOwnedByWindow = true;
    if (previous && previous != m_hMenu)
        DestroyMenu(previous);
}

void UpdateMenuItems(HMENU popup, const std::function<bool(UINT id, CommandState& state)>& update)
{
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(popup, i);
        const bool opensPopup = id == static_cast<UINT>(-1);
        if (opensPopup) {
            HMENU sub = GetSubMenu(popup, i);
            if (!sub || GetMenuItemCount(sub) == 0)
                continue;
            id = GetMenuItemID(sub, 0);
            if (id == static_cast<UINT>(-1))
                continue;
        }
        if (id == 0)
            continue;
        const UINT current = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        CommandState state;
        state.enabled = !(current & (MF_GRAYED | MF_DISABLED));
        state.checked = (current & MF_CHECKED) != 0;
        if (!update(id, state))
            continue;
        EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
        if (opensPopup)
            continue;
        CheckMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (state.checked ? MF_CHECKED : MF_UNCHECKED));
        MENUITEMINFOW info {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (!GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info))
            continue;
        const UINT type = state.radio ? info.fType | MFT_RADIOCHECK : info.fType & ~MFT_RADIOCHECK;
        if (type != info.fType) {
            info.fType = type;
            SetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info);
        }
    }
}

} // namespace ui
