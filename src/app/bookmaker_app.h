// The application: starts what the main window needs and runs it modally; the program ends
// when the main window does.
#pragma once

#include "ui/services.h"

class CBookMakerApp {
public:
    explicit CBookMakerApp(ui::IServices& services) : m_services(services) {}

    // Starts the socket layer (its failure is reported and ends the program), runs the
    // main window, and cleans up. Returns false: there is no message loop after it.
    bool InitInstance();

private:
    ui::IServices& m_services;
};
