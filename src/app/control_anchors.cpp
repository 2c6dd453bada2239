#include "app/control_anchors.h"

void CControlAnchors::Attach(HWND dialog, const std::vector<Rule>& rules)
{
    m_dialog = dialog;
    RECT window {};
    GetWindowRect(dialog, &window);
    m_minimum = SIZE {window.right - window.left, window.bottom - window.top};
    RECT client {};
    GetClientRect(dialog, &client);
    m_clientStart = SIZE {client.right, client.bottom};
    m_controls.clear();
    for (const Rule& rule : rules) {
        HWND control = GetDlgItem(dialog, rule.id);
        if (!control)
            continue;
        RECT place {};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        m_controls.push_back({control, Box {place.left, place.top, place.right, place.bottom}, rule.anchors});
    }
}

bool CControlAnchors::OnMessage(UINT message, LPARAM lParam)
{
    if (!m_dialog)
        return false;
    if (message == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT {m_minimum.cx, m_minimum.cy};
        return true;
    }
    if (message == WM_SIZE) {
        Layout();
        return true;
    }
    return false;
}

void CControlAnchors::Layout()
{
    RECT client {};
    GetClientRect(m_dialog, &client);
    if (client.right == 0 && client.bottom == 0)
        return;  // minimised
    const int grownX = client.right - m_clientStart.cx;
    const int grownY = client.bottom - m_clientStart.cy;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const Placed& placed : m_controls) {
        const Box box = Anchored(placed.original, placed.anchors, grownX, grownY);
        if (batch)
            batch = DeferWindowPos(batch, placed.control, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch)
        EndDeferWindowPos(batch);
    // Frames and texts that moved leave their old places to be painted afresh.
    InvalidateRect(m_dialog, nullptr, TRUE);
}
