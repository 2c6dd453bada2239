// Services that record what the windows ask for and answer from scripted queues instead
// of showing anything: message boxes, choosers, the shell and process start.
#pragma once

#include "ui/services.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

class RecordingServices : public ui::IServices {
public:
    struct Message {
        std::string text;
        UINT type = 0;
    };

    int ShowMessage(HWND owner, const std::string& text, UINT type) override;
    bool ChooseFiles(HWND owner, const std::string& filter, const std::string& startFolder,
                     std::vector<std::string>& paths) override;
    bool ChooseFolder(HWND owner, const std::string& prompt, const std::string& startFolder,
                      std::string& path) override;
    INT_PTR ShellOpen(const std::string& file, int show) override;
    UINT StartProcess(const std::string& commandLine, int show) override;
    UINT ShowPopupMenu(HWND owner, HMENU menu, POINT where) override;
    std::map<std::string, std::string> LoadSettings() override { return settings; }
    void SaveSettings(const std::map<std::string, std::string>& values) override;

    std::vector<std::string> MessageTexts() const;
    std::vector<std::string> QuestionTexts() const;

    // What the file dialog answers: one path, or several chosen at once.
    struct FileChoice {
        std::vector<std::string> paths;
        FileChoice(std::string path) : paths {std::move(path)} {}
        FileChoice(std::vector<std::string> several) : paths(std::move(several)) {}
    };
    // Answers of the choosers, taken in order; nullopt or an empty queue is a cancel.
    std::deque<std::optional<FileChoice>> fileAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

    // Messages that ask (MB_YESNO, MB_YESNOCANCEL, MB_OKCANCEL) are recorded here instead
    // of in messages, and answered from answers in order; IDYES (IDOK for MB_OKCANCEL)
    // when it is empty, which lets a test that does not care go on as before.
    std::vector<Message> questions;
    std::deque<int> answers;

    std::vector<Message> messages;
    std::vector<HWND> messageOwners;
    std::vector<std::string> fileFilters;    // one per file dialog shown
    std::vector<std::string> folderPrompts;  // one per folder chooser shown
    std::vector<std::string> fileStartFolders;    // where each file dialog opened
    std::vector<std::string> folderStartFolders;  // where each folder chooser opened
    std::vector<std::string> opened;         // ShellOpen
    std::vector<std::string> started;        // StartProcess
    std::vector<int> shows;                  // the show argument of either, in order

    // Pop-up menus shown: each item's command and whether it was enabled (a separator is
    // 0 and not enabled), and where the menu was put; answered from popupAnswers in order, 0 (none
    // chosen) when it is empty.
    struct PopupItem {
        UINT command = 0;
        bool enabled = false;
        bool operator==(const PopupItem&) const = default;
    };
    std::vector<std::vector<PopupItem>> popups;
    std::vector<POINT> popupPlaces;
    std::deque<UINT> popupAnswers;
    // When set, shows the menu instead of answering (screenshots of a real one).
    std::function<UINT(HWND, HMENU, POINT)> showPopup;

    std::map<std::string, std::string> settings;  // as saved, and what the next window loads
    int settingsSaved = 0;

    // What ShellOpen and StartProcess answer (success by default).
    INT_PTR shellOpenResult = 42;
    UINT startProcessResult = 33;
};

} // namespace wintest
