// Texts of owner-drawn menu items: "label<TAB>shortcut", the shortcut column lined up
// across a pop-up, and the mnemonic ("&F") lookup of WM_MENUCHAR.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace controls {

struct MenuTextParts {
    std::wstring label;     // before the first tab (all of it without a tab)
    std::wstring shortcut;  // after the last tab; empty without a tab
    bool hasTab = false;
};
MenuTextParts SplitMenuText(const std::wstring& text);

// Pads the label of every text that has a tab with spaces until it is as wide as the
// widest label plus a space, so the shortcuts start in one column when drawn. measure
// gives a text's width in the menu font. Texts without a tab are left as they are.
void AlignShortcutColumn(std::vector<std::wstring>& texts,
                         const std::function<int(const std::wstring&)>& measure);

// The position of the first text holding "&" followed by ch, compared without case;
// -1 when none does.
int FindMnemonic(const std::vector<std::wstring>& texts, wchar_t ch);

} // namespace controls
