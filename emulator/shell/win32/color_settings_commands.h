// Config/Colors and Attributes and Config/Boxes: each copies the stored settings into its dialog,
// runs it, and on OK hands the edited values to the command's after-OK work.
#pragma once

#include <windows.h>

class CZolexDoc;
class ConfigCommandSite;

// The logical palette the Colors dialog's sample is painted through while its "Use palette" is
// on: the view's (none on a display of many colours).
void SetColorSamplePalette(HPALETTE palette);
// Dialog 612 in 3270 mode, else 103, on the session's colour settings.
void ColorsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);
// Dialog 602 on the box maps of the current mode (the 3270 maps in 3270 mode).
void BoxesCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);
