// The standard menu template (the RT_MENU resource) read into a tree. The template is a
// flat list of items: a flags word, a command-id word for items that open no pop-up, and a
// zero-terminated UTF-16 text. An item that opens a pop-up is followed by the pop-up's
// items; MF_END on an item closes its level, and MF_END on a pop-up item closes the
// enclosing level once the pop-up's own items are closed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace controls {

constexpr unsigned kMenuPopup = 0x10;  // MF_POPUP
constexpr unsigned kMenuEnd = 0x80;    // MF_END

struct MenuTemplateItem {
    unsigned flags = 0;  // the item's MF_ flags, MF_END removed
    unsigned id = 0;     // command id; 0 for pop-ups and separators
    std::wstring text;
    std::vector<MenuTemplateItem> items;  // a pop-up's items

    bool IsPopup() const { return (flags & kMenuPopup) != 0; }
};

// The items of the menu bar. Reading stops where the template ends early; what was read
// up to there is kept.
std::vector<MenuTemplateItem> ParseMenuTemplate(const std::uint8_t* data, std::size_t size);

} // namespace controls
