// The main window (dialog 102): the source list, the three book fields, and the commands
// that fill the list and generate the book. The list's model is a CSourceList; the list
// box mirrors it through ISourceListView.
#pragma once

#include "sources/source_list.h"
#include "ui/dialog.h"
#include "ui/menu.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

class CBookMakerDlg : public ui::Dialog, private ISourceListView {
public:
    explicit CBookMakerDlg(ui::IServices& services);
    ~CBookMakerDlg() override;

    const CSourceList& GetSources() const { return m_sources; }
    const std::string& GetWorkDir() const { return m_strWorkDir; }
    bool IsAlwaysOnTop() const { return m_bAlwaysOnTop; }

    // Adds the ".txt" files directly inside folder, in name order (the folder command
    // after its chooser).
    void AddFolder(const std::string& folder);

protected:
    void ExchangeData(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    enum class AddResult { added, skipped, importFailed, readFailed };

    void OnGenerate();
    void OnAbout();
    void OnAlwaysOnTop();
    void OnAddFile();
    void OnAddFolder();
    void OnDropFiles(HDROP drop);
    void OnAddContent();
    void OnEditEntry();
    void OnInitMenuPopup(HMENU popup);
    bool OnPaintMinimised();

    // Reads one file into the list under title, reporting failures as the file commands do.
    AddResult AddFile(const std::string& path, const std::string& title);

    // ISourceListView: the list box follows the model.
    void InsertItem(int index, const std::string& title) override;
    void DeleteItem(int index) override;
    void SetSelection(int index) override;

    ui::Button m_btnDelete;
    ui::Button m_btnAddContent;
    ui::Button m_btnGenerate;
    ui::Button m_btnAddFile;
    ui::Button m_btnAddFolder;
    ui::Button m_btnAbout;
    ui::Button m_btnClose;
    ui::Button m_btnDown;
    ui::Button m_btnUp;
    ui::ListBox m_listSources;
    std::string m_strAuthor;
    std::string m_strMaker;
    std::string m_strBookName;
    ui::Static m_lblMail;
    ui::Static m_lblWeb;
    HICON m_hIcon;
    HICON m_hSmallIcon;
    bool m_bAlwaysOnTop = false;
    ui::Menu m_menu;
    std::string m_strWorkDir;
    // Titles, texts (m_arrTexts) and the remembered selection (m_nCurSel).
    CSourceList m_sources;
};
