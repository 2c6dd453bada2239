#include "ui/dialog.h"

#include "platform/exception.h"
#include "platform/user_texts.h"
#include "ui/wide_text.h"

#include <algorithm>
#include <exception>
#include <new>

namespace ui {

namespace {

// Messages whose result a dialog procedure returns itself instead of in DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

} // namespace

Dialog::Dialog(int templateId, IServices& services) : m_templateId(templateId), m_services(services) {}

// The controls are members of the derived dialog, gone by now; each detaches itself.
Dialog::~Dialog() = default;

INT_PTR Dialog::DoModal(HWND owner)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

void Dialog::UpdateData(bool save)
{
    DataExchange exchange(*this, save);
    ExchangeData(exchange);
}

void Dialog::ExchangeData(DataExchange&) {}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

bool Dialog::OnCommand(int, int, HWND) { return false; }

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Dialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

int Dialog::ShowMessage(const std::string& text, UINT type)
{
    return m_services.ShowMessage(m_hWnd, text, type);
}

void Dialog::Bind(Control& control, int id)
{
    if (control.IsAttached())
        return;
    HWND window = GetItem(id);
    if (!window)
        return;
    if (std::find(m_controls.begin(), m_controls.end(), &control) == m_controls.end())
        m_controls.push_back(&control);
    control.Attach(window, &m_services);
}

Control* Dialog::FindControl(HWND window) const
{
    if (!window)
        return nullptr;
    for (Control* control : m_controls) {
        if (control->GetHwnd() == window)
            return control;
    }
    return nullptr;
}

bool Dialog::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = GetItem(static_cast<int>(item->CtlID));
        break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    Control* control = FindControl(child);
    return control && control->OnReflectedMessage(message, wParam, lParam, result);
}

bool Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (Reflect(message, wParam, lParam, result))
        return true;
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog() ? TRUE : FALSE;
        return true;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (OnCommand(id, code, reinterpret_cast<HWND>(lParam)))
            return true;
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return true;
        }
        if (id == IDCANCEL && code == BN_CLICKED) {
            OnCancel();
            return true;
        }
        return false;
    }
    default:
        return OnMessage(message, wParam, lParam, result);
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_hWnd = window;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self)
        return FALSE;

    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->Dispatch(message, wParam, lParam, result);
    } catch (const CException& e) {
        self->ShowMessage(e.Message(), MB_OK | MB_ICONSTOP);
        handled = true;
    } catch (const std::bad_alloc&) {
        self->ShowMessage(kOutOfMemoryMessage, MB_OK | MB_ICONSTOP);
        handled = true;
    } catch (const std::exception& e) {
        self->ShowMessage(e.what(), MB_OK | MB_ICONSTOP);
        handled = true;
    }

    if (message == WM_NCDESTROY) {
        for (Control* control : self->m_controls)
            control->Detach();
        self->m_controls.clear();
        self->m_hWnd = nullptr;
        SetWindowLongPtrW(window, DWLP_USER, 0);
        return FALSE;
    }
    if (!handled)
        return FALSE;
    if (ReturnsDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

void DataExchange::Bind(int id, Control& control) { m_dialog.Bind(control, id); }

void DataExchange::Text(int id, std::string& value)
{
    HWND item = m_dialog.GetItem(id);
    if (!item)
        return;
    if (m_bSave)
        value = GetWindowTextUtf8(item);
    else
        SetWindowTextUtf8(item, value);
}

void DataExchange::LimitText(int id, int characters)
{
    if (!m_bSave)
        SendDlgItemMessageW(m_dialog.GetHwnd(), id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

} // namespace ui
