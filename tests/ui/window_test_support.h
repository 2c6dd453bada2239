// Driving real dialogs inside a test process: a script runs inside a dialog's modal loop,
// clicks go through the controls, and what is on the screen can be saved as a PNG and
// looked into (support/picture.h reads it back).
#pragma once

#include "controls/image_layout.h"
#include "support/picture.h"
#include "ui/dialog.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

using Script = std::function<void(HWND dialog)>;

// Runs script, once, inside the modal loop of the next dialog this thread shows (it is
// the enabled, visible dialog of the thread that was shown last). If the script leaves
// that dialog open, it is ended with -1 so a failed test cannot hang.
void OnNextModal(Script script);

// Runs dialog modally with script inside its loop; returns DoModal's result.
INT_PTR RunModal(ui::Dialog& dialog, Script script, HWND owner = nullptr);

// Dispatches what is waiting in this thread's queue (paints, posted messages).
void Pump();

// A click on a dialog's button, as the user's (BM_CLICK).
void Click(HWND dialog, int id);
// The menu or accelerator command id, as the window's menu sends it.
void MenuCommand(HWND dialog, int id);
// A key as the dialog manager sees it (IsDialogMessage), e.g. VK_ESCAPE or VK_RETURN.
void DialogKey(HWND dialog, HWND focus, UINT virtualKey);

std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);

// List box 1005-style helpers: the items' texts, the selection (-1: none; the first
// selected item in a list box of several), and mouse
// clicks on an item, which make the list box send its own notifications.
std::vector<std::string> ListItems(HWND list);
int ListSelection(HWND list);
void ClickListItem(HWND list, int index);
void DoubleClickListItem(HWND list, int index);

// The window's rectangle on the screen saved as a PNG (what the X server shows), the part
// of it on the screen for a window that reaches past its edges.
void SaveScreenshot(HWND window, const std::string& path);
// A bitmap (selected into no DC) saved as a PNG.
void SaveBitmapPng(HBITMAP bitmap, const std::string& path);
// A system colour as a picture holds it.
test::Rgb Rgb(COLORREF colour);
// Where a rectangle of the screen, a child window, or a rectangle of its client area lies
// in a screenshot of window.
test::Box InScreenshot(HWND window, const RECT& onScreen);
test::Box InScreenshot(HWND window, HWND child);
test::Box InScreenshot(HWND window, HWND child, RECT inClient);
// Where an icon button draws its icon (16 x 16 at 96 DPI, larger above) in its client area
// when not pressed, as controls::LayoutImage places it.
RECT IconBox(HWND button, controls::ImageAlignment alignment);

// A drop of paths onto window, as the shell delivers it (a GlobalAlloc'd DROPFILES sent
// with WM_DROPFILES; the window frees it with DragFinish).
void DropFiles(HWND window, const std::vector<std::string>& paths);

// Where the screenshots of the window tests go (the build folder).
std::string ScreenshotPath(const std::string& name);

// The child windows of a dialog in template (tab) order, as the dialog manager made them.
struct ControlLayout {
    int id;
    std::string className;  // "Button", "Edit", "ListBox", "Static"
    std::string text;
    RECT rect;              // in the dialog's client area, pixels
    DWORD style;
    DWORD exStyle;
};
std::vector<ControlLayout> ReadLayout(HWND dialog);
// A rectangle of the template (dialog units) in the dialog's pixels.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height);

} // namespace wintest
