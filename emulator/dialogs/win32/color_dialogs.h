// "Colors" (dialog 103, character-cell emulations) and "Colors and Attributes" (dialog 612, 3270
// mode): the foreground and background colour of every display attribute, with a sample. The
// dialog works on ColorSettingsValues only; ColorsCommand (shell/win32/color_settings_commands.h)
// copies the session's settings in and stores them back on OK.
#pragma once

#include <functional>
#include <string>

#include "dialogs/color_settings_values.h"
#include "dialogs/win32/color_buttons.h"
#include "fw_dialog.h"

class CColorsDlg : public ColorSampleDialog {
public:
    // `rec` gives the sample its palette and font; values.mode3270 picks the template; `label`
    // names the attribute combinations of the list.
    CColorsDlg(HWND owner, const SettingsRecord& rec, const ColorSettingsValues& values,
               std::function<std::string(int attributes)> label);
    ColorSettingsValues values;
    std::string selectedText = " Normal ";  // the selected list entry's text

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void PaintFrame(HDC dc) override;
    void PaintText(const DRAWITEMSTRUCT& item) override;
    bool SampleUsesPalette() const override { return values.usePalette != 0; }

private:
    void FillList();
    void SelectRow();
    void PickColor(int id);
    void RefillForCheck(int id, int& member);

    std::function<std::string(int attributes)> label_;
};
