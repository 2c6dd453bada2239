#include "app/add_content_dialog.h"

#include "app/app_texts.h"
#include "app/work_window.h"
#include "res/resource.h"
#include "sources/source_list.h"
#include "sources/text_clean.h"
#include "sources/text_import.h"
#include "ui/text_trim.h"

namespace {

// What the text box takes, in UTF-16 units (about a megabyte of Chinese text).
constexpr int kTextLimit = 1000000;

} // namespace

CAddContentDlg::CAddContentDlg(ui::IServices& services, CSourceList& sources, bool byChapters,
                               TextConversion conversion, bool clean, IWorkObserver* observer)
    : ui::Dialog(IDD_ADD_CONTENT, services), m_bByChapters(byChapters), m_conversion(conversion), m_bClean(clean),
      m_sources(sources), m_pObserver(observer)
{
}

void CAddContentDlg::SetContent(const std::string& title, const std::string& text)
{
    m_strTitle = m_strSavedTitle = title;
    m_strText = m_strSavedText = text;
    const int selected = m_sources.GetCurSel();
    m_bHasRange = selected >= 0 && static_cast<std::size_t>(selected) < m_sources.GetCount();
    m_nFirst = m_bHasRange ? static_cast<std::size_t>(selected) : 0;
    m_nCount = m_bHasRange ? 1 : 0;
}

void CAddContentDlg::ExchangeData(ui::DataExchange& exchange)
{
    exchange.Bind(IDC_CONTENT_TEXT, m_editText);
    exchange.Bind(IDC_CONTENT_TITLE, m_editTitle);
    exchange.Text(IDC_CONTENT_TEXT, m_strText);
    exchange.LimitText(IDC_CONTENT_TEXT, kTextLimit);
    exchange.Text(IDC_CONTENT_TITLE, m_strTitle);
}

bool CAddContentDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    // The text box takes the room a larger dialog gives; the buttons stay centred below it.
    m_anchors.Attach(GetHwnd(), {
        {IDC_CONTENT_TITLE, kAnchorWide}, {IDC_CONTENT_FRAME, kAnchorGrow}, {IDC_CONTENT_TEXT, kAnchorGrow},
        {IDC_CONTENT_SAVE, kAnchorBottomCentred}, {IDC_CONTENT_CLOSE, kAnchorBottomCentred},
    });
    HWND focus = GetItem(m_strTitle.empty() ? IDC_CONTENT_TITLE : IDC_CONTENT_TEXT);
    SetFocus(focus);
    if (!m_strTitle.empty())
        SendMessageW(focus, EM_SETSEL, 0, 0);  // the caret at the start, nothing selected
    return false;  // the focus is set
}

bool CAddContentDlg::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (!m_anchors.OnMessage(message, lParam))
        return false;
    result = 0;
    return true;
}

bool CAddContentDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDC_CONTENT_SAVE && code == BN_CLICKED) {
        OnSave();
        return true;
    }
    return false;  // "退出" (the OK command) and Esc: OnOK and OnCancel
}

bool CAddContentDlg::MayClose()
{
    UpdateData(true);
    if (m_strTitle == m_strSavedTitle && m_strText == m_strSavedText)
        return true;
    return ShowMessage(kDiscardTypingQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void CAddContentDlg::OnOK()
{
    if (MayClose())
        EndDialog(IDOK);
}

void CAddContentDlg::OnCancel()
{
    if (MayClose())
        EndDialog(IDCANCEL);
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
    // Imported aside on a worker; the list changes once, when the import is complete.
    CSourceList entries;
    bool importFailed = false;
    const bool byChapters = m_bByChapters;
    const TextConversion conversion = m_conversion;
    const bool clean = m_bClean;
    const bool finished = RunWork(GetHwnd(), Services(), "正在添加", [&](CWorkProgress& progress) {
        const ImportProgress report = [&progress, &title](std::size_t done, std::size_t total) {
            progress.Report("正在导入：" + title, done, total);
        };
        try {
            // The box's text is Unicode already: no encoding to guess. Pasted text is
            // converted like a file's, so the whole book is in one script.
            const CTextConverter* converter = conversion == TextConversion::none ? nullptr : &Converter(conversion);
            const std::string shownTitle = converter ? converter->Convert(title) : title;
            std::string cleaned;
            if (clean) {
                cleaned = CleanText(converter ? converter->Convert(text) : text);
                converter = nullptr;
            }
            const std::string& saved = clean ? cleaned : text;
            if (byChapters)
                ImportChapters(entries, shownTitle, saved.data(), saved.size(), false, EncodingUtf8, report, converter);
            else
                ImportText(entries, shownTitle, saved.data(), saved.size(), false, EncodingUtf8, report, converter);
        } catch (const CImportException&) {
            importFailed = true;  // the parts made before stay, as for a file
        }
    }, m_pObserver);
    if (!finished)
        return;  // cancelled: the list and the boxes stay as they were
    const std::size_t first = m_bHasRange ? m_nFirst : m_sources.GetCount();
    m_sources.ReplaceRange(first, m_bHasRange ? m_nCount : 0, entries);
    m_bHasRange = true;
    m_nFirst = first;
    m_nCount = entries.GetCount();
    m_strSavedTitle = m_strTitle;
    m_strSavedText = m_strText;
    if (importFailed)
        ShowMessage(CImportException().Message());
    // The dialog stays open: the user may change the text and save again, or close it.
}
