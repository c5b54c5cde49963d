// What the small settings dialogs share: a dialog centred on its owner once its controls are
// loaded, the data exchange of a text with its limit (which also stops typing; a stored text
// longer than it is shown whole and refused on OK, never cut) and of a number with its range.
#pragma once

#include <string>

#include "fw_dialog.h"

class CenteredSettingsDialog : public FwDialog {
public:
    using FwDialog::FwDialog;

protected:
    bool OnInitDialog() override
    {
        FwDialog::OnInitDialog();
        CenterWindow();
        return true;
    }
};

inline void DDX_LimitedText(FwDataExchange& dx, int id, std::string& value, std::size_t limit)
{
    DDX_Text(dx, id, value);
    DDV_MaxChars(dx, value, limit);
}

inline void DDX_RangedInt(FwDataExchange& dx, int id, int& value, int minimum, int maximum)
{
    DDX_Text(dx, id, value);
    DDV_MinMaxInt(dx, value, minimum, maximum);
}
