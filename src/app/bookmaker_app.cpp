#include "app/bookmaker_app.h"

#include "app/bookmaker_dlg.h"
#include "res/resource.h"
#include "ui/wide_text.h"

#include <winsock2.h>
#include <commctrl.h>
#include <objbase.h>

bool CBookMakerApp::InitInstance()
{
    // The program has always started Windows sockets before its window and stopped them at
    // exit, and refuses to start when they cannot be started: kept as its start-up
    // behaviour, although nothing in it uses a socket.
    WSADATA sockets{};
    if (WSAStartup(MAKEWORD(1, 1), &sockets) != 0) {
        m_services.ShowMessage(nullptr, ui::LoadResourceString(IDS_SOCKETS_INIT_FAILED), MB_OK | MB_ICONSTOP);
        return false;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The folder chooser is a shell (COM) dialog.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    {
        CBookMakerDlg dialog(m_services);
        dialog.DoModal(nullptr);
    }

    if (SUCCEEDED(com))
        CoUninitialize();
    WSACleanup();
    return false;
}
