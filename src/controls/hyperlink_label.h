// A static label that looks and acts like a web link: blue text that turns red (and, by
// default, underlined) under the mouse, purple once the link was opened, a hand cursor, a
// tooltip with the address, and a click that opens the address with the shell. It sizes
// itself to its text. Bind it to a static item of a dialog template.
#pragma once

#include "ui/control.h"
#include "ui/gdi.h"

#include <windows.h>

#include <string>

class CHyperlinkLabel : public ui::Static {
public:
    CHyperlinkLabel() = default;
    ~CHyperlinkLabel() override;

    // The address opened on click; without one the label opens its own text.
    void SetLink(const std::string& link);
    const std::string& GetLink() const { return m_link; }
    void SetVisited(BOOL visited);
    BOOL IsVisited() const { return m_visited; }
    // A cursor of the caller's (it stays the caller's to destroy); null: the hand cursor.
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR GetLinkCursor() const { return m_linkCursor; }
    // 0: never underlined; 1: always; -1: only while the mouse is over the label.
    void SetUnderlineMode(int mode);
    int GetUnderlineMode() const { return m_underlineMode; }

    // Opens link with the shell, else with the browser registered for web pages. Returns
    // the shell's result, or WinExec's code of the browser start (success: greater than
    // 32); 0 when the label has no services (not bound through a dialog).
    INT_PTR OpenLink(const std::string& link, int showCommand);

protected:
    void OnAttached() override;
    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateFonts();
    void FitToText();
    void LoadHandCursor();
    void ReleaseCursor();
    void CreateTip();
    void DestroyTip();
    void OnClicked();
    void ReportOpenError(INT_PTR code);
    void OnMouseMove();
    void OnHoverTimer();

    static constexpr UINT_PTR kHoverTimer = 100;
    static constexpr UINT kHoverPollMs = 100;
    static constexpr UINT_PTR kToolId = 1;

    std::string m_link;
    COLORREF m_linkColor = RGB(0, 0, 238);
    COLORREF m_visitedColor = RGB(85, 26, 139);
    COLORREF m_hoverColor = RGB(255, 0, 0);
    BOOL m_isOverLink = FALSE;
    BOOL m_visited = FALSE;
    int m_underlineMode = -1;
    BOOL m_fitToText = TRUE;
    ui::Font m_underlineFont;
    ui::Font m_normalFont;
    HFONT m_hOriginalFont = nullptr;  // the item's font when bound, given back if we go first
    HCURSOR m_linkCursor = nullptr;
    bool m_bOwnsCursor = false;       // a copy we made, destroyed with the label
    HWND m_hTip = nullptr;
};
