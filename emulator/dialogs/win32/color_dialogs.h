// "Colors" (dialog 103, character-cell emulations) and "Colors and Attributes" (dialog 612, 3270
// mode): the foreground and background colour of every display attribute, with a sample. The
// dialog works on ColorSettingsValues only; ColorsCommand copies the session's settings in and
// stores them back on OK.
#pragma once

#include <string>

#include "color_buttons.h"
#include "dialogs/color_settings_values.h"
#include "fw_dialog.h"

class CZolexDoc;

class CColorsDlg : public ColorSampleDialog {
public:
    // `rec` gives the sample its palette and font; values.mode3270 picks the template.
    CColorsDlg(HWND owner, const SettingsRecord& rec, const ColorSettingsValues& values);
    ColorSettingsValues values;
    std::string selectedText = " Normal ";  // the selected list entry's text

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void PaintFrame(HDC dc) override;
    void PaintText(const DRAWITEMSTRUCT& item) override;

private:
    void FillList();
    void SelectRow();
    void PickColor(int id);
    void RefillForCheck(int id, int& member);
};

// Config/Colors and Attributes: dialog 612 in 3270 mode, else 103, on the session's colour
// settings; on OK stores them, recolours the history when its colours changed, recomputes the
// current colours, repaints and marks the document modified.
void ColorsCommand(CZolexDoc& doc, HWND owner);
