#include "ui/window_test_support.h"

#include "ui/wide_text.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace wintest {

namespace {

Script g_nextScript;
int g_attempts = 0;

// Every window test starts with the mouse in the desktop's corner, away from any window,
// so that a window appearing under a cursor left by an earlier test is not hovered.
class CursorParker : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { SetCursorPos(0, 0); }
};
const bool g_cursorParked = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CursorParker);
    return true;
}();

BOOL CALLBACK FindActiveDialog(HWND window, LPARAM data)
{
    auto* found = reinterpret_cast<HWND*>(data);
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    // Top-level windows come in z-order: the dialog created last comes first. Its owner is
    // disabled while it runs.
    if (std::wcscmp(cls, L"#32770") == 0 && IsWindowEnabled(window)) {
        *found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&dialog));
    // The dialog manager shows a modal dialog once its queue is empty: wait for that.
    if ((!dialog || !IsWindowVisible(dialog)) && ++g_attempts < 1000)
        return;
    KillTimer(nullptr, timer);
    Script script = std::move(g_nextScript);
    g_nextScript = nullptr;
    if (!dialog || !script) {
        ADD_FAILURE() << "no dialog came up";
        return;
    }
    Pump();
    script(dialog);
    if (IsWindow(dialog) && IsWindowVisible(dialog))
        EndDialog(dialog, -1);
}

} // namespace

void OnNextModal(Script script)
{
    g_nextScript = std::move(script);
    g_attempts = 0;
    SetTimer(nullptr, 0, 10, RunScript);
}

INT_PTR RunModal(ui::Dialog& dialog, Script script, HWND owner)
{
    OnNextModal(std::move(script));
    return dialog.DoModal(owner);
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void MenuCommand(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void DialogKey(HWND dialog, HWND focus, UINT virtualKey)
{
    SetFocus(focus);
    MSG msg{focus, WM_KEYDOWN, virtualKey, 1};
    if (!IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Pump();  // a multi-line edit box posts what it does with Esc
}

std::string Text(HWND window) { return ui::GetWindowTextUtf8(window); }

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

void SetItemText(HWND dialog, int id, const std::string& text)
{
    ui::SetWindowTextUtf8(GetDlgItem(dialog, id), text);
}

std::vector<std::string> ListItems(HWND list)
{
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        items.push_back(ui::Narrow(text));
    }
    return items;
}

int ListSelection(HWND list)
{
    if (!(GetWindowLongPtrW(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)))
        return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    int first = -1;
    SendMessageW(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first));
    return SendMessageW(list, LB_GETSELCOUNT, 0, 0) > 0 ? first : -1;
}

namespace {

LPARAM ItemPoint(HWND list, int index)
{
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

} // namespace

void ClickListItem(HWND list, int index)
{
    const LPARAM at = ItemPoint(list, index);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

void DoubleClickListItem(HWND list, int index)
{
    ClickListItem(list, index);
    const LPARAM at = ItemPoint(list, index);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

namespace {

// Top-down rows of 32-bit pixels (blue in the low byte) as a picture.
test::Picture PictureOf(const std::vector<std::uint32_t>& bgra, int width, int height)
{
    std::vector<test::Rgb> pixels;
    pixels.reserve(bgra.size());
    for (const std::uint32_t p : bgra)
        pixels.push_back(p & 0xFFFFFF);
    return test::Picture(width, height, std::move(pixels));
}

} // namespace

void SaveBitmapPng(HBITMAP bitmap, const std::string& path)
{
    BITMAP size{};
    if (!GetObjectW(bitmap, sizeof size, &size))
        throw std::runtime_error("not a bitmap: " + path);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = GetDC(nullptr);
    GdiFlush();
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != size.bmHeight)
        throw std::runtime_error("cannot read the bitmap for " + path);
    test::WritePng(PictureOf(pixels, size.bmWidth, size.bmHeight), path);
}

void SaveScreenshot(HWND window, const std::string& path)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    GdiFlush();
    RECT r{};
    GetWindowRect(window, &r);
    // A maximised window's frame lies past the screen's edges: only what is on the screen
    // can be copied from it.
    const RECT screenRect {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &r, &screenRect);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    const std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    test::WritePng(PictureOf(pixels, width, height), path);
}

test::Rgb Rgb(COLORREF colour)
{
    return test::Rgb{GetRValue(colour)} << 16 | test::Rgb{GetGValue(colour)} << 8 | GetBValue(colour);
}

test::Box InScreenshot(HWND window, const RECT& onScreen)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    return {onScreen.left - frame.left, onScreen.top - frame.top, onScreen.right - frame.left,
            onScreen.bottom - frame.top};
}

test::Box InScreenshot(HWND window, HWND child)
{
    RECT onScreen{};
    GetWindowRect(child, &onScreen);
    return InScreenshot(window, onScreen);
}

test::Box InScreenshot(HWND window, HWND child, RECT inClient)
{
    MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&inClient), 2);
    return InScreenshot(window, inClient);
}

RECT IconBox(HWND button, controls::ImageAlignment alignment)
{
    RECT client{};
    GetClientRect(button, &client);
    controls::Rect caption{0, 0, client.right, client.bottom};
    HDC screen = GetDC(nullptr);
    const int size = controls::IconSizeForDpi(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    const controls::Rect image = controls::LayoutImage(alignment, GetWindowTextLengthW(button) > 0, caption,
                                                       caption, false, size, size);
    return {image.left, image.top, image.left + size, image.top + size};
}

void DropFiles(HWND window, const std::vector<std::string>& paths)
{
    std::wstring names;
    for (const std::string& path : paths) {
        names += ui::Widen(path);
        names += L'\0';
    }
    names += L'\0';  // the list ends with two NULs
    const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

std::string ScreenshotPath(const std::string& name)
{
    const std::string folder = BOOKMAKER_SCREENSHOTS;
    CreateDirectoryW(ui::Widen(folder).c_str(), nullptr);
    return folder + "\\" + name;
}

std::vector<ControlLayout> ReadLayout(HWND dialog)
{
    std::vector<ControlLayout> layout;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        layout.push_back({GetDlgCtrlID(child), ui::Narrow(cls), Text(child), r,
                          static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE))});
    }
    return layout;
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height)
{
    // The dialog manager maps a control's origin and size each on its own.
    RECT r{x, y, width, height};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

} // namespace wintest
