#include "ui/control.h"

#include "ui/wide_text.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

Control::~Control() { Detach(); }

int Control::GetId() const { return m_hWnd ? GetDlgCtrlID(m_hWnd) : 0; }

std::string Control::GetText() const { return GetWindowTextUtf8(m_hWnd); }

void Control::SetText(const std::string& text) { SetWindowTextUtf8(m_hWnd, text); }

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(m_hWnd, message, wParam, lParam);
}

bool Control::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Control::Attach(HWND window, IServices* services)
{
    m_hWnd = window;
    m_pServices = services;
    OnAttached();
}

void Control::Detach()
{
    if (m_bSubclassed && m_hWnd)
        RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
    m_bSubclassed = false;
    m_hWnd = nullptr;
}

void Control::Subclass()
{
    if (m_hWnd && !m_bSubclassed)
        m_bSubclassed = SetWindowSubclass(m_hWnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(message, wParam, lParam);
}

LRESULT Control::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self)
{
    auto* control = reinterpret_cast<Control*>(self);
    if (message == WM_NCDESTROY) {
        const LRESULT result = control->WindowProc(message, wParam, lParam);
        RemoveWindowSubclass(window, SubclassProc, 0);
        control->m_bSubclassed = false;
        control->m_hWnd = nullptr;
        return result;
    }
    return control->WindowProc(message, wParam, lParam);
}

void Edit::SetSel(int start, int end) { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }

void Edit::GetSel(int& start, int& end) const
{
    DWORD s = 0, e = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

int ListBox::GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }

namespace {

bool IsMultiSelect(HWND list) { return (GetWindowLongPtrW(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0; }

} // namespace

int ListBox::GetCurSel() const
{
    if (!IsMultiSelect(GetHwnd()))
        return static_cast<int>(Send(LB_GETCURSEL));
    const std::vector<int> selected = GetSelectedItems();
    return selected.empty() ? -1 : selected.front();
}

void ListBox::SetCurSel(int index)
{
    if (!IsMultiSelect(GetHwnd())) {
        Send(LB_SETCURSEL, static_cast<WPARAM>(index));
        return;
    }
    SelectItems(index >= 0 ? std::vector<int>{index} : std::vector<int>{});
}

std::vector<int> ListBox::GetSelectedItems() const
{
    if (!IsMultiSelect(GetHwnd())) {
        const int selected = static_cast<int>(Send(LB_GETCURSEL));
        return selected >= 0 ? std::vector<int>{selected} : std::vector<int>{};
    }
    const LRESULT count = Send(LB_GETSELCOUNT);
    if (count <= 0)
        return {};
    std::vector<int> items(static_cast<std::size_t>(count));
    const LRESULT got = Send(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.data()));
    items.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return items;
}

void ListBox::SelectItems(const std::vector<int>& items)
{
    if (!IsMultiSelect(GetHwnd())) {
        Send(LB_SETCURSEL, static_cast<WPARAM>(items.empty() ? -1 : items.front()));
        return;
    }
    Send(LB_SETSEL, FALSE, -1);
    for (int item : items)
        Send(LB_SETSEL, TRUE, item);
    if (!items.empty()) {
        Send(LB_SETCARETINDEX, static_cast<WPARAM>(items.front()), FALSE);
        Send(LB_SETANCHORINDEX, static_cast<WPARAM>(items.front()));
    }
}

std::string ListBox::GetItemText(int index) const
{
    const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return Narrow(text);
}

void ListBox::InsertString(int index, const std::string& text)
{
    const std::wstring wide = Widen(text);
    Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
}

void ListBox::DeleteString(int index) { Send(LB_DELETESTRING, static_cast<WPARAM>(index)); }

void ListBox::EnsureVisible(int index)
{
    const int top = static_cast<int>(Send(LB_GETTOPINDEX));
    if (index < top) {
        Send(LB_SETTOPINDEX, static_cast<WPARAM>(index));
        return;
    }
    // Rows of one height (the list boxes here are not owner-drawn with variable heights).
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    const LRESULT height = Send(LB_GETITEMHEIGHT, 0);
    if (height == LB_ERR || height <= 0)
        return;
    const int rows = std::max(1, static_cast<int>((client.bottom - client.top) / height));
    if (index >= top + rows)
        Send(LB_SETTOPINDEX, static_cast<WPARAM>(index - rows + 1));
}

} // namespace ui
