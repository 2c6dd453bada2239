// A one-line edit box in which Enter moves on to the next field instead of pressing the
// dialog's default button (which would close the dialog and lose what was typed).
#pragma once

#include "ui/control.h"

class CTitleEdit : public ui::Edit {
protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
