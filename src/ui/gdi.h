// Small guards for GDI resources: whatever a paint path acquires it gives back on every
// way out.
#pragma once

#include <windows.h>

namespace ui {

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : m_hWnd(window) { m_hDc = BeginPaint(window, &m_paint); }
    ~PaintDc() { EndPaint(m_hWnd, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return m_hDc; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    HDC m_hDc;
};

} // namespace ui
