#include "app/about_dialog.h"

#include "res/resource.h"
#include "ui/wide_text.h"

#include <string>

CAboutDialog::CAboutDialog(ui::IServices& services) : ui::Dialog(IDD_ABOUTBOX, services) {}

void CAboutDialog::ExchangeData(ui::DataExchange& exchange)
{
    exchange.Bind(IDC_ABOUT_MAIL, m_lblMail);
    exchange.Bind(IDC_ABOUT_WEB, m_lblWeb);
}

// Each label opens its own text (the addresses of the template) under the hand cursor.
bool CAboutDialog::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_lblMail.SetLinkCursor(nullptr);
    m_lblWeb.SetLinkCursor(nullptr);
    ui::SetWindowTextUtf8(GetItem(IDC_ABOUT_VERSION), std::string("版本 ") + BOOKMAKER_VERSION);
    return true;
}
