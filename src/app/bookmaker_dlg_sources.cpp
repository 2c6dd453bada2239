// The main window's source commands: add a file, add a folder, dropped files, typed
// content, and editing an entry. Every file goes through AddSourceFile, the same reading
// and import as the command line.
#include "app/add_content_dialog.h"
#include "app/app_texts.h"
#include "app/bookmaker_dlg.h"
#include "app/result_line.h"
#include "platform/exception.h"
#include "platform/path.h"
#include "platform/user_texts.h"
#include "res/resource.h"
#include "sources/book_info_guess.h"
#include "sources/natural_order.h"
#include "sources/reading_texts.h"
#include "sources/source_files.h"
#include "sources/text_import.h"
#include "sources/text_sniff.h"
#include "ui/wide_text.h"

#include <shellapi.h>
#include <commdlg.h>

#include <algorithm>
#include <exception>
#include <vector>

namespace {

// The name the shell shows for a dropped file (with or without its extension, as the
// user's setting says); the last component of the path when the shell cannot say.
std::string DisplayTitle(const std::wstring& path)
{
    std::vector<wchar_t> title(std::min<std::size_t>(path.size() + 1, 0xFFFF), L'\0');
    if (GetFileTitleW(path.c_str(), title.data(), static_cast<WORD>(title.size())) == 0)
        return ui::Narrow(title.data());
    return FileNameOfPath(ui::Narrow(path));
}

} // namespace

SourceFault CBookMakerDlg::AddFile(AddedSources& added, const SourceToAdd& file, bool byChapters,
                                   const SourceReading& reading, const ImportProgress& progress)
{
    // Its text is in the list once it was read, also when only some parts made it.
    const auto remember = [&added, &file] {
        if (std::find(added.paths.begin(), added.paths.end(), file.path) == added.paths.end())
            added.paths.push_back(file.path);
    };
    bool opened = false;
    std::exception_ptr failure;
    AddedSource source;
    try {
        opened = AddSourceFile(added.entries, file.path, file.title, &source, byChapters, progress, reading);
    } catch (const WorkCancelled&) {
        throw;  // 取消: ends the whole command
    } catch (...) {
        failure = std::current_exception();
    }
    const SourceFault fault = FaultOf(opened, failure);
    switch (fault) {
    case SourceFault::none:
        remember();
        if (source.implausible)
            added.implausible.push_back(FileNameOfPath(file.path) + "（" + EncodingName(source.encoding) + "）");
        break;
    case SourceFault::notOpened: break;  // skipped without a word
    case SourceFault::notText: added.notText.push_back(FileNameOfPath(file.path)); break;
    case SourceFault::notImported:
        remember();
        added.messages.push_back(kImportFailedMessage);
        break;
    case SourceFault::notRead: added.messages.push_back(kOpenFileFailedMessage); break;
    }
    return fault;
}

void CBookMakerDlg::AddFiles(const std::vector<SourceToAdd>& files, bool stopAtReadFailure)
{
    if (files.empty())
        return;
    AddedSources added;
    const bool byChapters = m_settings.byChapters;
    SourceReading reading;
    reading.encoding = kEncodingChoices[m_settings.encodingChoice];
    reading.conversion = m_settings.conversion;
    if (byChapters && !m_settings.chapterPattern.empty()) {
        std::string error;
        reading.chapterPattern = ChapterPattern::Compile(m_settings.chapterPattern, error);  // checked when chosen
    }
    reading.clean = m_settings.clean;
    const bool finished = RunLongCommand("正在添加", [&](CWorkProgress& progress) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string step = "正在读取：" + FileNameOfPath(files[i].path) +
                                     (files.size() > 1 ? "（" + std::to_string(i + 1) + "/" + std::to_string(files.size()) + "）" : "");
            progress.ReportWithin(step, i, files.size(), 0, 1);
            const SourceFault fault = AddFile(added, files[i], byChapters, reading, [&](std::size_t done, std::size_t total) {
                progress.ReportWithin(step, i, files.size(), done, total);
            });
            progress.Check();  // a file read after 取消 is not added
            if (EndsTheReading(fault) && stopAtReadFailure)
                break;
        }
    });
    if (!finished)
        return;  // cancelled: the list stays as it was before the command
    AppendEntries(added.entries);
    if (files.size() == 1 && !added.paths.empty())
        FillBookInfo(files.front(), reading);
    for (const std::string& path : added.paths) {
        if (std::find(m_arrSourcePaths.begin(), m_arrSourcePaths.end(), path) == m_arrSourcePaths.end())
            m_arrSourcePaths.push_back(path);
    }
    // The same failure of several files is said once: one box per kind, not per file.
    std::vector<std::string> said;
    for (const std::string& message : added.messages) {
        if (std::find(said.begin(), said.end(), message) != said.end())
            continue;
        said.push_back(message);
        ShowMessage(message);
    }
    ReportNotText(added.notText);
    m_arrImplausible = std::move(added.implausible);
    ReportImplausible();
}

void CBookMakerDlg::FillBookInfo(const SourceToAdd& file, const SourceReading& reading)
{
    UpdateData(true);
    // The user's own entries win, even blank ones typed on purpose.
    if (!m_strBookName.empty() && !m_strAuthor.empty())
        return;
    // The file's name without its extension: a dropped file's shown title may keep it.
    const GuessedBookInfo info = GuessBookInfo(TitleFromFileName(file.path), ReadTextStart(file.path, reading));
    if (m_strBookName.empty())
        m_strBookName = info.name;
    if (m_strAuthor.empty())
        m_strAuthor = info.author;
    UpdateData(false);
}

void CBookMakerDlg::AppendEntries(const CSourceList& entries)
{
    const std::size_t count = entries.GetCount();
    if (count == 0)
        return;
    const int first = static_cast<int>(m_sources.GetCount());
    ShowResultLine("");
    HWND list = m_listSources.GetHwnd();
    // The list box neither repaints nor scrolls per entry: thousands of chapters would
    // repaint it thousands of times.
    struct Batch {
        CBookMakerDlg& dialog;
        HWND list;
        Batch(CBookMakerDlg& d, HWND l) : dialog(d), list(l)
        {
            dialog.m_bBatchInsert = true;
            SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        }
        ~Batch()
        {
            dialog.m_bBatchInsert = false;
            SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
    } batch(*this, list);
    std::size_t titleBytes = 0;
    for (const BookPart& part : entries.GetParts())
        titleBytes += part.title.size() * 2 + 2;
    SendMessageW(list, LB_INITSTORAGE, count, static_cast<LPARAM>(titleBytes));
    for (const BookPart& part : entries.GetParts())
        m_sources.AddEntry(part.title, part.text, false);
    // The new entries are scrolled into view once, as many of them as fit from the first.
    m_listSources.EnsureVisible(static_cast<int>(m_sources.GetCount()) - 1);
    m_listSources.EnsureVisible(first);
    ShowListCount();
}

// Names listed in a message box: as many as fit any screen, the rest counted.
constexpr std::size_t kMostNamesInABox = 12;

void CBookMakerDlg::ReportNotText(const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    std::string text = kNotTextMessage;
    if (names.size() <= 3) {
        for (std::size_t i = 0; i < names.size(); ++i)
            text += (i ? "、" : "") + names[i];
    } else {
        text += "\r\n" + ListedNames(names, kMostNamesInABox);
    }
    ShowMessage(text);
}

void CBookMakerDlg::ReportImplausible()
{
    if (m_arrImplausible.empty())
        return;
    std::string text = "下面的文件按识别出的编码读出来像乱码，编码可能不对：\r\n";
    text += ListedNames(m_arrImplausible, kMostNamesInABox);
    text += "文件已经加入。如果编码不对，请在“工具”→“文本编码”里选对编码，删去这些内容后重新加入。";
    m_arrImplausible.clear();
    ShowMessage(text, MB_OK | MB_ICONWARNING);
}

std::string CBookMakerDlg::StartFolder() const
{
    return m_settings.lastFolder.empty() ? m_strWorkDir : m_settings.lastFolder;
}

void CBookMakerDlg::RememberFolder(const std::string& folder)
{
    if (folder.empty() || folder == m_settings.lastFolder)
        return;
    m_settings.lastFolder = folder;
    Services().SaveSettings(FormatWindowSettings(m_settings));
}

void CBookMakerDlg::OnAddFile()
{
    UpdateData(true);
    std::vector<std::string> paths;
    if (!Services().ChooseFiles(GetHwnd(), kTextFileFilter, StartFolder(), paths) || paths.empty())
        return;
    const std::string& first = paths.front();
    std::string folder = first.substr(0, first.size() - FileNameOfPath(first).size());
    if (folder.size() > 1 && IsPathSeparator(folder.back()) && folder[folder.size() - 2] != ':')
        folder.pop_back();  // "D:\书库", but "D:\"
    RememberFolder(folder);
    // The dialog hands the names in an order of its own (the last clicked first, on some
    // systems): they are added in name order, as a folder's files are.
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return NaturalCompare(FileNameOfPath(a), FileNameOfPath(b)) < 0;
    });
    std::vector<SourceToAdd> files;
    for (const std::string& path : paths)
        files.push_back({path, TitleFromFileName(path)});
    AddFiles(files, false);
}

void CBookMakerDlg::OnAddFolder()
{
    std::string folder;
    if (!Services().ChooseFolder(GetHwnd(), kFolderPrompt, StartFolder(), folder))
        return;
    RememberFolder(folder);
    AddFolder(folder);
}

void CBookMakerDlg::AddFolder(const std::string& folder)
{
    UpdateData(true);
    std::vector<std::string> paths;
    try {
        paths = ScanFolder(folder);
    } catch (const CException&) {
        ShowMessage(kOpenFileFailedMessage);
        return;
    }
    // A file that cannot be read ends the scan; the files before it stay in the list. Files
    // that are not text are left out and named together at the end.
    std::vector<SourceToAdd> files;
    for (const std::string& path : paths)
        files.push_back({path, TitleFromFileName(path)});
    AddFiles(files, true);
}

void CBookMakerDlg::OnDropFiles(HDROP drop)
{
    UpdateData(true);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<SourceToAdd> files;
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first: a dropped path may be longer than MAX_PATH.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        if (path.empty())
            continue;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;  // folders are not scanned when dropped
        files.push_back({ui::Narrow(path), DisplayTitle(path)});
    }
    DragFinish(drop);
    // A failing file is reported and given up; the next one is still added.
    AddFiles(files, false);
}

void CBookMakerDlg::OnAddContent()
{
    CAddContentDlg dialog(Services(), m_sources, m_settings.byChapters, m_settings.conversion, m_settings.clean,
                          m_pWorkObserver);
    dialog.DoModal(GetHwnd());
}

void CBookMakerDlg::OnListContextMenu(POINT where)
{
    HWND list = m_listSources.GetHwnd();
    if (where.x == -1 && where.y == -1) {
        // From the keyboard: below the entry that has the focus when it is selected, else
        // below the first selected one, else at the list's corner.
        const std::vector<int> selected = m_listSources.GetSelectedItems();
        auto anchor = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
        if (!selected.empty() && std::find(selected.begin(), selected.end(), anchor) == selected.end())
            anchor = selected.front();
        RECT item {};
        if (anchor < 0 || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(anchor), reinterpret_cast<LPARAM>(&item)) ==
                              LB_ERR)
            item = RECT {};
        where = POINT {item.left + 8, item.bottom};
        ClientToScreen(list, &where);
    } else {
        // A right-click on an entry outside the selection selects that entry alone, as
        // the file manager does; on the selection, or below the entries, it keeps it.
        POINT client = where;
        ScreenToClient(list, &client);
        const auto hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
        const int index = LOWORD(hit);
        const std::vector<int> selected = m_listSources.GetSelectedItems();
        if (HIWORD(hit) == 0 && std::find(selected.begin(), selected.end(), index) == selected.end()) {
            m_listSources.SelectItems({index});
            m_sources.OnSelectionChange(index);
        }
    }
    HMENU popup = GetSubMenu(m_listMenu.GetHandle(), 0);
    if (!popup)
        return;
    OnInitMenuPopup(popup);
    if (const UINT command = Services().ShowPopupMenu(GetHwnd(), popup, where))
        OnCommand(static_cast<int>(command), BN_CLICKED, nullptr);
}

bool CBookMakerDlg::UpdateListCommand(UINT id, bool& enabled) const
{
    const std::vector<int> selected = m_listSources.GetSelectedItems();
    const auto count = static_cast<int>(m_sources.GetCount());
    const auto chosen = static_cast<int>(selected.size());
    switch (id) {
    case IDM_EDIT_ENTRY: enabled = chosen == 1; return true;
    case IDM_UNDO_DELETE: enabled = CanUndoDelete(); return true;
    case IDM_CLEAR_LIST: enabled = count > 0; return true;
    case IDC_DELETE: enabled = chosen > 0; return true;
    // Something moves unless the selection is a block already at that edge.
    case IDC_UP: enabled = chosen > 0 && selected.back() >= chosen; return true;
    case IDC_DOWN: enabled = chosen > 0 && selected.front() < count - chosen; return true;
    default: return false;
    }
}

void CBookMakerDlg::OnEditEntry()
{
    const int index = m_listSources.GetCurSel();
    if (index < 0 || static_cast<std::size_t>(index) >= m_sources.GetCount())
        return;
    CAddContentDlg dialog(Services(), m_sources, m_settings.byChapters, m_settings.conversion, m_settings.clean,
                          m_pWorkObserver);
    const BookPart& part = m_sources.GetParts()[static_cast<std::size_t>(index)];
    dialog.SetContent(part.title, part.text);
    dialog.DoModal(GetHwnd());
}
