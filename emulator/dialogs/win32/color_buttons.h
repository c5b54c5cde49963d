// The 32 colour buttons of the colours and boxes dialogs (bitmap buttons 3000-3031, see
// dialogs/color_settings_values.h), with the drawing both dialogs share.
#pragma once

#include <windows.h>

#include "dialogs/color_settings_values.h"
#include "fw_bitmap_button.h"
#include "fw_dialog.h"
#include "session/session_record.h"

class ColorButtonSet {
public:
    // Attaches the buttons the template has; a missing one is skipped and never used.
    void Attach(HWND dialog);
    // The attached button of an index on a side, null when there is none.
    FwBitmapButton* Button(int index, int side);
    // Presses the button of `index` on `side` (none for an index without a button) and releases
    // every other button of that side, or of both sides when `onlyOne`.
    void Press(int index, int side, bool onlyOne);

private:
    FwBitmapButton buttons_[kColorButtonCount];
};

// A dialog with colour buttons and a sample: the sample frame (group box 3036) is painted on the
// dialog, the sample text into the owner-drawn static 2990.
class ColorSampleDialog : public FwDialog {
public:
    ColorSampleDialog(int templateId, HWND owner, const SettingsRecord& rec) : FwDialog(templateId, owner), rec_(rec) {}

    // The program's logical palette (none on a display of many colours): the sample is painted
    // through it while the dialog's "Use palette" is on.
    HPALETTE palette = nullptr;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    virtual void PaintFrame(HDC dc) = 0;
    virtual void PaintText(const DRAWITEMSTRUCT& item) = 0;
    // Whether the sample goes through the palette (the dialog's current "Use palette").
    virtual bool SampleUsesPalette() const { return false; }
    // Repaints the sample frame and text.
    void InvalidateSample();

    const SettingsRecord& rec_;  // the palette, the font and the Normal colours
    ColorButtonSet buttons_;
};

// A 3-D box of `kind` (1 in-box, 2 out-box, 3 edit-box; others draw nothing) on the rectangle's
// edges in the palette's dark (12) and light (19) colours, then `extraPasses` light rings inside.
void DrawColorBox(HDC dc, const SettingsRecord& rec, int kind, RECT rect, int extraPasses);

// The session's terminal font (CurrentFont), bold and underlined as asked; the caller deletes it.
HFONT CreateSampleFont(const SettingsRecord& rec, bool bold, bool underline);

// A rectangle of a dialog control in the dialog's client coordinates (empty when missing).
RECT ControlRect(HWND dialog, int id);

// Fills a rectangle with a palette colour.
void FillPaletteRect(HDC dc, const SettingsRecord& rec, const RECT& rect, int index);
