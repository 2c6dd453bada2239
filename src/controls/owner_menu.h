// COwnerMenu: a menu whose pop-up items are all owner-drawn, each carrying its own record
// (COwnerMenuItem) with its text, an optional 16x15 image and the flags last given to
// Windows. Images are kept in one image list shared by every menu of the process.
#pragma once

#include "ui/menu.h"

#include <windows.h>

class COwnerMenu : public ui::Menu {
public:
    COwnerMenu();
    ~COwnerMenu() override;

    // Handles WM_MEASUREITEM and WM_DRAWITEM of an owner-drawn item of this menu's tree.
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);
    virtual void DrawItem(DRAWITEMSTRUCT* item);

    // The answer to WM_MENUCHAR for menu (a menu of this tree): the position of the first
    // item whose mnemonic is ch, to execute; 0 when there is none.
    LRESULT HandleMenuChar(UINT ch, UINT menuFlags, COwnerMenu* menu);

    // True when the handle is a pop-up that some COwnerMenu appended.
    static bool IsOwnedMenu(HMENU menu);
    // The COwnerMenu object of a handle of any menu tree; null when it has none.
    static COwnerMenu* FromHandle(HMENU menu);

    virtual void DestroyMenu();
};
