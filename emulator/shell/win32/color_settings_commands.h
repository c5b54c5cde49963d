// Config/Colors and Attributes and Config/Boxes: each copies the stored settings into its dialog,
// runs it, and on OK stores them, repaints and marks the document modified.
#pragma once

#include <windows.h>

class CZolexDoc;

// Dialog 612 in 3270 mode, else 103, on the session's colour settings; on OK also recolours the
// history when its colours changed and recomputes the palette and the current colours.
void ColorsCommand(CZolexDoc& doc, HWND owner);
// Dialog 602 on the box maps of the current mode (the 3270 maps in 3270 mode).
void BoxesCommand(CZolexDoc& doc, HWND owner);
