// Copy Table Settings: how the selection is copied as a table. "OK, Copy" accepts the values;
// the view then copies the selection with them.
#pragma once

#include "dialogs/copy_table_dialog.h"
#include "fw_dialog.h"

class CCopyTableDlg : public FwDialog {
public:
    explicit CCopyTableDlg(HWND owner);
    CopyTableSettings values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    void ShowPreset(const CopyTableSettings& preset);
};
