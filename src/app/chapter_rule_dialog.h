// 工具 > 章节规则 (dialog 170): 自动 (the detection) or the user's own pattern, with a preview
// of the chapters it finds in one of the files read into the list (or one chosen here):
// their count and first titles. 确定 keeps a pattern only when it compiles.
#pragma once

#include "ui/dialog.h"

#include <string>
#include <vector>

class CChapterRuleDlg : public ui::Dialog {
public:
    // pattern: the current rule ("" 自动); files: the files read, newest last.
    CChapterRuleDlg(ui::IServices& services, std::string pattern, std::vector<std::string> files);

    // After 确定: the rule chosen, "" for 自动.
    const std::string& Pattern() const { return m_strPattern; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    // The pattern of the boxes, compiled; false with a message when it does not compile.
    bool ReadRule(std::string& pattern);
    void Preview();
    void EnablePattern();

    std::string m_strPattern;
    std::vector<std::string> m_arrFiles;
};
