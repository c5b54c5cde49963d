// "Boxes" (dialog 602): the 3-D box drawn around text of each colour, per colour index on the
// foreground and on the background side, and the three switches of 3-D drawing. The dialog works
// on BoxSettingsValues; BoxesCommand (shell/win32/color_settings_commands.h) copies in the maps of
// the current mode and stores them back.
#pragma once

#include "dialogs/box_settings_values.h"
#include "dialogs/win32/color_buttons.h"
#include "fw_dialog.h"

class CBoxesDlg : public ColorSampleDialog {
public:
    // `rec` gives the palette, the font, the Normal colours and the defaults of "Reset to default".
    CBoxesDlg(HWND owner, const SettingsRecord& rec, const BoxSettingsValues& values);
    BoxSettingsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void PaintFrame(HDC dc) override;
    void PaintText(const DRAWITEMSTRUCT& item) override;

private:
    void SelectColor(int index, int side);
    void ChooseKind(int kind);
};
