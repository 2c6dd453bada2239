// A control object bound to a dialog item by id. The dialog reflects WM_DRAWITEM,
// WM_MEASUREITEM, WM_CTLCOLOR*, WM_COMMAND notifications and WM_NOTIFY of the item back to
// the object, so a custom control draws itself and handles its own clicks; one that needs
// the window's other messages subclasses it (SetWindowSubclass).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class Dialog;
class IServices;

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    int GetId() const;
    bool IsAttached() const { return m_hWnd != nullptr; }

    std::string GetText() const;
    void SetText(const std::string& text);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The services of the dialog the control is bound to; null before binding.
    IServices* Services() const { return m_pServices; }

protected:
    // Runs once the object is bound to its window: the place to restyle or subclass it.
    virtual void OnAttached() {}
    // A message the parent reflected. True when handled: the parent then does nothing
    // more with it (for WM_COMMAND, the dialog's OnCommand is not called).
    virtual bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Routes every message of the window through WindowProc from now on.
    void Subclass();
    // Base: the window's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class Dialog;
    void Attach(HWND window, IServices* services);
    void Detach();
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);

    HWND m_hWnd = nullptr;
    IServices* m_pServices = nullptr;
    bool m_bSubclassed = false;
};

class Button : public Control {};

class Static : public Control {};

class Edit : public Control {
public:
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
};

class ListBox : public Control {
public:
    int GetCount() const;
    // The selected item, the first of them in a list box of several (LBS_EXTENDEDSEL or
    // LBS_MULTIPLESEL); -1: none.
    int GetCurSel() const;
    // Selects index alone (-1 clears the selection), in either kind of list box.
    void SetCurSel(int index);
    // Every selected item, in order.
    std::vector<int> GetSelectedItems() const;
    void SelectItems(const std::vector<int>& items);  // these alone
    std::string GetItemText(int index) const;
    void InsertString(int index, const std::string& text);  // -1 appends
    void DeleteString(int index);
    // Scrolls as little as it takes to show item index whole; the selection stays.
    void EnsureVisible(int index);
};

} // namespace ui
