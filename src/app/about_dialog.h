// The about box (dialog 100): the program's icon, who made it, the version of the build and
// two address labels.
#pragma once

#include "controls/hyperlink_label.h"
#include "ui/dialog.h"

class CAboutDialog : public ui::Dialog {
public:
    explicit CAboutDialog(ui::IServices& services);

protected:
    void ExchangeData(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;

private:
    // The two address labels never run together (see AfterOnRow).
    void KeepLinksApart();

    CHyperlinkLabel m_lblMail;
    CHyperlinkLabel m_lblWeb;
};
