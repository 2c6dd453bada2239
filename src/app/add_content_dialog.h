// The add-content dialog (dialog 137): a title and a text typed or pasted by the user,
// saved into the source list as a source of its own. Opened empty to add, or by a
// double-click on the list with that entry's title and text, to replace it. Saving again
// replaces what the last save wrote, so the list never holds the same text twice; closing
// with typing not saved asks first.
#pragma once

#include "app/control_anchors.h"
#include "app/select_all_edit.h"
#include "app/title_edit.h"
#include "sources/text_convert.h"
#include "ui/dialog.h"

#include <cstddef>
#include <string>

class CSourceList;
class IWorkObserver;

class CAddContentDlg : public ui::Dialog {
public:
    // byChapters: a saved text is cut at its chapters (ImportChapters). conversion and clean:
    // the saved title and text are converted, and the text cleaned, as a file's are.
    // observer: as RunWork's, for the import.
    CAddContentDlg(ui::IServices& services, CSourceList& sources, bool byChapters = false,
                   TextConversion conversion = TextConversion::none, bool clean = false,
                   IWorkObserver* observer = nullptr);

    // Shows title and text, and makes saving replace the selected entry.
    void SetContent(const std::string& title, const std::string& text);

protected:
    void ExchangeData(ui::DataExchange& exchange) override;
    // The caret starts in 标题 when it is empty, else at the start of the text.
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(int id, int code, HWND control) override;
    // "退出", Esc and the close box: asks "放弃输入的内容？" when the boxes hold what was not
    // saved.
    void OnOK() override;
    void OnCancel() override;

private:
    void OnSave();
    bool MayClose();

    CTitleEdit m_editTitle;
    CSelectAllEdit m_editText;
    std::string m_strText;
    std::string m_strTitle;
    // What the boxes held when last saved or opened: typing is unsaved when they differ.
    std::string m_strSavedTitle;
    std::string m_strSavedText;
    // The entries the next save replaces: the edited entry, then what the last save wrote
    // (none yet: a save appends).
    bool m_bHasRange = false;
    std::size_t m_nFirst = 0;
    std::size_t m_nCount = 0;
    bool m_bByChapters;
    TextConversion m_conversion;
    bool m_bClean;
    CSourceList& m_sources;
    IWorkObserver* m_pObserver;
    CControlAnchors m_anchors;
};
