// The main window (dialog 102): the source list, the three book fields, and the commands
// that fill the list and generate the book. The list's model is a CSourceList; the list
// box mirrors it through ISourceListView.
#pragma once

#include "app/control_anchors.h"
#include "app/window_settings.h"
#include "app/work_window.h"
#include "controls/hyperlink_label.h"
#include "controls/icon_button.h"
#include "controls/owner_menu.h"
#include "sources/source_files.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "ui/dialog.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

struct BookResult;

class CBookMakerDlg : public ui::Dialog, private ISourceListView {
public:
    explicit CBookMakerDlg(ui::IServices& services);
    ~CBookMakerDlg() override;

    const CSourceList& GetSources() const { return m_sources; }
    const std::string& GetWorkDir() const { return m_strWorkDir; }
    bool IsAlwaysOnTop() const { return m_settings.alwaysOnTop; }
    // Where books go: the folder chosen in 工具 > 输出文件夹, else the working folder.
    std::string GetOutputFolder() const;
    // Whether Ctrl+Z has something to put back.
    bool CanUndoDelete() const { return !m_undo.indexes.empty(); }
    const WindowSettings& GetSettings() const { return m_settings; }

    // Adds the ".txt" files directly inside folder, in name order (the folder command
    // after its chooser).
    void AddFolder(const std::string& folder);

    // Long commands (adding, generating) tell observer about their work; tests hold the
    // work there to click the window meanwhile. Null: nobody watches.
    void SetWorkObserver(IWorkObserver* observer) { m_pWorkObserver = observer; }
    bool IsWorking() const { return m_bWorking; }
    // The list changed since the last book was generated (closing then asks first).
    bool HasUnsavedList() const { return m_bListChanged && m_sources.GetCount() > 0; }

protected:
    void ExchangeData(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Leaving (关闭程序, 文件 > 退出, the close box) asks first when the list holds entries
    // no book was generated from since they changed.
    void OnOK() override;

private:
    // A file to add: its path and the title its entries get.
    struct SourceToAdd {
        std::string path;
        std::string title;
    };
    // What an adding command gathered on its worker: the entries in a list of their own
    // (the window's list changes only once the work is done, all at once), the files read,
    // and what to tell the user, in order.
    struct AddedSources {
        CSourceList entries;
        std::vector<std::string> paths;
        std::vector<std::string> messages;
        std::vector<std::string> notText;
        std::vector<std::string> implausible;  // "name（GBK）" of texts that read as nonsense
    };

    void OnGenerate();
    void OnAbout();
    void OnAlwaysOnTop();
    void OnSplitByChapters();
    void OnChapterRule();
    // 工具 > 整理文本: on or off.
    void OnCleanText();
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
    // 工具 > 输出文件夹: 默认, or a folder chosen.
    void OnOutputFolder(bool choose);
    // The folder a file dialog or the folder chooser opens in, and the one to open in next.
    std::string StartFolder() const;
    void RememberFolder(const std::string& folder);
    void OnDropFiles(HDROP drop);
    void OnAddContent();
    void OnEditEntry();
    void OnInitMenuPopup(HMENU popup);
    // ↑ / ↓ (and Ctrl+Up / Ctrl+Down in the list): every selected entry one place up or
    // down, those already at the edge staying, the selection moving with them.
    void MoveSelected(bool up);
    // 删 and the Delete key: every selected entry.
    void DeleteSelected();
    // 工具 > 清空列表, after asking.
    void OnClearList();
    // Takes out the entries at indexes (ascending) in one batch, remembered for Ctrl+Z.
    void RemoveEntries(const std::vector<std::size_t>& indexes);
    // Ctrl+Z and the list's 撤销删除: puts back what the last Delete or 清空列表 took.
    void UndoDelete();
    // The list's frame says how many entries it holds.
    void ShowListCount();
    // Places the window where it was when it last closed (if that is on a screen), and
    // remembers where it is now.
    void RestorePlace();
    void RememberPlace();
    // Keys the list box passes on (WM_VKEYTOITEM): -2 when handled here, -1 otherwise.
    LRESULT OnListKey(UINT key);
    // The list's context menu, at a right-click (where: its screen point) or at the
    // keyboard's menu key or Shift+F10 (where: -1, -1).
    void OnListContextMenu(POINT where);
    // Whether the commands of the list's menu can do anything now.
    bool UpdateListCommand(UINT id, bool& enabled) const;
    // Icon buttons, link labels and the owner-drawn menu with its images.
    void Decorate();
    bool OnPaintMinimised();

    // Reads one file into added on the worker; a failure becomes a message of added, and
    // the name of a file that is not a text goes into its notText (one message for all).
    static SourceFault AddFile(AddedSources& added, const SourceToAdd& file, bool byChapters,
                               const SourceReading& reading, const ImportProgress& progress);
    // Adds files on a worker with progress; a file that cannot be read ends the command
    // when stopAtReadFailure. Cancelled: the list stays as it was.
    void AddFiles(const std::vector<SourceToAdd>& files, bool stopAtReadFailure);
    // Fills an empty 书名 and 作者 with what the file's name or first lines say.
    void FillBookInfo(const SourceToAdd& file, const SourceReading& reading);
    // Appends entries to the list in one batch: the list box repaints and scrolls once.
    void AppendEntries(const CSourceList& entries);
    // One message naming the files a command refused as not text; none when there are none.
    void ReportNotText(const std::vector<std::string>& names);
    // Runs work on a worker with the progress window; false when cancelled.
    bool RunLongCommand(const std::string& caption, const std::function<void(CWorkProgress&)>& work);
    // The information text, or in its place what the last command did; "" puts back the
    // information text.
    void ShowResultLine(const std::string& line);
    // What the build wrote, in the brief form when the whole line does not fit the box.
    void ShowWrittenBook(const BookResult& book);
    void ShowSettingsLine();
    // A setting of 工具 changed: remembered, and the settings line says it.
    void SettingsChanged();
    // One message naming the files of the command whose text reads as nonsense in the
    // encoding detected (m_arrImplausible), which it empties; none when there are none.
    void ReportImplausible();

    // ISourceListView: the list box follows the model; a change puts back the information
    // text and marks the list as changed since the last book.
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
    WindowSettings m_settings;
    CControlAnchors m_anchors;
    // What the last Delete or 清空列表 took out, and where from; emptied when the list
    // changes otherwise.
    struct Removed {
        std::vector<std::size_t> indexes;
        std::vector<BookPart> entries;
    } m_undo;
    bool m_bRemoving = false;  // RemoveEntries or UndoDelete is changing the list
    std::vector<std::string> m_arrImplausible;  // "name（GBK）" of the current command's files
    COwnerMenu m_menu;
    COwnerMenu m_listMenu;  // the list's context menu
    std::string m_strWorkDir;
    // The book's parts and the remembered selection (m_nCurSel).
    CSourceList m_sources;
    // The files read into the list: the book is never written over one of them. Deleting
    // an entry keeps its file here, since an entry does not record the file it came from
    // (a file may give several entries, an entry may be edited); a file that stays
    // protected only costs the user another book name.
    std::vector<std::string> m_arrSourcePaths;
    std::string m_strInfoText;  // as the template has it
    bool m_bWorking = false;
    bool m_bBatchInsert = false;  // AppendEntries is filling the list box
    bool m_bListChanged = false;
    IWorkObserver* m_pWorkObserver = nullptr;
};
