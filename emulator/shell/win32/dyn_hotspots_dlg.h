// "Dynamic Hotspots Settings" (609): the hotspot settings (enable, area, button depth, the extra
// word characters) and a working copy of the program's hotspot table, edited one item at a time:
// an on-screen text picked or typed in the combo box, its send string and type, taken into the
// table with Accept. The opener (DynHotspotsCommand) copies the settings in and, after OK, takes
// the working table over when it was changed.
#pragma once

#include <memory>
#include <string>

#include "dialogs/win32/settings_dialog.h"
#include "shell/dyn_hotspots_editor.h"

class KeyMap;
class KeyDefTable;

class CDynHotspotsDlg : public CenteredSettingsDialog {
public:
    // `program` is copied; keyMap and keyDefs are the active document's (null without one) and
    // feed the pick buttons and "Add all terminal keys".
    CDynHotspotsDlg(HWND owner, const HotspotTable* program, const KeyMap* keyMap, const KeyDefTable* keyDefs);

    DynHotspotsSettings values;

    bool IsModified() const { return editor_.IsModified(); }
    // Hands the working table to the caller, which then owns it.
    std::unique_ptr<HotspotTable> DetachTable() { return editor_.DetachTable(); }

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // The combo box lists the table; the exact text is selected (or typed in when it is not in
    // the table), the send string and type are the entry's.
    void ShowItem(const std::string& text);
    // The send string and type radio buttons from the members.
    void ShowSendAndType();
    void SetEditing(bool editing);
    void Accept();
    void Delete();
    void Pick(bool pcKeys, bool forSendString);
    // Remove all, Add all PC-keys and Add all terminal keys.
    void Refill(int button);
    void OnTextSelected();
    void OnTextTyped();
    // The send string of the entry of `text` (empty when there is none) and, when it has one, the
    // entry's type; the type buttons stay as they are otherwise.
    void ShowEntryOf(const std::string& text);

    DynHotspotsEditor editor_;
    const KeyMap* keyMap_;
    const KeyDefTable* keyDefs_;
    int radio_ = -1;         // the type radio button, -1 none
    std::string text_;       // on-screen text
    std::string send_;       // send string
    bool editing_ = false;   // the current item has unaccepted edits
    bool acceptFailed_ = false;
    bool showing_ = false;   // controls being set from the members: their notifications are no edits
};
