// BookMaker.exe: the Windows program.
#include "app/bookmaker_app.h"
#include "ui/win32_services.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ui::Win32Services services;
    CBookMakerApp app(services);
    app.InitInstance();
    return 0;
}
