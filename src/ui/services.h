// What the windows ask of the system that a test cannot click through: message boxes, the
// file and folder choosers, opening documents with the shell, starting a program, the
// settings kept between runs. The program uses Win32Services; in-process tests substitute
// a recorder.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace ui {

class IServices {
public:
    virtual ~IServices() = default;

    // A message box owned by owner, captioned with the executable's name; returns the
    // button pressed (IDOK...).
    virtual int ShowMessage(HWND owner, const std::string& text, UINT type) = 0;
    // The file-open dialog, several files at once, opened in startFolder (the system's
    // choice when empty); filter in the bar-separated form that FileDialogFilter takes, the
    // first filter selected. paths: full paths, in the order the dialog gives them. False
    // when cancelled.
    virtual bool ChooseFiles(HWND owner, const std::string& filter, const std::string& startFolder,
                             std::vector<std::string>& paths) = 0;
    // The folder chooser rooted at the desktop, file-system folders only, prompt above the
    // tree, startFolder selected when it is one. False when cancelled or when the choice
    // has no file-system path.
    virtual bool ChooseFolder(HWND owner, const std::string& prompt, const std::string& startFolder,
                              std::string& path) = 0;
    // Opens a document or address with the shell ("open", show: SW_SHOW...). Returns the
    // shell's code: greater than 32 on success.
    virtual INT_PTR ShellOpen(const std::string& file, int show) = 0;
    // Starts a program from a command line (show: SW_SHOW...). Returns WinExec's codes:
    // greater than 31 when it started, else 0, ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
    // ERROR_BAD_FORMAT or another Win32 error below 32.
    virtual UINT StartProcess(const std::string& commandLine, int show) = 0;
    // A pop-up menu owned by owner with its top-left corner at where (screen coordinates),
    // tracked with either mouse button; the command chosen, or 0 when none was.
    virtual UINT ShowPopupMenu(HWND owner, HMENU menu, POINT where) = 0;
    // The program's settings kept between runs, as named text values: all there are, and
    // the ones to write (others stay). Failures leave the defaults; nothing is reported.
    virtual std::map<std::string, std::string> LoadSettings() = 0;
    virtual void SaveSettings(const std::map<std::string, std::string>& values) = 0;
};

} // namespace ui
