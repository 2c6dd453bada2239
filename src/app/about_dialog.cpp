#include "app/about_dialog.h"

#include "app/anchor_layout.h"
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
    KeepLinksApart();
    return true;
}

void CAboutDialog::KeepLinksApart()
{
    // Each label is as wide as its text, which at some DPIs and fonts is wider than its
    // place in the template: the second then starts a space after the first, or on a row
    // of its own, the dialog growing to hold it.
    const auto place = [this](int id) {
        RECT r {};
        GetWindowRect(GetItem(id), &r);
        MapWindowPoints(nullptr, GetHwnd(), reinterpret_cast<POINT*>(&r), 2);
        return Box {r.left, r.top, r.right, r.bottom};
    };
    const Box mail = place(IDC_ABOUT_MAIL);
    const Box web = place(IDC_ABOUT_WEB);
    RECT client {};
    GetClientRect(GetHwnd(), &client);
    RECT margin {0, 0, 7, 0};  // the template's margin, in dialog units
    MapDialogRect(GetHwnd(), &margin);
    const int space = static_cast<int>(margin.right);
    const Box moved = AfterOnRow(mail, web, space, client.right - space);
    if (moved == web)
        return;
    SetWindowPos(GetItem(IDC_ABOUT_WEB), nullptr, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const int below = moved.bottom + space - client.bottom;
    if (below > 0) {
        RECT window {};
        GetWindowRect(GetHwnd(), &window);
        SetWindowPos(GetHwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top + below,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
}
