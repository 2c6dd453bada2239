// A resizable dialog's controls kept against its edges: their places at the dialog's
// smallest size are read once, and every WM_SIZE moves them all in one batch, as their
// anchors say. WM_GETMINMAXINFO keeps the dialog at least that size.
#pragma once

#include "app/anchor_layout.h"

#include <windows.h>

#include <vector>

class CControlAnchors {
public:
    struct Rule {
        int id;
        Anchors anchors;
    };

    // Reads the places of the dialog's controls named by rules (the others stay where they
    // are) and the dialog's size, which becomes its smallest.
    void Attach(HWND dialog, const std::vector<Rule>& rules);
    // WM_SIZE and WM_GETMINMAXINFO; true when the message was one of them.
    bool OnMessage(UINT message, LPARAM lParam);
    SIZE MinimumSize() const { return m_minimum; }

private:
    struct Placed {
        HWND control;
        Box original;
        Anchors anchors;
    };
    void Layout();

    HWND m_dialog = nullptr;
    SIZE m_minimum {};      // the window's outer size at first
    SIZE m_clientStart {};  // its client area at first
    std::vector<Placed> m_controls;
};
