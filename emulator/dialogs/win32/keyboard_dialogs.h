// The keyboard dialogs: Keyboard Mapping (a picture of the PC keyboard; a key's eight values by
// modifier combination), Terminal KeyName Definitions and Translate Tables. Each edits working
// tables its opener gives it and reports what changed through flags the opener reads after the
// run; the default files come through KeyTableFiles.
//
// Names compare exactly, as the tables do: a combo box's own search (which ignores case and takes
// prefixes) never decides which item a name is.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/key_table_editing.h"
#include "dialogs/win32/settings_dialog.h"
#include "fw_bitmap_button.h"

// Terminal KeyName Definitions: the key names of a table and the string each sends.
class CKeyDefDlg : public CenteredSettingsDialog {
public:
    CKeyDefDlg(HWND owner, KeyDefTable& table, KeyTableFiles& files);

    int changed = 0;  // the table was changed

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void Fill();
    void SelectionChanged();
    void ShowName(const std::string& name);
    // Asks about a modified string; true unless an accept it asked for was refused.
    bool PendingCheck();
    bool Accept();
    void DeletePressed();
    void LoadDefault();
    void SetString(const std::string& text);

    KeyDefTable& table_;
    KeyTableFiles& files_;
    bool stringModified_ = false;
    bool loading_ = false;
};

// Translate Tables: the outbound (keyboard -> host) and inbound (host -> display) tables.
class CTranslateTablesDlg : public CenteredSettingsDialog {
public:
    // The dialog edits copies of its own; OK with a change writes them back to the two tables.
    CTranslateTablesDlg(HWND owner, uint8_t* outbound, uint8_t* inbound, KeyTableFiles& files);

    int changed = 0;
    int mirrorMode = -1;     // 0 Mirror, 1 Individual
    int displayFormat = -1;  // 0 Hex, 1 Character

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void Fill();
    void SetEntry(int list, int index);
    bool PendingCheck();
    bool Accept();
    void SelectionChanged(int list);
    void ListFocused(int list);
    void Activate(int list);
    void ClearNewValues();
    void LoadDefault();
    bool Hex() const { return displayFormat != 1; }

    uint8_t* outboundTarget_;
    uint8_t* inboundTarget_;
    uint8_t outbound_[256];
    uint8_t inbound_[256];
    KeyTableFiles& files_;
    int currentEdit_;
    int currentIndex_ = 0;
    bool pending_ = false;
    bool loading_ = false;
    bool inFocusHandler_ = false;
};

// Keyboard Mapping.
class CKeyboardMapDlg : public CenteredSettingsDialog {
public:
    // displayMirror and displayFormat are the settings the Translate Tables dialog starts from and
    // sets when it ends with OK.
    CKeyboardMapDlg(HWND owner, KeyMap& keyMap, KeyDefTable& keyDefs, uint8_t* outbound, uint8_t* inbound,
                    KeyTableFiles& files, int32_t& displayMirror, int32_t& displayFormat);

    // Read by the opener after the run.
    int keyMapChanged = 0;
    int keyDefsChanged = 0;
    int translateChanged = 0;
    int buttonsReloaded = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;

private:
    void SelectKey(int code);
    bool PendingCheck();
    bool Accept();
    bool AcceptValues();
    void DeletePressed();
    void FillNames();
    void FillPredefined();
    void SelectListedName(int code);
    int ComboIndexOfCode(int code) const;
    int ComboIndexOfName(const std::string& name) const;
    void ValueFocused(int id);
    void ValueChanged();
    void CodeFocused();
    void CodeLeft();
    void UsePredefined();
    void PredefinedSelected();
    void PredefinedChosen();
    void HidePredefined();
    void ToggleNumLock();
    void TerminalKeys();
    void TranslateTables();
    void LoadDefaultMap();
    void LoadDefaultButtons();
    void SetAccept(bool pending);
    void SetText(int id, const std::string& text);

    KeyMap& keyMap_;
    KeyDefTable& keyDefs_;
    uint8_t* outbound_;
    uint8_t* inbound_;
    KeyTableFiles& files_;
    int32_t& displayMirror_;
    int32_t& displayFormat_;
    KeyNameList names_;
    FwBitmapButton numLock_;
    bool numLockCaptions_ = false;
    bool pending_ = false;
    bool loading_ = false;
    bool codeModified_ = false;
    bool accepting_ = false;
    int currentEdit_;
};
