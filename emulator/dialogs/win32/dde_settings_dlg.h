// DDE Settings: the [DDE] settings of the session's DDE server and DDE client. The dialog only
// exchanges its members with the controls; DdeSettingsCommand copies the settings in and back.
#pragma once

#include "dialogs/dde_settings_values.h"
#include "fw_dialog.h"

class CZolexDoc;

class CDdeSettingsDlg : public FwDialog {
public:
    explicit CDdeSettingsDlg(HWND owner);
    DdeSettingsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
};

// Config/Preferences/DDE: runs the dialog on the session's settings; on OK stores them, says
// that they take effect at the next start, and marks the document modified.
void DdeSettingsCommand(CZolexDoc& doc, HWND owner);
