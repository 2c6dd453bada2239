#include "app/chapter_rule_dialog.h"

#include "app/app_texts.h"
#include "platform/path.h"
#include "res/resource.h"
#include "sources/chapter_preview.h"
#include "ui/wide_text.h"

#include <windowsx.h>

CChapterRuleDlg::CChapterRuleDlg(ui::IServices& services, std::string pattern, std::vector<std::string> files)
    : ui::Dialog(IDD_CHAPTER_RULE, services), m_strPattern(std::move(pattern)), m_arrFiles(std::move(files))
{
}

bool CChapterRuleDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    CheckRadioButton(GetHwnd(), IDC_RULE_AUTO, IDC_RULE_OWN, m_strPattern.empty() ? IDC_RULE_AUTO : IDC_RULE_OWN);
    ui::SetWindowTextUtf8(GetItem(IDC_RULE_PATTERN), m_strPattern);
    HWND combo = GetItem(IDC_RULE_FILE);
    for (const std::string& file : m_arrFiles)
        ComboBox_AddString(combo, ui::Widen(FileNameOfPath(file)).c_str());
    ComboBox_SetCurSel(combo, static_cast<int>(m_arrFiles.size()) - 1);  // the newest
    EnablePattern();
    if (!m_arrFiles.empty())
        Preview();
    else
        ui::SetWindowTextUtf8(GetItem(IDC_RULE_RESULT), "选择一个文件，看看规则找到的章节。");
    return true;
}

void CChapterRuleDlg::EnablePattern()
{
    EnableWindow(GetItem(IDC_RULE_PATTERN), IsDlgButtonChecked(GetHwnd(), IDC_RULE_OWN) == BST_CHECKED);
}

bool CChapterRuleDlg::ReadRule(std::string& pattern)
{
    pattern.clear();
    if (IsDlgButtonChecked(GetHwnd(), IDC_RULE_OWN) != BST_CHECKED)
        return true;
    pattern = ui::GetWindowTextUtf8(GetItem(IDC_RULE_PATTERN));
    std::string error;
    if (ChapterPattern::Compile(pattern, error))
        return true;
    ShowMessage("章节规则无效：" + pattern + "\r\n" + error);
    SetFocus(GetItem(IDC_RULE_PATTERN));
    return false;
}

void CChapterRuleDlg::Preview()
{
    const int selected = ComboBox_GetCurSel(GetItem(IDC_RULE_FILE));
    if (selected < 0 || static_cast<std::size_t>(selected) >= m_arrFiles.size())
        return;
    std::string pattern;
    if (!ReadRule(pattern))
        return;
    SourceReading reading;
    std::string error;
    if (!pattern.empty())
        reading.chapterPattern = ChapterPattern::Compile(pattern, error);
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const ChapterPreview preview = PreviewChapters(m_arrFiles[static_cast<std::size_t>(selected)], reading);
    SetCursor(previous);
    ui::SetWindowTextUtf8(GetItem(IDC_RULE_RESULT), DescribePreview(preview, !pattern.empty()));
}

bool CChapterRuleDlg::OnCommand(int id, int code, HWND)
{
    switch (id) {
    case IDC_RULE_AUTO:
    case IDC_RULE_OWN:
        if (code == BN_CLICKED) {
            EnablePattern();
            if (id == IDC_RULE_OWN)
                SetFocus(GetItem(IDC_RULE_PATTERN));
        }
        return true;
    case IDC_RULE_FILE:
        if (code == CBN_SELCHANGE)
            Preview();
        return true;
    case IDC_RULE_PREVIEW:
        if (code == BN_CLICKED)
            Preview();
        return true;
    case IDC_RULE_CHOOSE:
        if (code == BN_CLICKED) {
            std::vector<std::string> paths;
            if (Services().ChooseFiles(GetHwnd(), kTextFileFilter, {}, paths) && !paths.empty()) {
                const std::string& path = paths.front();
                m_arrFiles.push_back(path);
                HWND combo = GetItem(IDC_RULE_FILE);
                ComboBox_SetCurSel(combo, ComboBox_AddString(combo, ui::Widen(FileNameOfPath(path)).c_str()));
                Preview();
            }
        }
        return true;
    default: return false;
    }
}

void CChapterRuleDlg::OnOK()
{
    std::string pattern;
    if (!ReadRule(pattern))
        return;
    m_strPattern = pattern;
    EndDialog(IDOK);
}
