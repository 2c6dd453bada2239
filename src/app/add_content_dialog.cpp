#include "app/add_content_dialog.h"

#include "app/app_texts.h"
#include "res/resource.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "ui/text_trim.h"

namespace {

// What the text box takes, in UTF-16 units (about a megabyte of Chinese text).
constexpr int kTextLimit = 1000000;

} // namespace

CAddContentDlg::CAddContentDlg(ui::IServices& services, CSourceList& sources, bool byChapters)
    : ui::Dialog(IDD_ADD_CONTENT, services), m_bByChapters(byChapters), m_sources(sources)
{
}

void CAddContentDlg::SetContent(const std::string& title, const std::string& text)
{
    m_strTitle = title;
    m_strText = text;
    m_bReplace = true;
}

void CAddContentDlg::ExchangeData(ui::DataExchange& exchange)
{
    exchange.Bind(IDC_CONTENT_TEXT, m_editText);
    exchange.Text(IDC_CONTENT_TEXT, m_strText);
    exchange.LimitText(IDC_CONTENT_TEXT, kTextLimit);
    exchange.Text(IDC_CONTENT_TITLE, m_strTitle);
}

bool CAddContentDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDC_CONTENT_SAVE && code == BN_CLICKED) {
        OnSave();
        return true;
    }
    return false;  // "退出" (the OK command) and Esc close the dialog
}

void CAddContentDlg::OnSave()
{
    UpdateData(true);
    // The boxes keep what was typed; only what is saved is trimmed.
    const std::string title = TrimBlank(m_strTitle);
    const std::string text = TrimBlank(m_strText);
    if (title.empty() || text.empty()) {
        ShowMessage(kContentEmptyMessage);
        return;
    }
    try {
        // The box's text is Unicode already: no encoding to guess.
        if (m_bByChapters)
            ImportChapters(m_sources, title, text.data(), text.size(), m_bReplace, EncodingUtf8);
        else
            ImportText(m_sources, title, text.data(), text.size(), m_bReplace, EncodingUtf8);
    } catch (const CImportException& e) {
        ShowMessage(e.Message());
    }
    // The dialog stays open: the user may save again or close it.
}
