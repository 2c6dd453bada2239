#include "sources/source_list.h"

#include <utility>

void CSourceList::SetView(ISourceListView* view)
{
    m_pView = view;
    if (!m_pView)
        return;
    // A view attached to a list that already holds entries is given them (it starts empty).
    for (std::size_t i = 0; i < m_arrTitles.size(); ++i)
        m_pView->InsertItem(static_cast<int>(i), m_arrTitles[i]);
    if (m_nVisibleSel >= 0)
        m_pView->SetSelection(m_nVisibleSel);
}

bool CSourceList::IsIndex(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < m_arrTitles.size();
}

void CSourceList::AddEntry(const std::string& title, std::string text, bool replaceSelected)
{
    if (replaceSelected && IsIndex(m_nCurSel)) {
        // The entry at m_nCurSel is replaced in place and shown selected; m_nCurSel stays.
        const int sel = m_nCurSel;
        std::string newTitle = title;
        if (m_pView) {
            m_pView->DeleteItem(sel);
            m_pView->InsertItem(sel, newTitle);
            m_pView->SetSelection(sel);
        }
        m_arrTitles[static_cast<std::size_t>(sel)] = std::move(newTitle);
        m_arrTexts[static_cast<std::size_t>(sel)] = std::move(text);
        m_nVisibleSel = sel;
        return;
    }
    // Appended (also a replacement without a remembered entry to replace, which the window
    // cannot ask for): the selection does not change. Both sequences grow, or neither.
    m_arrTitles.push_back(title);
    try {
        m_arrTexts.push_back(std::move(text));
    } catch (...) {
        m_arrTitles.pop_back();
        throw;
    }
    if (m_pView) {
        try {
            m_pView->InsertItem(static_cast<int>(m_arrTitles.size() - 1), m_arrTitles.back());
        } catch (...) {
            m_arrTitles.pop_back();
            m_arrTexts.pop_back();
            throw;
        }
    }
}

void CSourceList::ReplaceRange(std::size_t first, std::size_t count, const CSourceList& entries)
{
    if (first > m_arrTitles.size() || count > m_arrTitles.size() - first)
        return;
    // Built aside first: memory running out leaves the list as it was.
    std::vector<std::string> titles(m_arrTitles.begin(), m_arrTitles.begin() + static_cast<std::ptrdiff_t>(first));
    std::vector<std::string> texts(m_arrTexts.begin(), m_arrTexts.begin() + static_cast<std::ptrdiff_t>(first));
    titles.insert(titles.end(), entries.m_arrTitles.begin(), entries.m_arrTitles.end());
    texts.insert(texts.end(), entries.m_arrTexts.begin(), entries.m_arrTexts.end());
    titles.insert(titles.end(), m_arrTitles.begin() + static_cast<std::ptrdiff_t>(first + count), m_arrTitles.end());
    texts.insert(texts.end(), m_arrTexts.begin() + static_cast<std::ptrdiff_t>(first + count), m_arrTexts.end());
    m_arrTitles.swap(titles);
    m_arrTexts.swap(texts);

    const int added = static_cast<int>(entries.GetCount());
    const auto moved = [&](int index) {
        if (index < static_cast<int>(first))
            return index;
        if (index < static_cast<int>(first + count))
            return added ? static_cast<int>(first) : -1;
        return index - static_cast<int>(count) + added;
    };
    m_nCurSel = moved(m_nCurSel);
    m_nVisibleSel = moved(m_nVisibleSel);
    if (!m_pView)
        return;
    for (std::size_t i = 0; i < count; ++i)
        m_pView->DeleteItem(static_cast<int>(first));
    for (int i = 0; i < added; ++i)
        m_pView->InsertItem(static_cast<int>(first) + i, m_arrTitles[first + static_cast<std::size_t>(i)]);
    m_pView->SetSelection(m_nVisibleSel);
}

void CSourceList::OnSelectionChange(int listSelection)
{
    m_nCurSel = listSelection;
    m_nVisibleSel = listSelection;
}

void CSourceList::Swap(int upper)
{
    std::swap(m_arrTitles[static_cast<std::size_t>(upper)], m_arrTitles[static_cast<std::size_t>(upper) + 1]);
    std::swap(m_arrTexts[static_cast<std::size_t>(upper)], m_arrTexts[static_cast<std::size_t>(upper) + 1]);
}

void CSourceList::MoveUp()
{
    const int sel = m_nCurSel;
    if (sel < 1 || !IsIndex(sel))
        return;
    Swap(sel - 1);
    if (m_pView) {
        m_pView->DeleteItem(sel);
        m_pView->InsertItem(sel - 1, m_arrTitles[static_cast<std::size_t>(sel) - 1]);
        m_pView->SetSelection(sel - 1);
    }
    m_nCurSel = m_nVisibleSel = sel - 1;
}

void CSourceList::MoveDown()
{
    const int sel = m_nCurSel;
    if (sel < 0 || !IsIndex(sel + 1))
        return;
    Swap(sel);
    if (m_pView) {
        m_pView->DeleteItem(sel);
        m_pView->InsertItem(sel + 1, m_arrTitles[static_cast<std::size_t>(sel) + 1]);
        m_pView->SetSelection(sel + 1);
    }
    m_nCurSel = m_nVisibleSel = sel + 1;
}

void CSourceList::Delete()
{
    const int sel = m_nCurSel;
    if (!IsIndex(sel))
        return;
    m_arrTitles.erase(m_arrTitles.begin() + sel);
    m_arrTexts.erase(m_arrTexts.begin() + sel);
    // The list box selects index sel again: the entry that followed, or nothing when the
    // last one went. m_nCurSel keeps the value sel either way.
    m_nVisibleSel = IsIndex(sel) ? sel : -1;
    if (m_pView) {
        m_pView->DeleteItem(sel);
        m_pView->SetSelection(m_nVisibleSel);
    }
}
