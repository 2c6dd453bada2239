#include "app/about_dialog.h"

#include "res/resource.h"

CAboutDialog::CAboutDialog(ui::IServices& services) : ui::Dialog(IDD_ABOUTBOX, services) {}

void CAboutDialog::ExchangeData(ui::DataExchange& exchange)
{
    exchange.Bind(IDC_ABOUT_MAIL, m_lblMail);
    exchange.Bind(IDC_ABOUT_WEB, m_lblWeb);
}
