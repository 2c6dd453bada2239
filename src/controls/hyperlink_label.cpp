#include "controls/hyperlink_label.h"

#include "controls/label_layout.h"
#include "controls/link_command.h"
#include "ui/services.h"
#include "ui/wide_text.h"

#include <commctrl.h>

#include <cwchar>

namespace {

// The default value of root\subkey, any length; a registry error code (0: found). Only
// string values count.
LONG ReadRegistryDefault(HKEY root, const std::wstring& subkey, std::wstring& out)
{
    HKEY key = nullptr;
    LONG error = RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (error != ERROR_SUCCESS)
        return error;
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring value;
    error = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes);
    // The value may grow between asking its size and reading it: ask again, a few times.
    for (int attempt = 0; error == ERROR_SUCCESS; ++attempt) {
        value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        error = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes);
        if (error != ERROR_MORE_DATA || attempt == 3)
            break;
        error = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (error != ERROR_SUCCESS)
        return error;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    value.resize(wcsnlen(value.c_str(), bytes / sizeof(wchar_t)));
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
        std::wstring expanded(needed, L'\0');
        if (needed && ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed) == needed) {
            expanded.resize(needed - 1);
            value = std::move(expanded);
        }
    }
    out = std::move(value);
    return ERROR_SUCCESS;
}

controls::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

CHyperlinkLabel::~CHyperlinkLabel()
{
    // Normally the window went first (WM_DESTROY took the timer and the tooltip); if not,
    // leave it nothing that dies with this object.
    if (HWND window = GetHwnd()) {
        KillTimer(window, kHoverTimer);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_hOriginalFont), FALSE);
    }
    DestroyTip();
    ReleaseCursor();
}

void CHyperlinkLabel::SetLink(const std::string& link)
{
    m_link = link;
    if (!IsAttached())
        return;
    FitToText();
    if (m_hTip) {
        std::wstring text = ui::Widen(m_link);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = GetHwnd();
        tool.uId = kToolId;
        tool.lpszText = text.data();
        SendMessageW(m_hTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CHyperlinkLabel::SetVisited(BOOL visited)
{
    m_visited = visited;
    if (IsAttached())
        InvalidateRect(GetHwnd(), nullptr, TRUE);
}

void CHyperlinkLabel::SetLinkCursor(HCURSOR cursor)
{
    if (cursor && cursor == m_linkCursor)
        return;
    ReleaseCursor();
    m_linkCursor = cursor;
    if (!cursor)
        LoadHandCursor();
}

void CHyperlinkLabel::SetUnderlineMode(int mode)
{
    if (mode != m_underlineMode && IsAttached()) {
        const HFONT font = mode == 1 ? m_underlineFont.Get() : m_normalFont.Get();
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        InvalidateRect(GetHwnd(), nullptr, TRUE);
    }
    m_underlineMode = mode;
}

INT_PTR CHyperlinkLabel::OpenLink(const std::string& link, int showCommand)
{
    ui::IServices* services = Services();
    if (!services)
        return 0;
    const INT_PTR shellResult = services->ShellOpen(link, showCommand);
    if (shellResult > 32)
        return shellResult;

    // The browser registered for web pages, started with the link in place of "%1".
    std::wstring pageType;
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, L".htm", pageType) != ERROR_SUCCESS || pageType.empty())
        return shellResult;
    std::wstring command;
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, pageType + L"\\shell\\open\\command", command) != ERROR_SUCCESS)
        return shellResult;
    return services->StartProcess(controls::FallbackCommandLine(ui::Narrow(command), link), showCommand);
}

void CHyperlinkLabel::OnAttached()
{
    HWND window = GetHwnd();
    // Clicks are reported only with SS_NOTIFY; the keyboard reaches the label with Tab.
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | SS_NOTIFY | WS_TABSTOP);

    if (m_link.empty())
        m_link = GetText();
    if (GetText().empty())
        SetText(m_link);

    CreateFonts();
    FitToText();
    LoadHandCursor();
    SetUnderlineMode(-1);
    Subclass();
    CreateTip();
}

bool CHyperlinkLabel::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, m_isOverLink ? m_hoverColor : m_visited ? m_visitedColor : m_linkColor);
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != STN_CLICKED)
            return false;
        OnClicked();
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT CHyperlinkLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (!m_linkCursor)
            return FALSE;
        SetCursor(m_linkCursor);
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer)
            OnHoverTimer();
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(GetHwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_GETDLGCODE: {
        // Enter and Space open the link while it has the focus; Tab and the rest stay the
        // dialog's.
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE))
            return DLGC_WANTALLKEYS;
        return DLGC_STATIC;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE) {
            OnClicked();
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(GetHwnd(), nullptr, TRUE);
        break;
    case WM_PAINT: {
        // The focus cue: the text underlined as under the mouse and a dotted frame of the
        // link's colour around it.
        const bool focused = GetFocus() == GetHwnd();
        if (focused && m_underlineMode != 1)
            Send(WM_SETFONT, reinterpret_cast<WPARAM>(m_underlineFont.Get()), FALSE);
        const LRESULT painted = DefaultProc(message, wParam, lParam);
        if (focused) {
            if (m_underlineMode != 1 && !m_isOverLink)
                Send(WM_SETFONT, reinterpret_cast<WPARAM>(m_normalFont.Get()), FALSE);
            ui::WindowDc dc(GetHwnd());
            RECT client{};
            GetClientRect(GetHwnd(), &client);
            LOGBRUSH dots {BS_SOLID, m_visited ? m_visitedColor : m_linkColor, 0};
            ui::Pen pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &dots, 0, nullptr));
            ui::SelectGuard selectPen(dc.Get(), pen.Get());
            ui::SelectGuard selectBrush(dc.Get(), GetStockObject(NULL_BRUSH));
            Rectangle(dc.Get(), client.left, client.top, client.right, client.bottom);
        }
        return painted;
    }
    case WM_DESTROY:
        KillTimer(GetHwnd(), kHoverTimer);
        DestroyTip();
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void CHyperlinkLabel::CreateFonts()
{
    m_hOriginalFont = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    HGDIOBJ font = m_hOriginalFont;
    if (!font)
        font = GetStockObject(DEFAULT_GUI_FONT);
    if (!font)
        font = GetStockObject(ANSI_VAR_FONT);
    LOGFONTW face{};
    if (!font || !GetObjectW(font, sizeof face, &face))
        return;
    m_normalFont.Reset(CreateFontIndirectW(&face));
    face.lfUnderline = TRUE;
    m_underlineFont.Reset(CreateFontIndirectW(&face));
}

void CHyperlinkLabel::FitToText()
{
    HWND window = GetHwnd();
    if (!window || !m_fitToText)
        return;
    HWND parent = GetParent(window);
    RECT windowRect{};
    RECT clientRect{};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&clientRect), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&windowRect), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&clientRect), 2);

    const std::wstring text = ui::Widen(GetText());
    SIZE extent{};
    {
        ui::WindowDc dc(window);
        const HFONT measured = m_underlineFont ? m_underlineFont.Get() : reinterpret_cast<HFONT>(Send(WM_GETFONT));
        ui::SelectGuard font(dc.Get(), measured);
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    }

    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR type = style & SS_TYPEMASK;
    const controls::TextAlign align = type == SS_CENTER ? controls::TextAlign::Center
                                      : type == SS_RIGHT ? controls::TextAlign::Right
                                                         : controls::TextAlign::Left;
    const controls::Rect fitted = controls::FitLabelToText(ToRect(windowRect), ToRect(clientRect), extent.cx,
                                                           extent.cy, align, (style & SS_CENTERIMAGE) != 0);
    SetWindowPos(window, nullptr, fitted.left, fitted.top, fitted.Width(), fitted.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);

    // The tooltip's tool covers the client area as it is now.
    if (m_hTip) {
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = window;
        tool.uId = kToolId;
        GetClientRect(window, &tool.rect);
        SendMessageW(m_hTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The hand of the help program's cursors, copied so the label holds its own; where that
// program has none, the system's hand cursor (shared, never destroyed).
void CHyperlinkLabel::LoadHandCursor()
{
    if (m_linkCursor)
        return;
    const UINT length = GetWindowsDirectoryW(nullptr, 0);
    std::wstring path(length, L'\0');
    const UINT written = length ? GetWindowsDirectoryW(path.data(), length) : 0;
    if (written && written < length) {
        path.resize(written);
        path += L"\\winhlp32.exe";
        if (HMODULE module = LoadLibraryW(path.c_str())) {
            if (HCURSOR hand = LoadCursorW(module, MAKEINTRESOURCEW(106))) {
                m_linkCursor = CopyIcon(hand);
                m_bOwnsCursor = m_linkCursor != nullptr;
            }
            FreeLibrary(module);
        }
    }
    if (!m_linkCursor)
        m_linkCursor = LoadCursorW(nullptr, IDC_HAND);
}

void CHyperlinkLabel::ReleaseCursor()
{
    if (m_bOwnsCursor && m_linkCursor)
        DestroyCursor(m_linkCursor);
    m_bOwnsCursor = false;
    m_linkCursor = nullptr;
}

// One tool over the client area with the link as its text. The tooltip subclasses the
// label (TTF_SUBCLASS) to see its mouse messages: the modal dialog's loop is the system's,
// so there is no place to relay them from. The tip is owned by no window: a window owning
// a topmost tip cannot be made topmost itself under Wine ("总在最上面"); the label
// destroys the tip.
void CHyperlinkLabel::CreateTip()
{
    HWND window = GetHwnd();
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    m_hTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!m_hTip)
        return;
    std::wstring text = ui::Widen(m_link);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = kToolId;
    GetClientRect(window, &tool.rect);
    tool.lpszText = text.data();
    SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperlinkLabel::DestroyTip()
{
    if (m_hTip && IsWindow(m_hTip))
        DestroyWindow(m_hTip);
    m_hTip = nullptr;
}

void CHyperlinkLabel::OnClicked()
{
    m_isOverLink = FALSE;
    const INT_PTR result = OpenLink(m_link, SW_SHOW);
    m_visited = result > 32;
    if (m_visited) {
        SetVisited(TRUE);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportOpenError(result);
    }
}

void CHyperlinkLabel::ReportOpenError(INT_PTR code)
{
    if (ui::IServices* services = Services())
        services->ShowMessage(GetParent(GetHwnd()), controls::OpenErrorText(code), MB_OK | MB_ICONEXCLAMATION);
}

void CHyperlinkLabel::OnMouseMove()
{
    if (m_isOverLink)
        return;
    HWND window = GetHwnd();
    m_isOverLink = TRUE;
    if (m_underlineMode == -1)
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(m_underlineFont.Get()), TRUE);
    InvalidateRect(window, nullptr, TRUE);
    SetTimer(window, kHoverTimer, kHoverPollMs, nullptr);
}

// Leaving is noticed by polling: the first tick that finds the cursor outside the client
// area ends the hover.
void CHyperlinkLabel::OnHoverTimer()
{
    HWND window = GetHwnd();
    const DWORD at = GetMessagePos();
    POINT cursor{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(window, &cursor);
    RECT client{};
    GetClientRect(window, &client);
    if (PtInRect(&client, cursor))
        return;
    m_isOverLink = FALSE;
    KillTimer(window, kHoverTimer);
    if (m_underlineMode != 1)
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(m_normalFont.Get()), TRUE);
    client.bottom += 10;
    InvalidateRect(window, &client, TRUE);
}
