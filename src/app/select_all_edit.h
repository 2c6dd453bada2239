// A multi-line edit box that selects its whole text on Ctrl+A.
#pragma once

#include "ui/control.h"

class CSelectAllEdit : public ui::Edit {
protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
