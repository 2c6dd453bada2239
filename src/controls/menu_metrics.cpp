#include "controls/menu_metrics.h"

#include <algorithm>

namespace controls {

MenuItemSize MeasureSeparator(MenuIconSize icon, int menuBarHeight, int gap)
{
    return {0, std::max(menuBarHeight / 2, (icon.height + gap) / 2)};
}

MenuItemSize MeasureMenuItem(MenuIconSize icon, int menuBarHeight, int gap, int textWidth, bool flat)
{
    MenuItemSize size;
    size.width = flat ? icon.width + textWidth + gap + 8 : textWidth + 2 * icon.width + 1;
    size.height = std::max(menuBarHeight, icon.height + gap);
    return size;
}

FlatItemLayout LayoutFlatItem(const Rect& item, MenuIconSize icon, int gap, bool hasTab)
{
    FlatItemLayout layout;
    const int columnWidth = icon.width + gap;
    const int height = item.Height();
    layout.column = {item.left, item.top, item.left + columnWidth, item.bottom};
    layout.cell = {item.left + 1, item.top + 1, item.left + columnWidth - 1, item.bottom - 1};
    const int dy = std::max(0, (height - icon.height + 1) / 2);
    const int dx = std::max(0, (columnWidth - icon.width + 1) / 2);
    layout.image = {item.left + dx, item.top + dy};
    const int boxLeft = item.left + std::max(0, (columnWidth - 16 + 1) / 2);
    const int boxTop = item.top + std::max(0, (height - 16 + 1) / 2);
    layout.checkBox = {boxLeft, boxTop, boxLeft + 16, boxTop + 16};
    layout.text = {item.left + columnWidth + 8, item.top - 1, item.right, item.bottom - 1};
    if (hasTab)
        layout.text.right -= icon.width;
    layout.separatorLine = item;
    layout.separatorLine.top += height >> 1;
    layout.separatorLine.left = layout.column.right + gap;
    return layout;
}

ClassicItemLayout LayoutClassicItem(const Rect& item, MenuIconSize icon, bool hasTab)
{
    ClassicItemLayout layout;
    const int height = item.Height();
    layout.selection = {item.left + icon.width + 5, item.top, item.right, item.bottom};
    const int dy = std::max(0, (height - icon.height - 4) / 2);
    const int top = item.top + dy;
    layout.frameInner = {item.left + 1, top + 1, item.left + icon.width + 3, top + icon.height + 3};
    layout.frame = {item.left, top, item.left + icon.width + 4, top + icon.height + 4};
    layout.image = {item.left + 2, top + 2};
    layout.checkBox = {item.left + 1, top + 2, item.left + icon.width + 1, top + icon.height + 2};
    layout.text = {item.left + icon.width + 9, item.top - 1, item.right, item.bottom - 1};
    if (hasTab)
        layout.text.right -= icon.width;
    layout.separatorLine = item;
    layout.separatorLine.top += height / 2;
    return layout;
}

} // namespace controls
