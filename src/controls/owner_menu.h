// COwnerMenu: a menu whose pop-up items are all owner-drawn, each carrying its own record
// (COwnerMenuItem) with its text, an optional 16x15 image and the flags last given to
// Windows, so items can show an image beside their text, a drawn check mark and a
// right-aligned shortcut column. The menu bar itself keeps plain string items. Images are
// kept in one image list shared by every menu of the process, three slots per image when
// images have effects (normal, faded, shadow). Drawing is in owner_menu_draw.cpp.
#pragma once

#include "controls/menu_template.h"
#include "controls/windows_version.h"
#include "ui/menu.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

// One item of a COwnerMenu, at the same position in the menu as in m_items. Its address
// is the item data Windows hands back in WM_MEASUREITEM and WM_DRAWITEM.
struct COwnerMenuItem {
    COwnerMenuItem() = default;
    ~COwnerMenuItem();
    COwnerMenuItem(const COwnerMenuItem&) = delete;
    COwnerMenuItem& operator=(const COwnerMenuItem&) = delete;

    std::wstring text;  // "label<TAB>shortcut"; empty: none
    int imageIndex = -1;        // into imageList
    int sharedImageIndex = -1;  // into g_menuSharedImages
    int imageState = -1;        // 0: the item has an image of its own in imageList
    UINT flags = 0;             // the MF_ flags last given to Windows
    UINT_PTR commandId = 0;     // command id, the sub-menu's handle for a pop-up, 0 for a separator
    bool synced = false;        // scratch mark of SyncWithMenu
    HIMAGELIST imageList = nullptr;  // owned
};

class COwnerMenu : public ui::Menu {
public:
    COwnerMenu();
    ~COwnerMenu() override;

    // Builds the whole tree from the executable's menu resource: every pop-up item
    // owner-drawn, the bar's own items plain strings. False when the resource is missing
    // (the menu is then unchanged) or no menu could be made.
    virtual bool LoadMenu(UINT id);
    virtual bool LoadMenu(const wchar_t* name);
    bool Load(int resourceId) override { return LoadMenu(static_cast<UINT>(resourceId)); }

    // WM_MEASUREITEM and WM_DRAWITEM of an owner-drawn item of this menu.
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);
    virtual void DrawItem(DRAWITEMSTRUCT* item);

    // Destroys the tree: sub-menu objects, records and (unless a window owns it) the menu.
    virtual void DestroyMenu();

    // Appends an item; commandId 0 is a separator, MF_POPUP makes commandId a sub-menu
    // handle. imageId: a bitmap resource beside the item, or -1 for the shared image of
    // the command if there is one.
    BOOL AppendItem(const wchar_t* text, UINT flags, UINT_PTR commandId, int imageId);
    // Gives every item of the tree that runs commandId a new text (null keeps the text)
    // and the image of bitmap resource imageId.
    BOOL ModifyItem(const wchar_t* text, UINT commandId, int imageId);
    BOOL ModifyItem(const char* text, UINT commandId, int imageId);

    // The record's text at a position (MF_BYPOSITION) or of a command anywhere in the tree.
    BOOL GetItemText(UINT idOrPosition, std::wstring& out, UINT flags) const;
    // The menu of the tree (this one or a descendant, depth first) whose position pos
    // holds commandId; null with pos -1 when none does.
    COwnerMenu* FindMenuOfCommand(UINT_PTR commandId, int& pos);

    // The answer to WM_MENUCHAR: the first item of menu whose mnemonic is ch, to execute;
    // 0 when none is, or when menu is not a pop-up of ours.
    LRESULT HandleMenuChar(UINT ch, UINT menuFlags, COwnerMenu* menu);

    // Rebuilds the records from what the live menu holds (after someone changed the menu
    // with the plain menu functions).
    void SyncWithMenu();

    // True when the handle is a pop-up that some COwnerMenu appended.
    bool IsOwnedMenu() const { return IsOwnedMenu(m_hMenu); }
    static bool IsOwnedMenu(HMENU menu);
    // The COwnerMenu object of a handle of any tree; null when it has none.
    static COwnerMenu* FromHandle(HMENU menu);

    const std::vector<std::unique_ptr<COwnerMenuItem>>& Items() const { return m_items; }
    int GetIconWidth() const { return m_iconWidth; }
    int GetIconHeight() const { return m_iconHeight; }

protected:
    std::vector<std::unique_ptr<COwnerMenuItem>> m_items;
    std::vector<HMENU> m_subMenus;  // pop-ups this menu created
    int m_iconWidth = 16;
    int m_iconHeight = 15;
    COLORREF m_maskColor = RGB(192, 192, 192);
    BOOL m_useMaskColor = FALSE;  // else images are transparent on COLOR_3DFACE
    BOOL m_embossDisabled = FALSE;
    HIMAGELIST m_checkImages = nullptr;  // custom check marks; none by default
    BOOL m_checkImagesBorrowed = FALSE;
    int m_checkImageSelected = -1;
    int m_checkImageNormal = -1;
    BOOL m_addIconHandles = FALSE;  // image ids are icon handles
    BOOL m_isMenuBar = FALSE;

private:
    void Attach(HMENU menu);
    void BuildLevel(const std::vector<controls::MenuTemplateItem>& items);
    void AlignShortcutColumn();
    void ReapplyBarPopups();
    // Step 4 of adding an item: the shared image of the command, or the bitmap imageId.
    void SetItemImage(COwnerMenuItem& item, UINT_PTR commandId, int imageId);
    void CollectCommandPositions(UINT_PTR commandId, std::vector<COwnerMenu*>& menus,
                                 std::vector<int>& positions);
    // Loads bitmap resource imageId and puts it into the shared list for commandId;
    // the shared index, or -1 when the bitmap cannot be loaded.
    int AddImageToShared(int imageId, UINT_PTR commandId);
    bool AddBitmapToImageList(HIMAGELIST list, int imageId) const;
    int AddToSharedImages(HIMAGELIST list, int index, UINT_PTR commandId) const;
    // An image of list rendered on COLOR_3DFACE into a new bitmap compatible with dc.
    HBITMAP RenderImage(HDC dc, HIMAGELIST list, int index) const;
    HBITMAP RenderIcon(HDC dc, HICON icon) const;

    void DrawFlat(DRAWITEMSTRUCT& item, const COwnerMenuItem& record);
    void DrawClassic(DRAWITEMSTRUCT& item, const COwnerMenuItem& record);
};

// Process-wide tables, shared by every COwnerMenu.
class CMenuSharedImages {
public:
    ~CMenuSharedImages();
    HIMAGELIST handle = nullptr;
};
extern CMenuSharedImages g_menuSharedImages;
extern std::vector<UINT_PTR> g_menuSharedImageIds;  // the command of each slot
extern controls::WindowsVersion g_windowsVersion;   // GetWindowsVersion()
extern std::vector<HMENU> g_ownedSubMenus;          // every pop-up a COwnerMenu appended

// Switches of the drawing style.
extern int g_flatStyleWhenThemed;  // flat style on an XP-themed display (1)
extern int g_flatStyleOtherwise;   // flat style elsewhere (0; the main window sets 1)
extern int g_classicSelectGrayed;  // classic style highlights grayed items (1)
extern int g_flatSelectGrayed;     // flat style highlights grayed items (0)
extern int g_menuImageEffects;     // faded images that lift off a shadow when hot (1)

// Slots i+1 and i+2 of the shared list hold the faded and the shadow image of slot i.
bool SharedImageHasEffects(int index);
// The menu font of the system (lfMenuFont); the caller deletes it.
HFONT CreateMenuFont();

// Theme and style tests (menu_theme.cpp).
controls::WindowsVersion GetWindowsVersion();
bool IsClassicTheme();  // the "Windows Classic" theme is current; asked once
bool IsXPThemed();
bool UseFlatStyle();
COLORREF LightenColor(COLORREF color, double fraction);

// Primitives of the drawing, for the menu and its tests (owner_menu_draw.cpp).
void DrawCheckGlyph(HDC dc, int x, int y, COLORREF color);  // a 7x7 tick
void DrawRadioDot(HDC dc, int x, int y, COLORREF color);    // a 6x6 dot
// The image of bitmap (w x h, selected into no DC) engraved at (x, y): its silhouette
// in the shadow colour with a highlight edge one pixel right and down. bitmap is drawn
// over in the process.
void DrawDisabledImage(HDC dc, int x, int y, int w, int h, HBITMAP bitmap, COLORREF background);
