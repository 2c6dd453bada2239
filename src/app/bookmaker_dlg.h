// The main window (dialog 102): the source list, the three book fields, and the commands
// that fill the list and generate the book. The list's model is a CSourceList; the list
// box mirrors it through ISourceListView.
#pragma once

#include "app/window_settings.h"
#include "controls/hyperlink_label.h"
#include "controls/icon_button.h"
#include "controls/owner_menu.h"
#include "sources/source_list.h"
#include "ui/dialog.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

class CBookMakerDlg : public ui::Dialog, private ISourceListView {
public:
    explicit CBookMakerDlg(ui::IServices& services);
    ~CBookMakerDlg() override;

    const CSourceList& GetSources() const { return m_sources; }
    const std::string& GetWorkDir() const { return m_strWorkDir; }
    bool IsAlwaysOnTop() const { return m_bAlwaysOnTop; }
    const WindowSettings& GetSettings() const { return m_settings; }

    // Adds the ".txt" files directly inside folder, in name order (the folder command
    // after its chooser).
    void AddFolder(const std::string& folder);

protected:
    void ExchangeData(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    enum class AddResult { added, skipped, notText, importFailed, readFailed };

    void OnGenerate();
    void OnAbout();
    void OnAlwaysOnTop();
    void OnSplitByChapters();
    // 工具 > 分卷大小: the choice at index of kVolumeSizeChoices.
    void OnVolumeSize(std::size_t index);
    // 工具 > 压缩: 快速, 标准 or 最小.
    void OnCompression(BookCompression compression);
    // 工具 > 文本编码: the choice at index of kEncodingChoices, for this session only.
    void OnEncodingChoice(std::size_t index);
    // 工具 > 繁简转换.
    void OnConversion(TextConversion conversion);
    void OnAddFile();
    void OnAddFolder();
    void OnDropFiles(HDROP drop);
    void OnAddContent();
    void OnEditEntry();
    void OnInitMenuPopup(HMENU popup);
    // Icon buttons, link labels and the owner-drawn menu with its images.
    void Decorate();
    bool OnPaintMinimised();

    // Reads one file into the list under title, reporting failures as the file commands do;
    // the name of a file that is not a text goes into notText instead, for ReportNotText.
    AddResult AddFile(const std::string& path, const std::string& title, std::vector<std::string>& notText);
    // One message naming the files a command refused as not text; none when there are none.
    void ReportNotText(const std::vector<std::string>& names);
    // One message naming the files of the command whose text reads as nonsense in the
    // encoding detected (m_arrImplausible), which it empties; none when there are none.
    void ReportImplausible();

    // ISourceListView: the list box follows the model.
    void InsertItem(int index, const std::string& title) override;
    void DeleteItem(int index) override;
    void SetSelection(int index) override;

    CIconButton m_btnDelete;
    CIconButton m_btnAddContent;
    CIconButton m_btnGenerate;
    CIconButton m_btnAddFile;
    CIconButton m_btnAddFolder;
    CIconButton m_btnAbout;
    CIconButton m_btnClose;
    CIconButton m_btnDown;
    CIconButton m_btnUp;
    ui::ListBox m_listSources;
    std::string m_strAuthor;
    std::string m_strMaker;
    std::string m_strBookName;
    CHyperlinkLabel m_lblMail;
    CHyperlinkLabel m_lblWeb;
    HICON m_hIcon;
    HICON m_hSmallIcon;
    bool m_bAlwaysOnTop = false;
    WindowSettings m_settings;
    std::size_t m_nEncodingChoice = 0;  // index of kEncodingChoices: 自动 at start
    std::vector<std::string> m_arrImplausible;  // "name（GBK）" of the current command's files
    COwnerMenu m_menu;
    std::string m_strWorkDir;
    // Titles, texts (m_arrTexts) and the remembered selection (m_nCurSel).
    CSourceList m_sources;
    // The files read into the list: the book is never written over one of them. Deleting
    // an entry keeps its file here, since an entry does not record the file it came from
    // (a file may give several entries, an entry may be edited); a file that stays
    // protected only costs the user another book name.
    std::vector<std::string> m_arrSourcePaths;
};
