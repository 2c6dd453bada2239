#include "app/select_all_edit.h"

void CSelectAllEdit::OnAttached() { Subclass(); }

LRESULT CSelectAllEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == 'A' && (GetAsyncKeyState(VK_CONTROL) & 0x8000)) {
        SetSel(0, -1);
        Send(EM_SCROLLCARET);
        return 0;
    }
    return ui::Edit::WindowProc(message, wParam, lParam);
}
