// "Pick a string" (608): a list of the PC key names of the session's keyboard map or of its
// terminal key names, from which the dynamic hotspots dialog takes a text. A double click picks
// like OK.
#pragma once

#include <string>

#include "fw_dialog.h"
#include "session/key_tables.h"

class CPickStringDlg : public FwDialog {
public:
    // The tables of the active document; null without one (the list stays empty).
    CPickStringDlg(HWND owner, const KeyMap* keyMap, const KeyDefTable* keyDefs);
    bool pcKeys = true;  // true the keyboard map's PC keys, false the terminal key names
    std::string picked;  // the selected line; empty when nothing was picked

protected:
    bool OnInitDialog() override;

private:
    void TakeSelection();

    const KeyMap* keyMap_;
    const KeyDefTable* keyDefs_;
};
