#include "controls/icon_button.h"

#include "controls/color.h"
#include "ui/gdi.h"
#include "ui/services.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

controls::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RECT ToRECT(const controls::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// A 1-pixel frame: top and left edges in topLeft (without the bottom-left and top-right
// corners), right and bottom edges in bottomRight.
void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

} // namespace

CIconButton::CIconButton() { ResetColors(FALSE); }

CIconButton::~CIconButton()
{
    DestroyIcons();
    if (m_cursor)
        DestroyCursor(m_cursor);
    if (m_toolTip && IsWindow(m_toolTip))
        DestroyWindow(m_toolTip);
}

// --- configuration ---

int CIconButton::SetIcons(HICON hot, HICON idle)
{
    DestroyIcons();
    if (hot) {
        m_icons[0].handle = hot;
        if (!ReadIconSize(m_icons[0])) {
            DestroyIcons();
            if (idle && idle != kGrayIdleIcon)
                DestroyIcon(idle);  // handed over with the hot one
            return 1;
        }
    }
    if (idle == kGrayIdleIcon) {
        if (hot) {
            m_icons[1].handle = MakeGrayIcon(hot);
            if (m_icons[1].handle && !ReadIconSize(m_icons[1]))
                m_icons[1] = {};
        }
    } else if (idle) {
        m_icons[1].handle = idle;
        if (!ReadIconSize(m_icons[1])) {
            DestroyIcons();
            return 1;
        }
    }
    Repaint();
    return 0;
}

int CIconButton::SetIcons(UINT hotId, UINT idleId)
{
    const HINSTANCE module = GetModuleHandleW(nullptr);
    // At the size the screen's DPI calls for: the icon files hold it (or the system scales
    // the nearest), so the icon grows with the caption's text.
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    const int size = controls::IconSizeForDpi(dpi);
    const auto load = [module, size](UINT id) {
        return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    };
    HICON hot = load(hotId);
    HICON idle = nullptr;
    if (idleId == kGrayIdleIconId)
        idle = kGrayIdleIcon;
    else if (idleId != 0)
        idle = load(idleId);
    return SetIcons(hot, idle);
}

int CIconButton::SetImageAlignment(controls::ImageAlignment align, BOOL repaint)
{
    if (align > controls::ImageAlignment::Right)
        return 4;
    m_alignment = align;
    if (repaint)
        Repaint();
    return 0;
}

int CIconButton::ShiftColor(BYTE slot, short delta, BOOL repaint)
{
    if (slot >= kColorSlots)
        return 3;
    if (delta < -255 || delta > 255)
        return 5;
    m_colors[slot] = controls::ShiftColor(m_colors[slot], delta);
    if (repaint)
        Repaint();
    return 0;
}

void CIconButton::ResetColors(BOOL repaint)
{
    for (int slot = 0; slot < kColorSlots; ++slot)
        m_colors[slot] = GetSysColor(slot % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
    if (repaint)
        Repaint();
}

int CIconButton::SetChecked(BOOL checked, BOOL repaint)
{
    if (m_isCheckBox) {
        m_checked = checked ? TRUE : FALSE;
        if (repaint)
            Repaint();
    }
    return 0;
}

void CIconButton::SetLinkTarget(const char* link) { m_linkTarget = link ? link : ""; }

int CIconButton::SetMenu(int menuId, HWND target)
{
    if (!m_menu.Load(menuId))
        return 1;
    m_menuTarget = target;
    return 0;
}

// --- icons ---

bool CIconButton::ReadIconSize(Icon& icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon.handle, &info))
        return false;
    ui::Bitmap color(info.hbmColor);
    ui::Bitmap mask(info.hbmMask);
    icon.width = static_cast<int>(info.xHotspot * 2);
    icon.height = static_cast<int>(info.yHotspot * 2);
    return true;
}

void CIconButton::DestroyIcons()
{
    for (Icon& icon : m_icons) {
        if (icon.handle)
            DestroyIcon(icon.handle);
        icon = {};
    }
}

HICON CIconButton::MakeGrayIcon(HICON icon) const
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return nullptr;
    ui::Bitmap color(info.hbmColor);
    ui::Bitmap mask(info.hbmMask);
    const int width = static_cast<int>(info.xHotspot * 2);
    const int height = static_cast<int>(info.yHotspot * 2);
    if (!color || width <= 0 || height <= 0)
        return nullptr;

    // The pixels as 32-bit BGRA, top row first: an icon's alpha byte survives the way
    // through (SetPixel would clear it, and the grey copy of an icon with transparency
    // would lose every pixel but the black ones).
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ui::WindowDc screen(GetHwnd());
    if (!GetDIBits(screen.Get(), color.Get(), 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS))
        return nullptr;

    for (std::uint32_t& pixel : pixels) {
        // BGRA in memory is 0xAARRGGBB; Color is 0x00BBGGRR.
        const controls::Color c =
            controls::MakeColor(static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
                                static_cast<int>(pixel & 0xFF));
        const controls::Color gray = controls::GrayOf(c);
        pixel = (pixel & 0xFF000000u) | static_cast<std::uint32_t>(controls::RedOf(gray)) << 16 |
                static_cast<std::uint32_t>(controls::GreenOf(gray)) << 8 |
                static_cast<std::uint32_t>(controls::BlueOf(gray));
    }

    void* bits = nullptr;
    ui::Bitmap grayBitmap(CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!grayBitmap || !bits)
        return nullptr;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(pixels[0]));
    GdiFlush();

    ICONINFO grayInfo{TRUE, 0, 0, mask.Get(), grayBitmap.Get()};
    return CreateIconIndirect(&grayInfo);
}

// --- binding and messages ---

void CIconButton::OnAttached()
{
    HWND window = GetHwnd();
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & 0x02)
        m_isCheckBox = true;
    if ((style & 0x1F) == BS_DEFPUSHBUTTON)
        m_isDefault = true;
    SetWindowLongPtrW(window, GWL_STYLE, (style & ~LONG_PTR{0x1F}) | BS_OWNERDRAW);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Subclass();
}

bool CIconButton::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_CTLCOLORBTN:
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnClicked();
        return false;  // the dialog still gets BN_CLICKED
    default:
        return false;
    }
}

LRESULT CIconButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every mouse message passes the (never shown) tooltip on its way. The modal loops that
    // run our dialogs are the system's, so there is no hook before dispatch: the mouse
    // messages themselves create it.
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        EnsureToolTip();
        if (m_toolTip) {
            MSG msg{GetHwnd(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
            const DWORD pos = GetMessagePos();
            msg.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
            SendMessageW(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        }
    }

    switch (message) {
    case WM_SETCURSOR:
        if (m_cursor) {
            SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        EndHover();
        return result;
    }
    case WM_ACTIVATE: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE)
            EndHover();
        return result;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        EndHover();
        return 0;
    case WM_LBUTTONDBLCLK:
        // A double click is a second press: two clicks, not BN_DOUBLECLICKED.
        return DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
    case WM_ENABLE: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        if (!wParam) {
            HWND parent = GetParent(GetHwnd());
            HWND next = GetNextDlgTabItem(parent, GetHwnd(), FALSE);
            SetFocus(next && next != GetHwnd() ? next : parent);
        }
        EndHover();
        return result;
    }
    case WM_GETDLGCODE:
        return DefaultProc(message, wParam, lParam) | (m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        const UINT type = static_cast<UINT>(wParam & BS_TYPEMASK);
        if (type == BS_DEFPUSHBUTTON)
            m_isDefault = true;
        else if (type == BS_PUSHBUTTON)
            m_isDefault = false;
        // The button stays owner-drawn whatever type the dialog manager asks for.
        return DefaultProc(message, (wParam & ~WPARAM{0x14}) | BS_OWNERDRAW, lParam);
    }
    case BM_SETCHECK:
        SetChecked(wParam == BST_CHECKED || wParam == BST_INDETERMINATE, TRUE);
        return 0;
    case BM_GETCHECK:
        return IsChecked();
    case WM_MENUCHAR: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        if (COwnerMenu::IsOwnedMenu(menu))
            return m_menu.HandleMenuChar(LOWORD(wParam), HIWORD(wParam), COwnerMenu::FromHandle(menu));
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item && item->CtlType == ODT_MENU) {
            HMENU menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item->itemID));
            if (IsMenu(menu) && COwnerMenu::IsOwnedMenu(menu)) {
                m_menu.MeasureItem(item);
                return TRUE;
            }
        }
        break;
    }
    case WM_DRAWITEM: {
        // The items of the drop-down menu, which the button owns while it is open.
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType == ODT_MENU) {
            if (COwnerMenu* menu = COwnerMenu::FromHandle(reinterpret_cast<HMENU>(item->hwndItem))) {
                menu->DrawItem(item);
                return TRUE;
            }
        }
        break;
    }
    case WM_NCDESTROY:
        if (m_toolTip && IsWindow(m_toolTip))
            DestroyWindow(m_toolTip);
        m_toolTip = nullptr;
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void CIconButton::OnMouseMove(WPARAM flags, LPARAM at)
{
    DefaultProc(WM_MOUSEMOVE, flags, at);
    HWND window = GetHwnd();
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ClientToScreen(window, &point);
    HWND under = WindowFromPoint(point);
    // A drag that enters from elsewhere does not light the button.
    if ((flags & MK_LBUTTON) && !m_isHover)
        return;
    if (under == window && (m_trackAlways || GetActiveWindow() != nullptr)) {
        if (!m_isHover) {
            m_isHover = true;
            InvalidateRect(window, nullptr, TRUE);
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            _TrackMouseEvent(&track);
        }
    } else {
        EndHover();
    }
}

void CIconButton::EndHover()
{
    if (!m_isHover)
        return;
    m_isHover = false;
    Repaint();
}

void CIconButton::Repaint()
{
    if (GetHwnd())
        InvalidateRect(GetHwnd(), nullptr, TRUE);
}

void CIconButton::OnClicked()
{
    HWND window = GetHwnd();
    SetFocus(window);
    if (m_isCheckBox) {
        m_checked = !m_checked;
        Repaint();
        return;
    }
    if (HasMenu()) {
        RECT rect{};
        GetWindowRect(window, &rect);
        m_menuShown = true;
        Repaint();
        const UINT command = static_cast<UINT>(
            TrackPopupMenu(GetSubMenu(m_menu.GetHandle(), 0), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                           rect.left, rect.bottom, 0, window, nullptr));
        m_menuShown = false;
        Repaint();
        if (command != 0 && m_menuTarget)
            PostMessageW(m_menuTarget, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return;
    }
    if (!m_linkTarget.empty() && Services())
        Services()->ShellOpen(m_linkTarget, SW_SHOWMAXIMIZED);
}

void CIconButton::EnsureToolTip()
{
    if (m_toolTip)
        return;
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    // Owned by no window: a window owning a topmost tip cannot be made topmost itself
    // under Wine ("总在最上面"). The button destroys the tip.
    m_toolTip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_toolTip)
        return;
    // No tool is ever added: the tip stays silent.
    SendMessageW(m_toolTip, TTM_ACTIVATE, FALSE, 0);
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, 400);
}

// --- drawing ---

void CIconButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    ui::SavedDc saved(dc);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    m_isPressed = m_isCheckBox ? selected || m_checked : selected || (m_menuShown && HasMenu());
    m_hasFocus = (item.itemState & ODS_FOCUS) != 0;
    m_isDisabled = (item.itemState & ODS_DISABLED) != 0;
    SetBkMode(dc, TRANSPARENT);

    PaintBackground(dc, item.rcItem);
    if (m_drawBorder && (m_isPressed || m_isHover))
        PaintBorder(dc, item.rcItem);

    const std::wstring caption = WindowText(GetHwnd());
    const controls::Rect itemRect = ToRect(item.rcItem);
    controls::Rect captionRect = itemRect;
    if (m_icons[0].handle)
        DrawImage(dc, !caption.empty(), itemRect, captionRect);
    if (!caption.empty())
        DrawCaption(dc, caption, captionRect);

    // The keyboard's focus: a frame in the highlight colour the menus select with, just
    // inside the button's edge (or the system's dotted rectangle when asked for), unless
    // the system hides focus cues until the keyboard is used.
    if (m_hasFocus && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        if (m_flatFocusRect) {
            InflateRect(&focus, -3, -3);
            DrawFocusRect(dc, &focus);
        } else {
            InflateRect(&focus, -2, -2);
            FrameRect(dc, &focus, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
    }
}

void CIconButton::PaintBackground(HDC dc, const RECT& rect)
{
    const COLORREF color = m_isHover || m_isPressed ? m_colors[kHotBackground]
                           : m_hasFocus             ? m_colors[kFocusBackground]
                                                    : m_colors[kIdleBackground];
    FillSolid(dc, rect, color);
}

void CIconButton::PaintBorder(HDC dc, const RECT& rect)
{
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (m_isPressed)
        Draw3dRect(dc, rect, shadow, highlight);
    else
        Draw3dRect(dc, rect, highlight, shadow);
}

void CIconButton::DrawImage(HDC dc, bool hasCaption, const controls::Rect& item, controls::Rect& caption)
{
    const bool idle = m_isCheckBox ? !m_isPressed : !m_isPressed && !m_isHover;
    const Icon& icon = idle && m_icons[1].handle ? m_icons[1] : m_icons[0];
    const controls::Rect image = controls::LayoutImage(m_alignment, hasCaption, item, caption,
                                                       m_isPressed && !m_isCheckBox, icon.width, icon.height);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.handle), 0, image.left, image.top,
               image.Width(), image.Height(), DST_ICON | (m_isDisabled ? DSS_DISABLED : DSS_NORMAL));
}

void CIconButton::DrawCaption(HDC dc, const std::wstring& caption, controls::Rect box)
{
    if (m_isPressed && !m_isCheckBox)
        box.Offset(1, 1);
    RECT measured = ToRECT(box);
    DrawTextW(dc, caption.c_str(), -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    RECT place = ToRECT(controls::CentreIn(ToRect(measured), box));
    if (m_isDisabled) {
        OffsetRect(&place, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), -1, &place, DT_WORDBREAK | DT_CENTER);
        OffsetRect(&place, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(dc, caption.c_str(), -1, &place, DT_WORDBREAK | DT_CENTER);
    } else {
        SetTextColor(dc, m_isHover || m_isPressed ? m_colors[kHotText] : m_colors[kIdleText]);
        DrawTextW(dc, caption.c_str(), -1, &place, DT_WORDBREAK | DT_CENTER);
    }
}
