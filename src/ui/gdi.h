// Small guards for GDI resources: whatever a paint path acquires it gives back on every
// way out.
#pragma once

#include <windows.h>

#include <utility>

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

// GetDC / ReleaseDC (a null window: the screen).
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_hWnd(window), m_hDc(GetDC(window)) {}
    ~WindowDc()
    {
        if (m_hDc)
            ReleaseDC(m_hWnd, m_hDc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_hDc; }

private:
    HWND m_hWnd;
    HDC m_hDc;
};

// CreateCompatibleDC / DeleteDC. Objects selected into it must be deselected first
// (declare their SelectGuard after the MemoryDc).
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_hDc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (m_hDc)
            DeleteDC(m_hDc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_hDc; }

private:
    HDC m_hDc;
};

// SaveDC / RestoreDC: pen, brush, font, colours, background mode and origin come back
// as they were.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : m_hDc(dc), m_nSaved(SaveDC(dc)) {}
    ~SavedDc()
    {
        if (m_nSaved)
            RestoreDC(m_hDc, m_nSaved);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC m_hDc;
    int m_nSaved;
};

// SelectObject, with the previous object put back at the end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_hDc(dc), m_hOld(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard()
    {
        if (m_hOld)
            SelectObject(m_hDc, m_hOld);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_hDc;
    HGDIOBJ m_hOld;
};

// Owns a pen, brush, bitmap or font: DeleteObject at the end.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }
    Handle Release() { return std::exchange(m_handle, nullptr); }

private:
    Handle m_handle = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

} // namespace ui
