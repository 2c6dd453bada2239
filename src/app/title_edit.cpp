#include "app/title_edit.h"

void CTitleEdit::OnAttached() { Subclass(); }

LRESULT CTitleEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter comes to the box itself rather than to the dialog manager.
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = ui::Edit::WindowProc(message, wParam, lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            return code | DLGC_WANTALLKEYS;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            SendMessageW(GetParent(GetHwnd()), WM_NEXTDLGCTL, 0, FALSE);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r')
            return 0;  // no beep
        break;
    default:
        break;
    }
    return ui::Edit::WindowProc(message, wParam, lParam);
}
