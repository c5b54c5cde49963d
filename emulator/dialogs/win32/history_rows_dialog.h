// History Rows: the number of history rows (0 to 400) when history scroll-back is switched on
// before any was configured.
#pragma once

#include "fw_dialog.h"

class CHistoryRowsDlg : public FwDialog {
public:
    explicit CHistoryRowsDlg(HWND owner);
    int rows = 0;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
};
