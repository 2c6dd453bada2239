// The about box (dialog 100): the program's icon, who made it, and two address labels.
#pragma once

#include "ui/dialog.h"

class CAboutDialog : public ui::Dialog {
public:
    explicit CAboutDialog(ui::IServices& services);

protected:
    void ExchangeData(ui::DataExchange& exchange) override;

private:
    ui::Static m_lblMail;
    ui::Static m_lblWeb;
};
