// WINDOW TITLE: the title text of the main window (at most 80 characters).
#pragma once

#include <string>

#include "fw_dialog.h"

class CTitleDlg : public FwDialog {
public:
    explicit CTitleDlg(HWND owner);
    std::string title;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
};
