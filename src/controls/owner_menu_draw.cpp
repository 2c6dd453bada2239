// Drawing an owner-drawn menu item in the flat style (window-coloured items, a face-
// coloured image column, a tinted selection box, faded images that lift off a shadow when
// hot) or the classic style (menu-coloured items, a solid highlight bar, 3-D frames round
// images). Every pen, brush, font and bitmap lives for one item only.
#include "controls/menu_metrics.h"
#include "controls/menu_text.h"
#include "controls/owner_menu.h"
#include "ui/gdi.h"

#include <optional>

namespace {

RECT ToRect(const controls::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
controls::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    ui::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
}

// A one-pixel frame: top and left in one colour, bottom and right in the other.
void Frame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    Fill(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

void Frame(HDC dc, const RECT& r, COLORREF colour) { Frame(dc, r, colour, colour); }

// Where an item's image comes from: its own list or the shared one.
struct ImageSource {
    HIMAGELIST list = nullptr;
    int index = -1;
    bool effects = false;  // index + 1 faded, index + 2 shadow

    bool Exists() const { return list != nullptr && index >= 0; }
};

ImageSource FindImage(const COwnerMenuItem& item, bool flat)
{
    ImageSource source;
    if (item.imageState >= 0 && item.imageList) {
        source.list = item.imageList;
        source.index = item.imageIndex;
        source.effects = flat && g_menuImageEffects && ImageList_GetImageCount(item.imageList) > 2 && item.imageIndex == 0;
    } else if (item.sharedImageIndex >= 0 && (!flat || item.imageIndex < 0) && g_menuSharedImages.handle) {
        source.list = g_menuSharedImages.handle;
        source.index = item.sharedImageIndex;
        source.effects = flat && g_menuImageEffects && SharedImageHasEffects(item.sharedImageIndex);
    }
    return source;
}

void DrawImage(HDC dc, HIMAGELIST list, int index, int x, int y)
{
    ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

// A radio item: one choice among several (MFT_RADIOCHECK), or an item with a checked-state
// bitmap of its own, as radio items are given by frameworks that draw their own dot.
bool IsRadioItem(HWND menu, UINT id)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
    return GetMenuItemInfoW(reinterpret_cast<HMENU>(menu), id, FALSE, &info) &&
           (info.hbmpChecked || (info.fType & MFT_RADIOCHECK));
}

void DrawItemText(HDC dc, const std::wstring& text, RECT rect)
{
    const controls::MenuTextParts parts = controls::SplitMenuText(text);
    DrawTextW(dc, parts.label.c_str(), static_cast<int>(parts.label.size()), &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (parts.hasTab)
        DrawTextW(dc, parts.shortcut.c_str(), static_cast<int>(parts.shortcut.size()), &rect,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

// The grayed items of the flat style are composed here and reach the screen in one copy.
// Without a buffer (no memory DC or no bitmap that big) they are drawn straight into the
// target, and nothing is copied.
class MenuMemDc {
public:
    MenuMemDc(HDC target, const RECT& rect)
        : m_target(target), m_rect(rect), m_memory(target),
          m_bitmap(m_memory.Get() ? CreateCompatibleBitmap(target, rect.right - rect.left, rect.bottom - rect.top) : nullptr),
          m_selectBitmap(m_memory.Get(), m_bitmap.Get()), m_font(m_bitmap ? CreateMenuFont() : nullptr),
          m_selectFont(m_memory.Get(), m_font.Get())
    {
        if (m_bitmap)
            SetWindowOrgEx(m_memory.Get(), rect.left, rect.top, nullptr);
    }
    ~MenuMemDc()
    {
        if (m_bitmap)
            BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
                   m_memory.Get(), m_rect.left, m_rect.top, SRCCOPY);
    }
    MenuMemDc(const MenuMemDc&) = delete;
    MenuMemDc& operator=(const MenuMemDc&) = delete;
    HDC Get() const { return m_bitmap ? m_memory.Get() : m_target; }

private:
    HDC m_target;
    RECT m_rect;
    ui::MemoryDc m_memory;
    ui::Bitmap m_bitmap;
    ui::SelectGuard m_selectBitmap;
    ui::Font m_font;
    ui::SelectGuard m_selectFont;
};

} // namespace

void DrawCheckGlyph(HDC dc, int x, int y, COLORREF color)
{
    ui::Pen pen(CreatePen(PS_SOLID, 0, color));
    ui::SelectGuard select(dc, pen.Get());
    const int tops[7] = {y + 2, y + 3, y + 4, y + 3, y + 2, y + 1, y};
    for (int i = 0; i < 7; ++i) {
        MoveToEx(dc, x + i, tops[i], nullptr);
        LineTo(dc, x + i, tops[i] + 3);
    }
}

void DrawRadioDot(HDC dc, int x, int y, COLORREF color)
{
    ui::Brush brush(CreateSolidBrush(color));
    ui::Pen pen(CreatePen(PS_SOLID, 0, color));
    ui::SelectGuard selectBrush(dc, brush.Get());
    ui::SelectGuard selectPen(dc, pen.Get());
    Ellipse(dc, x, y, x + 6, y + 6);
}

void DrawDisabledImage(HDC dc, int x, int y, int w, int h, HBITMAP bitmap, COLORREF background)
{
    // The mask: 1 where the image shows the face or highlight colour, 0 on its drawing.
    ui::MemoryDc maskDc(dc);
    ui::Bitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    ui::SelectGuard selectMask(maskDc.Get(), mask.Get());
    PatBlt(maskDc.Get(), 0, 0, w, h, WHITENESS);

    ui::MemoryDc imageDc(dc);
    ui::SelectGuard selectImage(imageDc.Get(), bitmap);
    SetBkColor(imageDc.Get(), GetSysColor(COLOR_3DFACE));
    BitBlt(maskDc.Get(), 0, 0, w, h, imageDc.Get(), 0, 0, SRCCOPY);
    SetBkColor(imageDc.Get(), GetSysColor(COLOR_BTNHIGHLIGHT));
    BitBlt(maskDc.Get(), 0, 0, w, h, imageDc.Get(), 0, 0, SRCPAINT);

    Fill(imageDc.Get(), {0, 0, w, h}, background);
    SetBkColor(imageDc.Get(), RGB(0, 0, 0));
    SetTextColor(imageDc.Get(), RGB(255, 255, 255));

    // ROP 0xE20746 (DSPDxax): where the mask is 0 the brush, elsewhere the image as it is.
    constexpr DWORD kBrushWhereMaskIsZero = 0x00E20746;
    {
        ui::Brush highlight(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
        ui::SelectGuard selectBrush(imageDc.Get(), highlight.Get());
        BitBlt(imageDc.Get(), 0, 0, w, h, maskDc.Get(), 0, 0, kBrushWhereMaskIsZero);
        BitBlt(dc, x + 1, y + 1, w, h, imageDc.Get(), 0, 0, SRCCOPY);
        BitBlt(imageDc.Get(), 1, 1, w, h, maskDc.Get(), 0, 0, kBrushWhereMaskIsZero);
    }
    {
        ui::Brush shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
        ui::SelectGuard selectBrush(imageDc.Get(), shadow.Get());
        BitBlt(imageDc.Get(), 0, 0, w, h, maskDc.Get(), 0, 0, kBrushWhereMaskIsZero);
    }
    BitBlt(dc, x, y, w, h, imageDc.Get(), 0, 0, SRCCOPY);
}

void COwnerMenu::DrawItem(DRAWITEMSTRUCT* item)
{
    const auto* record = reinterpret_cast<const COwnerMenuItem*>(item->itemData);
    if (!record)
        return;
    ui::SavedDc saved(item->hDC);
    bool flat = false;
    if (!(GetDeviceCaps(item->hDC, RASTERCAPS) & RC_PALETTE))
        flat = (IsXPThemed() ? g_flatStyleWhenThemed : g_flatStyleOtherwise) == 1;
    if (flat)
        DrawFlat(*item, *record);
    else
        DrawClassic(*item, *record);
}

void COwnerMenu::DrawFlat(DRAWITEMSTRUCT& item, const COwnerMenuItem& record)
{
    const bool themed = IsXPThemed();
    COLORREF face = GetSysColor(COLOR_3DFACE);
    if (!themed)
        face = LightenColor(face, 0.25);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF selection = LightenColor(highlight, themed ? 0.7 : 0.85);
    const int gap = controls::MenuGap(g_menuImageEffects != 0);
    const bool hasTab = controls::SplitMenuText(record.text).hasTab;
    const controls::MenuIconSize icon{m_iconWidth, m_iconHeight};
    const controls::FlatItemLayout layout = controls::LayoutFlatItem(FromRect(item.rcItem), icon, gap, hasTab);
    const RECT& rc = item.rcItem;

    const bool grayed = (item.itemState & ODS_GRAYED) != 0;
    if (grayed && !g_flatSelectGrayed)
        item.itemState &= ~ODS_SELECTED;
    std::optional<MenuMemDc> buffer;
    if (grayed)
        buffer.emplace(item.hDC, rc);
    const HDC dc = buffer ? buffer->Get() : item.hDC;

    const RECT column = ToRect(layout.column);
    if (record.flags & MF_SEPARATOR) {
        Fill(dc, rc, window);
        RECT line = ToRect(layout.separatorLine);
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        Fill(dc, column, face);
        Frame(dc, column, face);
        return;
    }

    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool checked = (item.itemState & ODS_CHECKED) != 0;
    if (selected) {
        Fill(dc, rc, selection);
        Frame(dc, rc, highlight);
    } else {
        Fill(dc, rc, window);
        Fill(dc, column, face);
        Frame(dc, rc, window);
        Frame(dc, column, face);
    }

    const ImageSource image = FindImage(record, true);
    const int x = layout.image.x, y = layout.image.y;
    const RECT cell = ToRect(layout.cell);
    if (image.Exists()) {
        if (grayed) {
            ui::Bitmap rendered(RenderImage(dc, image.list, image.index));
            if (rendered)
                DrawDisabledImage(dc, x, y, m_iconWidth, m_iconHeight, rendered.Get(), selected ? selection : face);
            if (selected)
                Frame(dc, rc, highlight);
        } else if (selected) {
            Fill(dc, cell, selection);
            if (checked) {
                Frame(dc, cell, highlight);
                DrawImage(dc, image.list, image.index, x - 1, y - 1);
            } else if (image.effects) {
                DrawImage(dc, image.list, image.index + 2, x + 1, y + 1);
                DrawImage(dc, image.list, image.index, x - 1, y - 1);
            } else {
                DrawImage(dc, image.list, image.index, x, y);
            }
        } else if (checked) {
            Fill(dc, cell, LightenColor(highlight, 0.85));
            Frame(dc, cell, highlight);
            DrawImage(dc, image.list, image.index, x - 1, y - 1);
        } else {
            Fill(dc, cell, face);
            Frame(dc, cell, face);
            DrawImage(dc, image.list, image.effects ? image.index + 1 : image.index, x, y);
        }
    } else if (checked) {
        const RECT box = ToRect(layout.checkBox);
        Fill(dc, box, LightenColor(highlight, 0.85));
        Frame(dc, box, highlight);
        if (IsRadioItem(item.hwndItem, item.itemID))
            DrawRadioDot(dc, box.left + 5, box.top + 4, GetSysColor(COLOR_MENUTEXT));
        else
            DrawCheckGlyph(dc, box.left + 5, box.top + 4, GetSysColor(COLOR_MENUTEXT));
    }

    if (!record.text.empty()) {
        COLORREF colour = GetSysColor(COLOR_MENUTEXT);
        if (grayed) {
            colour = GetSysColor(COLOR_GRAYTEXT);
            if (!themed && !selected)
                colour = LightenColor(colour, 0.4);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colour);
        DrawItemText(dc, record.text, ToRect(layout.text));
    }
}

void COwnerMenu::DrawClassic(DRAWITEMSTRUCT& item, const COwnerMenuItem& record)
{
    const HDC dc = item.hDC;
    const bool themed = IsXPThemed();
    const COLORREF back = GetSysColor(themed ? COLOR_3DFACE : COLOR_MENU);
    const RECT& rc = item.rcItem;
    const bool grayed = (item.itemState & ODS_GRAYED) != 0;
    if (grayed && (item.itemState & ODS_SELECTED) && !g_classicSelectGrayed)
        item.itemState &= ~ODS_SELECTED;
    const bool hasTab = controls::SplitMenuText(record.text).hasTab;
    const controls::ClassicItemLayout layout =
        controls::LayoutClassicItem(FromRect(rc), {m_iconWidth, m_iconHeight}, hasTab);

    if (record.flags & MF_SEPARATOR) {
        Fill(dc, rc, back);
        RECT line = ToRect(layout.separatorLine);
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }

    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool checked = (item.itemState & ODS_CHECKED) != 0;
    const ImageSource image = FindImage(record, false);
    const bool frames = g_windowsVersion >= controls::WindowsVersion::Win9x;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);

    if (selected) {
        const RECT bar = image.Exists() || checked ? ToRect(layout.selection) : rc;
        FillRect(dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        Fill(dc, rc, back);
        Frame(dc, rc, back);
    }

    const RECT inner = ToRect(layout.frameInner);
    const RECT frame = ToRect(layout.frame);
    const int x = layout.image.x, y = layout.image.y;
    if (image.Exists()) {
        Frame(dc, inner, back);
        if (grayed) {
            Frame(dc, frame, back);
            ui::Bitmap rendered(RenderImage(dc, image.list, image.index));
            if (rendered)
                DrawDisabledImage(dc, x, y, m_iconWidth, m_iconHeight, rendered.Get(), back);
        } else {
            if (selected) {
                Fill(dc, inner, back);
                if (frames) {
                    if (checked)
                        Frame(dc, frame, shadow, light);
                    else
                        Frame(dc, frame, light, shadow);
                }
            } else if (checked) {
                Fill(dc, inner, LightenColor(back, 0.6));
                if (frames)
                    Frame(dc, frame, shadow, light);
            } else {
                Fill(dc, inner, back);
                Frame(dc, frame, back);
            }
            DrawImage(dc, image.list, image.index, x, y);
        }
    } else if (checked) {
        RECT box = ToRect(layout.checkBox);
        COLORREF fill = GetSysColor(themed ? COLOR_3DFACE : COLOR_MENU);
        if (!selected)
            fill = LightenColor(fill, 0.6);
        Fill(dc, box, fill);
        if (frames)
            DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        if (IsRadioItem(item.hwndItem, item.itemID))
            DrawRadioDot(dc, box.left + 5, box.top + 4, GetSysColor(COLOR_MENUTEXT));
        else
            DrawCheckGlyph(dc, box.left + 4, box.top + 4, GetSysColor(COLOR_MENUTEXT));
    }

    if (record.text.empty())
        return;
    SetBkMode(dc, TRANSPARENT);
    const RECT text = ToRect(layout.text);
    if (!grayed) {
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    } else if (selected) {
        SetTextColor(dc, back);
    } else {
        RECT engraved = text;
        OffsetRect(&engraved, 1, 1);
        SetTextColor(dc, light);
        DrawItemText(dc, record.text, engraved);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawItemText(dc, record.text, text);
}
