// A modal dialog from a resource template. One static dialog procedure serves every
// dialog: `this` arrives with WM_INITDIALOG (DialogBoxParamW) and is kept in the window.
// Fields move between controls and members only through ExchangeData, called by
// UpdateData. Messages of child controls are reflected to the control objects bound to
// them (see Control). An exception that leaves a handler is shown in a message box with
// its own text; it never crosses the system's dialog procedure.
#pragma once

#include "ui/control.h"
#include "ui/services.h"

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class DataExchange;

class Dialog {
public:
    Dialog(int templateId, IServices& services);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog owned by owner until EndDialog; returns EndDialog's result, -1 when
    // the dialog could not be created.
    INT_PTR DoModal(HWND owner);
    void EndDialog(INT_PTR result);

    HWND GetHwnd() const { return m_hWnd; }
    HWND GetItem(int id) const { return GetDlgItem(m_hWnd, id); }
    IServices& Services() const { return m_services; }

    // save true: controls to members; false: members to controls.
    void UpdateData(bool save);

protected:
    virtual void ExchangeData(DataExchange& exchange);
    // Base: binds the controls and shows the fields (UpdateData(false)). True lets the
    // dialog manager put the focus on the first control.
    virtual bool OnInitDialog();
    // WM_COMMAND from menus, accelerators, and controls whose object did not take the
    // notification. False when not handled: IDOK then runs OnOK and IDCANCEL OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    // Any other message before the default dialog handling; true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Base OnOK reads the fields and ends with IDOK; OnCancel ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();
    // A message box (owned by this dialog) with the executable's name as caption.
    int ShowMessage(const std::string& text, UINT type = MB_OK | MB_ICONEXCLAMATION);

private:
    friend class DataExchange;
    void Bind(Control& control, int id);
    Control* FindControl(HWND window) const;
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    IServices& m_services;
    HWND m_hWnd = nullptr;
    std::vector<Control*> m_controls;
};

// One exchange pass: bind controls, move texts, apply limits.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool save) : m_dialog(dialog), m_bSave(save) {}
    bool IsSaving() const { return m_bSave; }

    // Binds control to the item id the first time; later passes leave it as it is.
    void Bind(int id, Control& control);
    // The item's text and value, in the direction of the pass.
    void Text(int id, std::string& value);
    // An edit box's limit (UTF-16 units), applied when showing.
    void LimitText(int id, int characters);

private:
    Dialog& m_dialog;
    bool m_bSave;
};

} // namespace ui
