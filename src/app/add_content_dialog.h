// The add-content dialog (dialog 137): a title and a text typed or pasted by the user,
// saved into the source list as a source of its own. Opened empty to add, or by a
// double-click on the list with that entry's title and text, to replace it.
#pragma once

#include "app/select_all_edit.h"
#include "ui/dialog.h"

#include <string>

class CSourceList;

class CAddContentDlg : public ui::Dialog {
public:
    // byChapters: a saved text is cut at its chapters (ImportChapters).
    CAddContentDlg(ui::IServices& services, CSourceList& sources, bool byChapters = false);

    // Shows title and text, and makes every save replace the selected entry.
    void SetContent(const std::string& title, const std::string& text);

protected:
    void ExchangeData(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void OnSave();

    CSelectAllEdit m_editText;
    std::string m_strText;
    std::string m_strTitle;
    bool m_bReplace = false;
    bool m_bByChapters;
    CSourceList& m_sources;
};
