// The main window's source commands: add a file, add a folder, dropped files, typed
// content, and editing an entry. Every file goes through AddSourceFile, the same reading
// and import as the command line.
#include "app/add_content_dialog.h"
#include "app/app_texts.h"
#include "app/bookmaker_dlg.h"
#include "platform/exception.h"
#include "platform/path.h"
#include "platform/user_texts.h"
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

CBookMakerDlg::AddResult CBookMakerDlg::AddFile(const std::string& path, const std::string& title,
                                                std::vector<std::string>& notText)
{
    // Its text is in the list once it was read, also when only some parts made it.
    const auto remember = [this, &path] {
        if (std::find(m_arrSourcePaths.begin(), m_arrSourcePaths.end(), path) == m_arrSourcePaths.end())
            m_arrSourcePaths.push_back(path);
    };
    SourceReading reading;
    reading.encoding = kEncodingChoices[m_nEncodingChoice];
    reading.conversion = m_settings.conversion;
    AddedSource added;
    try {
        if (!AddSourceFile(m_sources, path, title, &added, m_settings.byChapters, {}, reading))
            return AddResult::skipped;
        remember();
        if (added.implausible)
            m_arrImplausible.push_back(FileNameOfPath(path) + "（" + EncodingName(added.encoding) + "）");
        return AddResult::added;
    } catch (const CNotTextException&) {
        notText.push_back(FileNameOfPath(path));
        return AddResult::notText;
    } catch (const CImportException& e) {
        remember();
        ShowMessage(e.Message());
        return AddResult::importFailed;
    } catch (const CException&) {
        ShowMessage(kOpenFileFailedMessage);
        return AddResult::readFailed;
    } catch (const std::exception&) {
        // Memory exhausted (or a size the string cannot hold) while reading.
        ShowMessage(kOpenFileFailedMessage);
        return AddResult::readFailed;
    }
}

void CBookMakerDlg::ReportNotText(const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    std::string text = kNotTextMessage;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? "、" : "") + names[i];
    ShowMessage(text);
}

void CBookMakerDlg::ReportImplausible()
{
    if (m_arrImplausible.empty())
        return;
    std::string text = "下面的文件按识别出的编码读出来像乱码，编码可能不对：\r\n";
    for (const std::string& name : m_arrImplausible)
        text += "    " + name + "\r\n";
    text += "文件已经加入。如果编码不对，请在“工具”→“文本编码”里选对编码，删去这些内容后重新加入。";
    m_arrImplausible.clear();
    ShowMessage(text, MB_OK | MB_ICONWARNING);
}

void CBookMakerDlg::OnAddFile()
{
    UpdateData(true);
    std::string path;
    if (!Services().ChooseFile(GetHwnd(), kTextFileFilter, path))
        return;
    std::vector<std::string> notText;
    AddFile(path, TitleFromFileName(path), notText);
    ReportNotText(notText);
    ReportImplausible();
}

void CBookMakerDlg::OnAddFolder()
{
    std::string folder;
    if (Services().ChooseFolder(GetHwnd(), kFolderPrompt, folder))
        AddFolder(folder);
}

void CBookMakerDlg::AddFolder(const std::string& folder)
{
    UpdateData(true);
    std::vector<std::string> files;
    try {
        files = ScanFolder(folder);
    } catch (const CException&) {
        ShowMessage(kOpenFileFailedMessage);
        return;
    }
    // A file that cannot be read ends the scan; the files before it stay in the list. Files
    // that are not text are left out and named together at the end.
    std::vector<std::string> notText;
    for (const std::string& path : files) {
        if (AddFile(path, TitleFromFileName(path), notText) == AddResult::readFailed)
            break;
    }
    ReportNotText(notText);
    ReportImplausible();
}

void CBookMakerDlg::OnDropFiles(HDROP drop)
{
    UpdateData(true);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> notText;
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
        // A failing file is reported and given up; the next one is still added.
        AddFile(ui::Narrow(path), DisplayTitle(path), notText);
    }
    DragFinish(drop);
    ReportNotText(notText);
    ReportImplausible();
}

void CBookMakerDlg::OnAddContent()
{
    CAddContentDlg dialog(Services(), m_sources, m_settings.byChapters);
    dialog.DoModal(GetHwnd());
}

void CBookMakerDlg::OnEditEntry()
{
    const int index = m_listSources.GetCurSel();
    if (index < 0 || static_cast<std::size_t>(index) >= m_sources.GetCount())
        return;
    CAddContentDlg dialog(Services(), m_sources, m_settings.byChapters);
    dialog.SetContent(m_sources.GetTitles()[index], m_sources.GetTexts()[index]);
    dialog.DoModal(GetHwnd());
}
