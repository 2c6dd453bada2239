#include "app/bookmaker_dlg.h"

#include "app/about_dialog.h"
#include "app/app_texts.h"
#include "app/chapter_rule_dialog.h"
#include "app/file_manager_command.h"
#include "app/result_line.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "jar/make_book.h"
#include "platform/path.h"
#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/wide_text.h"

#include <windowsx.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <iterator>
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
    m_settings = ParseWindowSettings(Services().LoadSettings());
    m_strInfoText = ui::GetWindowTextUtf8(GetItem(IDC_INFO_TEXT));
    ShowSettingsLine();
    ShowListCount();

    Decorate();
    // The list takes the room a larger window gives; the buttons beside it follow the right
    // edge; everything below it, and the left column's lower frames, follow the bottom.
    m_anchors.Attach(GetHwnd(), {
        {IDC_SOURCES, kAnchorGrow}, {IDC_LIST_FRAME, kAnchorGrow},
        {IDC_UP, kAnchorRight}, {IDC_DELETE, kAnchorRight}, {IDC_DOWN, kAnchorRight},
        {IDC_GENERATE, kAnchorBottom}, {IDC_ABOUT, kAnchorBottom}, {IDC_CLOSE, kAnchorBottom},
        {IDC_GENERATE_FRAME, kAnchorBottom}, {IDC_CLOSE_FRAME, kAnchorBottom},
        {IDC_SETTINGS_LINE, kAnchorBottomWide}, {IDC_BOOK_NAME, kAnchorBottomWide},
        {IDC_AUTHOR, kAnchorBottomWide}, {IDC_MAKER, kAnchorBottomWide},
        {IDC_BOOK_NAME_LABEL, kAnchorBottom}, {IDC_AUTHOR_LABEL, kAnchorBottom}, {IDC_MAKER_LABEL, kAnchorBottom},
        {IDC_INFO_FRAME, kAnchorBottomWide}, {IDC_INFO_TEXT, kAnchorBottomWide},
        {IDC_MAIL_LINK, kAnchorBottom}, {IDC_WEB_LINK, kAnchorBottom},
    });
    RestorePlace();
    return true;
}

void CBookMakerDlg::RestorePlace()
{
    const WindowPlace& place = m_settings.place;
    if (place.width <= 0)
        return;
    const SIZE minimum = m_anchors.MinimumSize();
    RECT rect {place.left, place.top, place.left + std::max<LONG>(place.width, minimum.cx),
               place.top + std::max<LONG>(place.height, minimum.cy)};
    // A place on a screen no longer there (a second monitor taken away) is forgotten: the
    // window opens centred as at first.
    RECT title = rect;
    title.bottom = title.top + GetSystemMetrics(SM_CYCAPTION);
    if (!MonitorFromRect(&title, MONITOR_DEFAULTTONULL))
        return;
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    GetWindowPlacement(GetHwnd(), &placement);
    placement.rcNormalPosition = rect;
    placement.showCmd = place.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    SetWindowPlacement(GetHwnd(), &placement);
}

void CBookMakerDlg::RememberPlace()
{
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(GetHwnd(), &placement))
        return;
    const RECT& rect = placement.rcNormalPosition;
    WindowPlace place {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       placement.showCmd == SW_SHOWMAXIMIZED || IsZoomed(GetHwnd())};
    if (place == m_settings.place)
        return;
    m_settings.place = place;
    Services().SaveSettings(FormatWindowSettings(m_settings));
}

void CBookMakerDlg::ShowListCount()
{
    ui::SetWindowTextUtf8(GetItem(IDC_LIST_FRAME), "共 " + std::to_string(m_sources.GetCount()) + " 项");
}

std::string CBookMakerDlg::GetOutputFolder() const
{
    return m_settings.outputFolder.empty() ? m_strWorkDir : m_settings.outputFolder;
}

void CBookMakerDlg::ShowResultLine(const std::string& line)
{
    ui::SetWindowTextUtf8(GetItem(IDC_INFO_TEXT), line.empty() ? m_strInfoText : line);
}

void CBookMakerDlg::ShowWrittenBook(const BookResult& book)
{
    const std::string line = DescribeWrittenBook(book);
    HWND info = GetItem(IDC_INFO_TEXT);
    RECT box {};
    GetClientRect(info, &box);
    RECT needed {0, 0, box.right, 0};
    {
        ui::WindowDc dc(info);
        ui::SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(info, WM_GETFONT, 0, 0)));
        DrawTextW(dc.Get(), ui::Widen(line).c_str(), -1, &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    }
    ShowResultLine(needed.bottom <= box.bottom ? DescribeWrittenBook(book) : DescribeWrittenBook(book, true));
}

void CBookMakerDlg::ShowSettingsLine()
{
    ui::SetWindowTextUtf8(GetItem(IDC_SETTINGS_LINE), DescribeSettings(m_settings));
}

bool CBookMakerDlg::RunLongCommand(const std::string& caption, const std::function<void(CWorkProgress&)>& work)
{
    // Commands that reach the window while the work runs (sent by another program: the
    // window itself takes no input meanwhile) are refused, not queued.
    m_bWorking = true;
    struct Reset {
        bool& working;
        ~Reset() { working = false; }
    } reset {m_bWorking};
    return RunWork(GetHwnd(), Services(), caption, work, m_pWorkObserver);
}

void CBookMakerDlg::OnOK()
{
    if (m_bWorking)
        return;
    if (HasUnsavedList() &&
        ShowMessage(kDiscardListQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    RememberPlace();
    ui::Dialog::OnOK();
}

void CBookMakerDlg::Decorate()
{
    g_flatStyleOtherwise = 1;
    g_flatStyleWhenThemed = 1;
    if (m_menu.LoadMenu(IDR_MAINMENU)) {
        const struct {
            UINT command;
            int bitmap;
        } images[] = {
            {IDM_ABOUT, IDB_ABOUT},
            {IDM_HELP, IDB_HELP},
            {IDM_VISIT_SITE, IDB_VISIT_SITE},
            {IDM_OPEN_FOLDER, IDB_OPEN_FOLDER},
            {IDM_OPEN_FILE, IDB_OPEN_FILE},
        };
        for (const auto& image : images)
            m_menu.ModifyItem(static_cast<const wchar_t*>(nullptr), image.command, image.bitmap);
        m_menu.SetAsMenuOf(GetHwnd());
    }
    m_listMenu.LoadMenu(IDR_LIST_MENU);

    // The three small buttons beside the list show their icon above the caption, grey
    // while the mouse is elsewhere. Every button's face lightens while the mouse is over it.
    constexpr short kHotFaceLift = 30;  // in each colour channel
    const struct {
        CIconButton& button;
        UINT icon;
        UINT idle;
        bool above;
    } buttons[] = {
        {m_btnAddFolder, IDI_ADD_FOLDER, 0, false},
        {m_btnAddFile, IDI_ADD_FILE, 0, false},
        {m_btnAddContent, IDI_ADD_CONTENT, 0, false},
        {m_btnGenerate, IDI_GENERATE, 0, false},
        {m_btnClose, IDI_CLOSE, 0, false},
        {m_btnAbout, IDI_MAINFRAME, 0, false},
        {m_btnUp, IDI_UP, CIconButton::kGrayIdleIconId, true},
        {m_btnDelete, IDI_DELETE, CIconButton::kGrayIdleIconId, true},
        {m_btnDown, IDI_DOWN, CIconButton::kGrayIdleIconId, true},
    };
    for (const auto& b : buttons) {
        b.button.SetIcons(b.icon, b.idle);
        b.button.ShiftColor(CIconButton::kHotBackground, kHotFaceLift, TRUE);
        if (b.above)
            b.button.SetImageAlignment(controls::ImageAlignment::Above, TRUE);
    }

    m_lblMail.SetLink(kMailLink);
    m_lblWeb.SetLink(kWebSiteLink);
}

bool CBookMakerDlg::OnCommand(int id, int code, HWND)
{
    if (m_bWorking)
        return true;
    if (id == IDC_SOURCES) {
        if (code == LBN_SELCHANGE)
            m_sources.OnSelectionChange(m_listSources.GetCurSel());  // the first selected
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
    case IDM_SPLIT_CHAPTERS: OnSplitByChapters(); return true;
    case IDM_CHAPTER_RULE: OnChapterRule(); return true;
    case IDM_VOLUME_NONE:
    case IDM_VOLUME_100K:
    case IDM_VOLUME_300K:
    case IDM_VOLUME_500K:
    case IDM_VOLUME_1M:
    case IDM_VOLUME_2M: OnVolumeSize(static_cast<std::size_t>(id - IDM_VOLUME_NONE)); return true;
    case IDM_COMPRESSION_FAST:
    case IDM_COMPRESSION_NORMAL:
    case IDM_COMPRESSION_SMALL: OnCompression(static_cast<BookCompression>(id - IDM_COMPRESSION_FAST)); return true;
    case IDM_ENCODING_AUTO:
    case IDM_ENCODING_GBK:
    case IDM_ENCODING_BIG5:
    case IDM_ENCODING_UTF8:
    case IDM_ENCODING_UTF16: OnEncodingChoice(static_cast<std::size_t>(id - IDM_ENCODING_AUTO)); return true;
    case IDM_CONVERT_NONE:
    case IDM_CONVERT_T2S:
    case IDM_CONVERT_S2T: OnConversion(static_cast<TextConversion>(id - IDM_CONVERT_NONE)); return true;
    case IDM_CLEAN_TEXT: OnCleanText(); return true;
    case IDM_EXIT: OnOK(); return true;
    case IDC_ADD_FOLDER: OnAddFolder(); return true;  // also the Esc key
    case IDC_ADD_FILE: OnAddFile(); return true;
    case IDC_ADD_CONTENT: OnAddContent(); return true;
    case IDC_UP: MoveSelected(true); return true;
    case IDC_DOWN: MoveSelected(false); return true;
    case IDC_DELETE: DeleteSelected(); return true;
    case IDM_CLEAR_LIST: OnClearList(); return true;
    case IDM_EDIT_ENTRY: OnEditEntry(); return true;
    case IDM_UNDO_DELETE: UndoDelete(); return true;
    // 文件 > 打开文件 and 打开目录 are the menu's way to the two buttons.
    case IDM_OPEN_FILE: OnAddFile(); return true;
    case IDM_OPEN_FOLDER: OnAddFolder(); return true;
    case IDM_OUTPUT_DEFAULT:
    case IDM_OUTPUT_CHOOSE: OnOutputFolder(id == IDM_OUTPUT_CHOOSE); return true;
    default: return false;  // IDC_CLOSE runs OnOK
    }
}

bool CBookMakerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_anchors.OnMessage(message, lParam)) {
        result = 0;
        return true;
    }
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
        if (m_bWorking)
            DragFinish(reinterpret_cast<HDROP>(wParam));
        else
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return true;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            return false;
        m_menu.MeasureItem(item);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        COwnerMenu* menu = item->CtlType == ODT_MENU ? COwnerMenu::FromHandle(reinterpret_cast<HMENU>(item->hwndItem)) : nullptr;
        if (!menu)
            return false;
        menu->DrawItem(item);
        result = TRUE;
        return true;
    }
    case WM_MENUCHAR: {
        HMENU popup = reinterpret_cast<HMENU>(lParam);
        if (!COwnerMenu::IsOwnedMenu(popup))
            return false;
        result = m_menu.HandleMenuChar(LOWORD(wParam), HIWORD(wParam), COwnerMenu::FromHandle(popup));
        return result != 0;
    }
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return false;
    case WM_PAINT:
        return OnPaintMinimised();
    case WM_VKEYTOITEM:
        if (reinterpret_cast<HWND>(lParam) != m_listSources.GetHwnd())
            return false;
        result = m_bWorking ? -2 : OnListKey(LOWORD(wParam));
        return true;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != m_listSources.GetHwnd())
            return false;
        OnListContextMenu(POINT {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return true;
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
    // The template is in the folder the program started in; the book goes to the output
    // folder, that one unless another was chosen.
    BookRequest request;
    request.book = BookInfo {m_strBookName, m_strAuthor, m_strMaker};
    request.templatePath = JoinPath(m_strWorkDir, kTemplateFileName);
    request.jarPath = JoinPath(GetOutputFolder(), m_strBookName + ".jar");
    request.sourcePaths = m_arrSourcePaths;
    request.maxJarBytes = m_settings.maxJarBytes;
    request.compression = m_settings.compression;
    ShowResultLine("");
    BookResult book;
    // What recovery did or left alone beside the book: on success the result line says it;
    // a failure's box adds it, a dozen files at most.
    std::string recovered;
    request.recovery = [&recovered](const RecoveryReport& report) {
        std::vector<std::string> lines;
        for (const RecoveryLine& line : DescribeRecovery(report))
            lines.push_back(line.said + FileNameOfPath(line.path) + line.why);
        recovered = "\r\n\r\n" + ListedNames(lines, 12, "");
    };
    try {
        // The list cannot change while the worker reads it: the window takes no command.
        std::string step = "正在写入：" + FileNameOfPath(request.jarPath);
        std::mutex stepMutex;  // the volume's name is set and read by the builder's threads
        const bool finished = RunLongCommand("正在生成电子书", [&](CWorkProgress& progress) {
            request.progress = [&](std::size_t done, std::size_t total) {
                std::string now;
                {
                    std::lock_guard<std::mutex> lock(stepMutex);
                    now = step;
                }
                progress.Report(now, done, total);
            };
            request.volumeStarted = [&](std::size_t volume, const std::string& jarPath, std::size_t estimated) {
                std::lock_guard<std::mutex> lock(stepMutex);
                step = "正在写入：" + FileNameOfPath(jarPath) + "（第 " + std::to_string(volume) + " 卷" +
                       (estimated ? "，约共 " + std::to_string(estimated) + " 卷" : std::string()) + "）";
            };
            progress.Report(step, 0, 0);
            book = MakeBook(request, m_sources.GetParts());
        });
        if (!finished) {
            ShowResultLine(kBuildCancelledLine);
            return;
        }
    } catch (const CJarException& e) {
        // Nothing was written (a failed build leaves no partial book): say why, and do not
        // open a file manager on a book that is not there.
        std::string message = e.Message();
        if (e.GetCause() == CJarException::partTooLarge)
            message += "\r\n\r\n" + VolumeTooSmallAdvice(e.NeededBytes(), m_settings.byChapters);
        ShowMessage(message + recovered, e.IsMissingInput() ? MB_OK | MB_ICONEXCLAMATION : MB_OK | MB_ICONSTOP);
        return;
    } catch (const CException& e) {
        ShowMessage(e.Message() + recovered, MB_OK | MB_ICONSTOP);
        return;
    }
    m_bListChanged = false;
    // The line also says which older volumes went and what a killed build left that was put
    // right: no box, however many files (hundreds of volumes would not fit a screen).
    ShowWrittenBook(book);
    // Volumes lie side by side: the first one is selected.
    Services().StartProcess(SelectInFileManagerCommand(book.volumes.front().jarPath), SW_SHOW);
}

void CBookMakerDlg::OnAbout()
{
    CAboutDialog about(Services());
    about.DoModal(GetHwnd());
}

void CBookMakerDlg::OnAlwaysOnTop()
{
    const bool topmost = !m_settings.alwaysOnTop;
    SetWindowPos(GetHwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_settings.alwaysOnTop = topmost;
    ShowSettingsLine();
}

void CBookMakerDlg::SettingsChanged()
{
    Services().SaveSettings(FormatWindowSettings(m_settings));
    ShowSettingsLine();
}

void CBookMakerDlg::OnSplitByChapters()
{
    m_settings.byChapters = !m_settings.byChapters;
    SettingsChanged();
}

// 自动 or the user's own pattern; choosing a pattern turns 按章节拆分 on, as it means to cut.
void CBookMakerDlg::OnChapterRule()
{
    CChapterRuleDlg dialog(Services(), m_settings.chapterPattern, m_arrSourcePaths);
    if (dialog.DoModal(GetHwnd()) != IDOK)
        return;
    m_settings.chapterPattern = dialog.Pattern();
    if (!m_settings.chapterPattern.empty())
        m_settings.byChapters = true;
    SettingsChanged();
}

void CBookMakerDlg::OnCleanText()
{
    m_settings.clean = !m_settings.clean;
    SettingsChanged();
}

static_assert(IDM_VOLUME_2M - IDM_VOLUME_NONE + 1 == std::size(kVolumeSizeChoices), "one command per size");

void CBookMakerDlg::OnVolumeSize(std::size_t index)
{
    m_settings.maxJarBytes = kVolumeSizeChoices[index];
    SettingsChanged();
}

static_assert(IDM_COMPRESSION_NORMAL - IDM_COMPRESSION_FAST == static_cast<int>(BookCompression::normal) &&
                  IDM_COMPRESSION_SMALL - IDM_COMPRESSION_FAST == static_cast<int>(BookCompression::small),
              "one command per compression, in the enum's order");

void CBookMakerDlg::OnOutputFolder(bool choose)
{
    if (!choose) {
        m_settings.outputFolder.clear();
        SettingsChanged();
        return;
    }
    std::string folder;
    if (!Services().ChooseFolder(GetHwnd(), kOutputFolderPrompt, GetOutputFolder(), folder))
        return;
    // The folder the program started in is the default itself: remembered as 默认, so that
    // the program moved elsewhere writes beside itself again.
    m_settings.outputFolder = folder == m_strWorkDir ? std::string() : folder;
    SettingsChanged();
}

void CBookMakerDlg::OnCompression(BookCompression compression)
{
    m_settings.compression = compression;
    SettingsChanged();
}

LRESULT CBookMakerDlg::OnListKey(UINT key)
{
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (key == 'Z' && control) {
        UndoDelete();
        return -2;
    }
    if (key == VK_DELETE && !control) {
        DeleteSelected();
        return -2;
    }
    if (control && (key == VK_UP || key == VK_DOWN)) {
        MoveSelected(key == VK_UP);
        return -2;
    }
    return -1;  // the list box's own handling
}

void CBookMakerDlg::MoveSelected(bool up)
{
    m_undo = {};  // the places the last delete remembered move with the entries
    std::vector<int> selected = m_listSources.GetSelectedItems();
    if (selected.empty()) {
        // What the list box no longer shows selected, m_nCurSel may still remember.
        (up ? [](CSourceList& s) { s.MoveUp(); } : [](CSourceList& s) { s.MoveDown(); })(m_sources);
        return;
    }
    const int count = static_cast<int>(m_sources.GetCount());
    // Nearest the edge first, so that a block moves as one; an entry that cannot move
    // (at the edge, or behind one that could not) stays, and so do those behind it.
    if (!up)
        std::reverse(selected.begin(), selected.end());
    int edge = up ? 0 : count - 1;
    for (int& index : selected) {
        if (index == edge) {
            edge += up ? 1 : -1;
            continue;
        }
        m_sources.OnSelectionChange(index);
        if (up)
            m_sources.MoveUp();
        else
            m_sources.MoveDown();
        index += up ? -1 : 1;
    }
    if (!up)
        std::reverse(selected.begin(), selected.end());
    m_listSources.SelectItems(selected);
    m_sources.OnSelectionChange(selected.front());
}

void CBookMakerDlg::DeleteSelected()
{
    const std::vector<int> selected = m_listSources.GetSelectedItems();
    std::vector<std::size_t> indexes;
    for (int index : selected)
        indexes.push_back(static_cast<std::size_t>(index));
    const int remembered = m_sources.GetCurSel();
    if (indexes.empty() && remembered >= 0 && static_cast<std::size_t>(remembered) < m_sources.GetCount())
        indexes.push_back(static_cast<std::size_t>(remembered));  // what the list box no longer shows selected
    if (indexes.empty())
        return;
    RemoveEntries(indexes);
    // The list box then selects the entry that followed the first one deleted.
    const int first = static_cast<int>(indexes.front());
    const int next = first < static_cast<int>(m_sources.GetCount()) ? first : -1;
    m_listSources.SetCurSel(next);
    m_sources.OnSelectionChange(next);
}

void CBookMakerDlg::OnClearList()
{
    if (m_sources.GetCount() == 0)
        return;
    if (ShowMessage(kClearListQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    std::vector<std::size_t> all(m_sources.GetCount());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    RemoveEntries(all);
}

namespace {

// The list box neither repaints nor scrolls while a batch changes it; once after.
class NoRedraw {
public:
    explicit NoRedraw(HWND list) : m_list(list) { SendMessageW(m_list, WM_SETREDRAW, FALSE, 0); }
    ~NoRedraw()
    {
        SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_list, nullptr, TRUE);
    }
    NoRedraw(const NoRedraw&) = delete;
    NoRedraw& operator=(const NoRedraw&) = delete;

private:
    HWND m_list;
};

// A batch of changes to the list: no repaint meanwhile, and the window's flag set so that
// the list's notifications during it are not taken for the user's.
class ListBatch {
public:
    ListBatch(HWND list, bool& changing) : m_redraw(list), m_changing(changing) { m_changing = true; }
    ~ListBatch() { m_changing = false; }
    ListBatch(const ListBatch&) = delete;
    ListBatch& operator=(const ListBatch&) = delete;

private:
    NoRedraw m_redraw;
    bool& m_changing;
};

} // namespace

void CBookMakerDlg::RemoveEntries(const std::vector<std::size_t>& indexes)
{
    {
        ListBatch batch(m_listSources.GetHwnd(), m_bRemoving);
        if (indexes.size() == m_sources.GetCount())
            SendMessageW(m_listSources.GetHwnd(), LB_RESETCONTENT, 0, 0);  // the view's deletes then find nothing
        m_undo.entries = m_sources.Take(indexes);
        m_undo.indexes = m_undo.entries.empty() ? std::vector<std::size_t>() : indexes;
    }
    m_bListChanged = true;
    ShowResultLine("");
    ShowListCount();
}

void CBookMakerDlg::UndoDelete()
{
    if (m_undo.indexes.empty())
        return;
    Removed undo = std::move(m_undo);
    m_undo = {};
    std::vector<int> restored;
    for (std::size_t index : undo.indexes)
        restored.push_back(static_cast<int>(index));
    {
        // Selecting thousands of entries one by one repaints each unless redraw is off.
        ListBatch batch(m_listSources.GetHwnd(), m_bRemoving);
        m_sources.PutBack(undo.indexes, std::move(undo.entries));
        // What came back is shown selected, the first of it in view.
        m_listSources.SelectItems(restored);
        m_sources.OnSelectionChange(restored.front());
        m_listSources.EnsureVisible(restored.back());
        m_listSources.EnsureVisible(restored.front());
    }
    m_bListChanged = true;
    ShowResultLine("");
    ShowListCount();
}

static_assert(IDM_ENCODING_UTF16 - IDM_ENCODING_AUTO + 1 == std::size(kEncodingChoices), "one command per encoding");

void CBookMakerDlg::OnEncodingChoice(std::size_t index)
{
    m_settings.encodingChoice = index;
    ShowSettingsLine();  // not remembered: nothing to save
}

static_assert(IDM_CONVERT_T2S - IDM_CONVERT_NONE == static_cast<int>(TextConversion::t2s) &&
                  IDM_CONVERT_S2T - IDM_CONVERT_NONE == static_cast<int>(TextConversion::s2t),
              "one command per conversion, in the enum's order");

void CBookMakerDlg::OnConversion(TextConversion conversion)
{
    m_settings.conversion = conversion;
    SettingsChanged();
}

void CBookMakerDlg::OnInitMenuPopup(HMENU popup)
{
    ui::UpdateMenuItems(popup, [this](UINT id, ui::CommandState& state) {
        if (UpdateListCommand(id, state.enabled))
            return true;
        if (id == IDM_ALWAYS_ON_TOP) {
            state.checked = m_settings.alwaysOnTop;
        } else if (id == IDM_SPLIT_CHAPTERS) {
            state.checked = m_settings.byChapters;
        } else if (id == IDM_CLEAN_TEXT) {
            state.checked = m_settings.clean;
        } else if (id >= IDM_VOLUME_NONE && id <= IDM_VOLUME_2M) {
            state.checked = m_settings.maxJarBytes == kVolumeSizeChoices[id - IDM_VOLUME_NONE];
            state.radio = true;
        } else if (id >= IDM_COMPRESSION_FAST && id <= IDM_COMPRESSION_SMALL) {
            state.checked = m_settings.compression == static_cast<BookCompression>(id - IDM_COMPRESSION_FAST);
            state.radio = true;
        } else if (id >= IDM_ENCODING_AUTO && id <= IDM_ENCODING_UTF16) {
            state.checked = m_settings.encodingChoice == id - IDM_ENCODING_AUTO;
            state.radio = true;
        } else if (id == IDM_OUTPUT_DEFAULT || id == IDM_OUTPUT_CHOOSE) {
            state.checked = m_settings.outputFolder.empty() == (id == IDM_OUTPUT_DEFAULT);
            state.radio = true;
        } else if (id >= IDM_CONVERT_NONE && id <= IDM_CONVERT_S2T) {
            state.checked = m_settings.conversion == static_cast<TextConversion>(id - IDM_CONVERT_NONE);
            state.radio = true;
        } else {
            return false;
        }
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

void CBookMakerDlg::InsertItem(int index, const std::string& title)
{
    m_listSources.InsertString(index, title);
    m_bListChanged = true;
    if (m_bRemoving)
        return;  // UndoDelete shows the count and scrolls once
    m_undo = {};  // the places the last delete remembered are no longer where they were
    if (m_bBatchInsert)
        return;  // AppendEntries scrolls once
    ShowResultLine("");
    ShowListCount();
    // The entry is scrolled into view: the user should see where it went.
    m_listSources.EnsureVisible(index);
}

void CBookMakerDlg::DeleteItem(int index)
{
    if (static_cast<int>(SendMessageW(m_listSources.GetHwnd(), LB_GETCOUNT, 0, 0)) > index)
        m_listSources.DeleteString(index);
    m_bListChanged = true;
    if (m_bRemoving)
        return;  // RemoveEntries shows the count once
    m_undo = {};
    ShowResultLine("");
    ShowListCount();
}

void CBookMakerDlg::SetSelection(int index) { m_listSources.SetCurSel(index); }
