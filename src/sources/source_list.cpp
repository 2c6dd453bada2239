#include "sources/source_list.h"

#include <utility>

void CSourceList::SetView(ISourceListView* view)
{
    m_pView = view;
    if (!m_pView)
        return;
    // A view attached to a list that already holds entries is given them (it starts empty).
    for (std::size_t i = 0; i < m_parts.size(); ++i)
        m_pView->InsertItem(static_cast<int>(i), m_parts[i].title);
    if (m_nVisibleSel >= 0)
        m_pView->SetSelection(m_nVisibleSel);
}

bool CSourceList::IsIndex(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < m_parts.size();
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
        m_parts[static_cast<std::size_t>(sel)] = BookPart {std::move(newTitle), std::move(text)};
        m_nVisibleSel = sel;
        return;
    }
    // Appended (also a replacement without a remembered entry to replace, which the window
    // cannot ask for): the selection does not change.
    m_parts.push_back(BookPart {title, std::move(text)});
    if (m_pView) {
        try {
            m_pView->InsertItem(static_cast<int>(m_parts.size() - 1), m_parts.back().title);
        } catch (...) {
            m_parts.pop_back();
            throw;
        }
    }
}

void CSourceList::ReplaceRange(std::size_t first, std::size_t count, const CSourceList& entries)
{
    if (first > m_parts.size() || count > m_parts.size() - first)
        return;
    // Built aside first: memory running out leaves the list as it was.
    std::vector<BookPart> parts(m_parts.begin(), m_parts.begin() + static_cast<std::ptrdiff_t>(first));
    parts.insert(parts.end(), entries.m_parts.begin(), entries.m_parts.end());
    parts.insert(parts.end(), m_parts.begin() + static_cast<std::ptrdiff_t>(first + count), m_parts.end());
    m_parts.swap(parts);

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
        m_pView->InsertItem(static_cast<int>(first) + i, m_parts[first + static_cast<std::size_t>(i)].title);
    m_pView->SetSelection(m_nVisibleSel);
}

std::vector<BookPart> CSourceList::Take(const std::vector<std::size_t>& indexes)
{
    for (std::size_t i = 0; i < indexes.size(); ++i)
        if (indexes[i] >= m_parts.size() || (i && indexes[i] <= indexes[i - 1]))
            return {};
    std::vector<BookPart> taken;
    taken.reserve(indexes.size());
    std::size_t kept = 0;
    std::size_t next = 0;  // of indexes
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        if (next < indexes.size() && indexes[next] == i) {
            taken.push_back(std::move(m_parts[i]));
            ++next;
        } else if (kept++ != i) {
            m_parts[kept - 1] = std::move(m_parts[i]);
        }
    }
    m_parts.resize(kept);
    m_nCurSel = m_nVisibleSel = -1;
    if (m_pView) {
        for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
            m_pView->DeleteItem(static_cast<int>(*it));
        m_pView->SetSelection(-1);
    }
    return taken;
}

void CSourceList::PutBack(const std::vector<std::size_t>& indexes, std::vector<BookPart> entries)
{
    if (indexes.size() != entries.size())
        return;
    for (std::size_t i = 0; i < indexes.size(); ++i)
        if (indexes[i] > m_parts.size() + i || (i && indexes[i] <= indexes[i - 1]))
            return;
    std::vector<BookPart> parts;
    parts.reserve(m_parts.size() + entries.size());
    std::size_t next = 0;  // of indexes
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        while (next < indexes.size() && indexes[next] == parts.size())
            parts.push_back(std::move(entries[next++]));
        parts.push_back(std::move(m_parts[i]));
    }
    while (next < indexes.size())
        parts.push_back(std::move(entries[next++]));
    m_parts.swap(parts);
    m_nCurSel = m_nVisibleSel = -1;
    if (m_pView) {
        for (std::size_t index : indexes)
            m_pView->InsertItem(static_cast<int>(index), m_parts[index].title);
        m_pView->SetSelection(-1);
    }
}

void CSourceList::OnSelectionChange(int listSelection)
{
    m_nCurSel = listSelection;
    m_nVisibleSel = listSelection;
}

void CSourceList::Swap(int upper)
{
    std::swap(m_parts[static_cast<std::size_t>(upper)], m_parts[static_cast<std::size_t>(upper) + 1]);
}

void CSourceList::MoveUp()
{
    const int sel = m_nCurSel;
    if (sel < 1 || !IsIndex(sel))
        return;
    Swap(sel - 1);
    if (m_pView) {
        m_pView->DeleteItem(sel);
        m_pView->InsertItem(sel - 1, m_parts[static_cast<std::size_t>(sel) - 1].title);
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
        m_pView->InsertItem(sel + 1, m_parts[static_cast<std::size_t>(sel) + 1].title);
        m_pView->SetSelection(sel + 1);
    }
    m_nCurSel = m_nVisibleSel = sel + 1;
}

void CSourceList::Delete()
{
    const int sel = m_nCurSel;
    if (!IsIndex(sel))
        return;
    m_parts.erase(m_parts.begin() + sel);
    // The list box selects index sel again: the entry that followed, or nothing when the
    // last one went. m_nCurSel keeps the value sel either way.
    m_nVisibleSel = IsIndex(sel) ? sel : -1;
    if (m_pView) {
        m_pView->DeleteItem(sel);
        m_pView->SetSelection(m_nVisibleSel);
    }
}
