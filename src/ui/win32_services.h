// The services as Windows provides them.
#pragma once

#include "ui/services.h"

namespace ui {

class Win32Services : public IServices {
public:
    int ShowMessage(HWND owner, const std::string& text, UINT type) override;
    bool ChooseFiles(HWND owner, const std::string& filter, const std::string& startFolder,
                     std::vector<std::string>& paths) override;
    bool ChooseFolder(HWND owner, const std::string& prompt, const std::string& startFolder,
                      std::string& path) override;
    INT_PTR ShellOpen(const std::string& file, int show) override;
    UINT StartProcess(const std::string& commandLine, int show) override;
    UINT ShowPopupMenu(HWND owner, HMENU menu, POINT where) override;
    // Values of HKEY_CURRENT_USER\Software\BookMaker.
    std::map<std::string, std::string> LoadSettings() override;
    void SaveSettings(const std::map<std::string, std::string>& values) override;
};

// The executable's file name without its extension: the caption of message boxes.
std::string ApplicationName();

} // namespace ui
