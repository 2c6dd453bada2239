#include "app/bookmaker_dlg.h"

#include "app/about_dialog.h"
#include "app/app_texts.h"
#include "app/file_manager_command.h"
#include "jar/book_info.h"
#include "jar/jar_builder.h"
#include "platform/exception.h"
#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/wide_text.h"

#include <vector>

CBookMakerDlg::CBookMakerDlg(ui::IServices& services) : ui::Dialog(IDD_BOOKMAKER_DIALOG, services)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    m_hIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_MAINFRAME));
    m_hSmallIcon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_MAINFRAME), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

CBookMakerDlg::~CBookMakerDlg() { m_sources.SetView(nullptr); }

void CBookMakerDlg::ExchangeData(ui::DataExchange& exchange)
{
    exchange.Bind(IDC_DELETE, m_btnDelete);
    exchange.Bind(IDC_ADD_CONTENT, m_btnAddContent);
    exchange.Bind(IDC_GENERATE, m_btnGenerate);
    exchange.Bind(IDC_ADD_FILE, m_btnAddFile);
    exchange.Bind(IDC_ADD_FOLDER, m_btnAddFolder);
    exchange.Bind(IDC_ABOUT, m_btnAbout);
    exchange.Bind(IDC_CLOSE, m_btnClose);
    exchange.Bind(IDC_DOWN, m_btnDown);
    exchange.Bind(IDC_UP, m_btnUp);
    exchange.Bind(IDC_SOURCES, m_listSources);
    exchange.Text(IDC_AUTHOR, m_strAuthor);
    exchange.Text(IDC_MAKER, m_strMaker);
    exchange.Text(IDC_BOOK_NAME, m_strBookName);
    exchange.Bind(IDC_MAIL_LINK, m_lblMail);
    exchange.Bind(IDC_WEB_LINK, m_lblWeb);
}

bool CBookMakerDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();

    if (HMENU system = GetSystemMenu(GetHwnd(), FALSE)) {
        const std::string about = ui::LoadResourceString(IDS_ABOUTBOX);
        if (!about.empty()) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(system, MF_STRING, IDM_ABOUTBOX, ui::Widen(about).c_str());
        }
    }

    SendMessageW(GetHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(GetHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon ? m_hSmallIcon : m_hIcon));

    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(length, L'\0');
    directory.resize(GetCurrentDirectoryW(length, directory.data()));
    m_strWorkDir = ui::Narrow(directory);

    m_sources.SetView(this);

    m_menu.Load(IDR_MAINMENU);
    m_menu.SetAsMenuOf(GetHwnd());
    return true;
}

bool CBookMakerDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDC_SOURCES) {
        if (code == LBN_SELCHANGE)
            m_sources.OnSelectionChange(m_listSources.GetCurSel());
        else if (code == LBN_DBLCLK)
            OnEditEntry();
        return true;
    }
    if (code != BN_CLICKED)  // menus and buttons alike send 0
        return false;
    switch (id) {
    case IDC_GENERATE: OnGenerate(); return true;
    case IDC_ABOUT:
    case IDM_ABOUT: OnAbout(); return true;
    case IDM_VISIT_SITE: Services().ShellOpen(kWebSiteLink, SW_SHOW); return true;
    case IDM_HELP: Services().ShellOpen(kHelpFileName, SW_SHOW); return true;
    case IDM_ALWAYS_ON_TOP: OnAlwaysOnTop(); return true;
    case IDM_EXIT: OnOK(); return true;
    case IDC_ADD_FOLDER: OnAddFolder(); return true;  // also the Esc key
    case IDC_ADD_FILE: OnAddFile(); return true;
    case IDC_ADD_CONTENT: OnAddContent(); return true;
    case IDC_UP: m_sources.MoveUp(); return true;
    case IDC_DOWN: m_sources.MoveDown(); return true;
    case IDC_DELETE: m_sources.Delete(); return true;
    default: return false;  // IDC_CLOSE runs OnOK; the two "open" menu items do nothing
    }
}

bool CBookMakerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            OnAbout();
            return true;
        }
        return false;
    case WM_CLOSE:
        // The close box leaves like "关闭程序": the dialog manager would turn it into the
        // cancel command, which here adds a folder.
        OnOK();
        return true;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return true;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return false;
    case WM_PAINT:
        return OnPaintMinimised();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    default:
        return false;
    }
}

void CBookMakerDlg::OnGenerate()
{
    UpdateData(true);
    const BookInfo book{m_strBookName, m_strAuthor, m_strMaker};
    if (m_strBookName.empty()) {
        ShowMessage(kNeedBookNameMessage);
        return;
    }
    if (m_sources.GetCount() == 0) {
        ShowMessage(kNothingToGenerateMessage);
        return;
    }
    CJarBuilder builder(book);
    builder.SetContents(m_sources.GetTitles(), m_sources.GetTexts());
    try {
        builder.Build(m_strWorkDir);
    } catch (const CException& e) {
        // Nothing was written (the builder leaves no partial book): say why, and do not
        // open a file manager on a book that is not there.
        ShowMessage(e.Message(), MB_OK | MB_ICONSTOP);
        return;
    }
    Services().StartProcess(SelectInFileManagerCommand(builder.GetJarPath()), SW_SHOW);
}

void CBookMakerDlg::OnAbout()
{
    CAboutDialog about(Services());
    about.DoModal(GetHwnd());
}

void CBookMakerDlg::OnAlwaysOnTop()
{
    const bool topmost = !m_bAlwaysOnTop;
    SetWindowPos(GetHwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_bAlwaysOnTop = topmost;
}

void CBookMakerDlg::OnInitMenuPopup(HMENU popup)
{
    ui::UpdateMenuItems(popup, [this](UINT id, ui::CommandState& state) {
        if (id != IDM_ALWAYS_ON_TOP)
            return false;
        state.checked = m_bAlwaysOnTop;
        return true;
    });
}

bool CBookMakerDlg::OnPaintMinimised()
{
    if (!IsIconic(GetHwnd()))
        return false;
    ui::PaintDc dc(GetHwnd());
    SendMessageW(GetHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.Get(), x, y, m_hIcon);
    return true;
}

void CBookMakerDlg::InsertItem(int index, const std::string& title) { m_listSources.InsertString(index, title); }

void CBookMakerDlg::DeleteItem(int index) { m_listSources.DeleteString(index); }

void CBookMakerDlg::SetSelection(int index) { m_listSources.SetCurSel(index); }
