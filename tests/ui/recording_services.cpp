#include "ui/recording_services.h"

#include <type_traits>

namespace wintest {

namespace {

template <class Answer, class Result>
bool Take(std::deque<std::optional<Answer>>& answers, Result& result)
{
    if (answers.empty())
        return false;
    const std::optional<Answer> answer = answers.front();
    answers.pop_front();
    if (!answer)
        return false;
    if constexpr (std::is_same_v<Answer, std::string>)
        result = *answer;
    else
        result = answer->paths;
    return true;
}

} // namespace

int RecordingServices::ShowMessage(HWND owner, const std::string& text, UINT type)
{
    const UINT buttons = type & MB_TYPEMASK;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL || buttons == MB_OKCANCEL) {
        questions.push_back({text, type});
        if (answers.empty())
            return buttons == MB_OKCANCEL ? IDOK : IDYES;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    messages.push_back({text, type});
    messageOwners.push_back(owner);
    return IDOK;
}

bool RecordingServices::ChooseFiles(HWND, const std::string& filter, const std::string& startFolder,
                                    std::vector<std::string>& paths)
{
    fileFilters.push_back(filter);
    fileStartFolders.push_back(startFolder);
    return Take(fileAnswers, paths);
}

bool RecordingServices::ChooseFolder(HWND, const std::string& prompt, const std::string& startFolder,
                                     std::string& path)
{
    folderPrompts.push_back(prompt);
    folderStartFolders.push_back(startFolder);
    return Take(folderAnswers, path);
}

INT_PTR RecordingServices::ShellOpen(const std::string& file, int show)
{
    opened.push_back(file);
    shows.push_back(show);
    return shellOpenResult;
}

UINT RecordingServices::ShowPopupMenu(HWND owner, HMENU menu, POINT where)
{
    std::vector<PopupItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        items.push_back({GetMenuItemID(menu, i), (state & (MF_GRAYED | MF_DISABLED)) == 0});
    }
    popups.push_back(items);
    popupPlaces.push_back(where);
    if (showPopup)
        return showPopup(owner, menu, where);
    if (popupAnswers.empty())
        return 0;
    const UINT answer = popupAnswers.front();
    popupAnswers.pop_front();
    return answer;
}

UINT RecordingServices::StartProcess(const std::string& commandLine, int show)
{
    started.push_back(commandLine);
    shows.push_back(show);
    return startProcessResult;
}

std::vector<std::string> RecordingServices::QuestionTexts() const
{
    std::vector<std::string> texts;
    for (const Message& m : questions)
        texts.push_back(m.text);
    return texts;
}

std::vector<std::string> RecordingServices::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const Message& m : messages)
        texts.push_back(m.text);
    return texts;
}

void RecordingServices::SaveSettings(const std::map<std::string, std::string>& values)
{
    for (const auto& [name, value] : values)
        settings[name] = value;
    ++settingsSaved;
}

} // namespace wintest
