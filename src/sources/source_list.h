// The book's ordered parts (a title and a text each), the remembered selection
// (m_nCurSel) and the selection the list box shows, which differ after deleting the last
// entry. The main window mirrors the model into its list box through ISourceListView.
#pragma once

#include "sources/book_part.h"

#include <string>
#include <vector>

class ISourceListView {
public:
    virtual ~ISourceListView() = default;
    virtual void InsertItem(int index, const std::string& title) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void SetSelection(int index) = 0;  // -1: nothing selected
};

class CSourceList {
public:
    // May be null (the command line has no list box). A view is assumed empty: the entries
    // the list already holds are inserted into it.
    void SetView(ISourceListView* view);

    // Appends, or with replaceSelected replaces the entry at m_nCurSel in place (and appends
    // when m_nCurSel names no entry). The list changes only when the view took the entry.
    void AddEntry(const std::string& title, std::string text, bool replaceSelected);
    // Puts the entries of `entries` in place of the count entries from first (count 0 inserts
    // them before first; first == GetCount() appends them). A selection inside the range
    // moves to the first new entry, one after it moves with its entry. Both sequences
    // change, or neither; the view follows.
    void ReplaceRange(std::size_t first, std::size_t count, const CSourceList& entries);
    // Takes out the entries at indexes (ascending, each an entry; anything else takes
    // nothing) in one pass and returns them in order; the view deletes them from the last.
    // Nothing is selected afterwards.
    std::vector<BookPart> Take(const std::vector<std::size_t>& indexes);
    // Puts entries back at the indexes Take took them from (ascending; one past the end at
    // most when it comes); the view inserts them from the first. Nothing is selected.
    void PutBack(const std::vector<std::size_t>& indexes, std::vector<BookPart> entries);
    // m_nCurSel becomes the list box's selection (-1 for none).
    void OnSelectionChange(int listSelection);
    void MoveUp();
    void MoveDown();
    void Delete();

    int GetCurSel() const { return m_nCurSel; }
    int GetVisibleSelection() const { return m_nVisibleSel; }
    std::size_t GetCount() const { return m_parts.size(); }
    const std::vector<BookPart>& GetParts() const { return m_parts; }

private:
    bool IsIndex(int index) const;
    void Swap(int upper);  // entries upper and upper + 1 change places

    ISourceListView* m_pView = nullptr;
    std::vector<BookPart> m_parts;
    int m_nCurSel = -1;
    int m_nVisibleSel = -1;
};
