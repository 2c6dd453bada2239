// CIconButton: a flat owner-drawn push button with an icon beside, above or right of its
// caption. It lights up while the mouse is over it (a raised 1-pixel border on a brighter
// face), can show a grey copy of its icon while idle, and draws a disabled icon and
// caption embossed. It takes over an ordinary dialog push button: the template gives the
// caption and the push or default-push type, and binding makes it owner-drawn.
#pragma once

#include "controls/image_layout.h"
#include "controls/owner_menu.h"
#include "ui/control.h"

#include <windows.h>

#include <string>

class CIconButton : public ui::Button {
public:
    // The idle-icon argument of SetIcons that asks for a grey copy of the hot icon.
    static inline const HICON kGrayIdleIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(-2));
    static constexpr UINT kGrayIdleIconId = static_cast<UINT>(-2);

    // Colour slots of ShiftColor.
    enum ColorSlot : BYTE {
        kHotBackground = 0,      // hot or pressed
        kHotText = 1,
        kIdleBackground = 2,
        kIdleText = 3,
        kFocusBackground = 4,    // focused, neither hot nor pressed
        kFocusText = 5,          // kept, not drawn
        kColorSlots = 6,
    };

    CIconButton();
    ~CIconButton() override;

    // The hot icon and the idle icon (null: the hot icon in every state; kGrayIdleIcon: a
    // grey copy of the hot icon). The button owns both from now on and destroys those it
    // held before. 0, or 1 when an icon is unusable (then the button has none).
    int SetIcons(HICON hot, HICON idle);
    // The same with icon resources of the executable; idleId 0: none, kGrayIdleIconId: grey.
    int SetIcons(UINT hotId, UINT idleId);
    // Left of, above or right of the caption. 0, or 4 for a value outside the enumeration
    // (nothing changes).
    int SetImageAlignment(controls::ImageAlignment align, BOOL repaint);
    // Moves the colour of slot by delta in every channel, as far as all stay within 0..255.
    // 0, 3 for a slot out of range, 5 for a delta outside -255..255 (nothing changes).
    int ShiftColor(BYTE slot, short delta, BOOL repaint);
    // Every background the system's button face, every text its button text.
    void ResetColors(BOOL repaint);
    // Only a button made from a check-box style has a check; 0.
    int SetChecked(BOOL checked, BOOL repaint);
    BOOL IsChecked() const { return m_checked; }
    // An address or document the click opens with the shell (maximised); null or empty:
    // none.
    void SetLinkTarget(const char* link);
    // A drop-down menu: the click opens the first pop-up of menu resource menuId below the
    // button and posts the chosen command to target as WM_COMMAND. 0, or 1 when the menu
    // cannot be loaded.
    int SetMenu(int menuId, HWND target);

protected:
    void OnAttached() override;
    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    virtual void PaintBackground(HDC dc, const RECT& rect);
    virtual void PaintBorder(HDC dc, const RECT& rect);

private:
    struct Icon {
        HICON handle = nullptr;
        int width = 0;
        int height = 0;
    };

    void OnClicked();
    void OnMouseMove(WPARAM flags, LPARAM at);
    void EndHover();
    void Repaint();
    void DestroyIcons();
    // Width and height from the icon's hot spot (twice each); false when the icon is unusable.
    static bool ReadIconSize(Icon& icon);
    // A grey copy of icon: every pixel that is not pure black becomes the grey of its
    // luminance; transparency is kept. Null when it cannot be made.
    HICON MakeGrayIcon(HICON icon) const;
    void DrawImage(HDC dc, bool hasCaption, const controls::Rect& item, controls::Rect& caption);
    void DrawCaption(HDC dc, const std::wstring& caption, controls::Rect box);
    void EnsureToolTip();
    bool HasMenu() const { return m_menu.GetHandle() != nullptr; }

    bool m_isFlat = true;
    bool m_isHover = false;
    bool m_isPressed = false;
    bool m_hasFocus = false;
    bool m_isDisabled = false;
    bool m_isDefault = false;
    bool m_isCheckBox = false;
    BOOL m_checked = FALSE;
    controls::ImageAlignment m_alignment = controls::ImageAlignment::Left;
    bool m_drawBorder = true;
    bool m_flatFocusRect = false;
    bool m_trackAlways = true;
    COLORREF m_colors[kColorSlots] = {};
    Icon m_icons[2];  // 0 hot, 1 idle
    HCURSOR m_cursor = nullptr;
    HWND m_toolTip = nullptr;
    COwnerMenu m_menu;
    HWND m_menuTarget = nullptr;
    bool m_menuShown = false;
    std::string m_linkTarget;
};
