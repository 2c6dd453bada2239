// A menu loaded from a resource and set as a window's menu.
#pragma once

#include <windows.h>

#include <functional>

namespace ui {

class Menu {
public:
    Menu() = default;
    virtual ~Menu();  // destroys the menu unless a window owns it
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Loads the menu resource of the executable; false when it is missing.
    virtual bool Load(int resourceId);
    // Makes it the window's menu in place of the one the window had (which is destroyed);
    // the window owns it from then on.
    void SetAsMenuOf(HWND window);
    HMENU GetHandle() const { return m_hMenu; }

protected:
    HMENU m_hMenu = nullptr;
    bool m_bOwnedByWindow = false;
};

// What a command's update handler says about its menu item.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool radio = false;  // one choice among several: its check is a dot (MFT_RADIOCHECK)
};

// Asks update(id, state) about every item of a pop-up that is about to open, as a frame
// window does: separators are skipped and an item that opens a further pop-up is asked
// about under the id of that pop-up's first item, and takes only whether it is enabled
// (its items get their checks when it opens). An item whose handler returns false keeps
// its state; otherwise it is enabled or greyed, checked or not and a radio item or not as
// state says.
void UpdateMenuItems(HMENU popup, const std::function<bool(UINT id, CommandState& state)>& update);

} // namespace ui
