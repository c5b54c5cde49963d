// Copies a rectangle of the screen as Windows painted it (BitBlt from the screen DC), child
// windows and dialogs included.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The pixels of `area` (screen coordinates), rows top to bottom, each 0x00RRGGBB. False when the
// copy failed.
bool CopyScreen(const RECT& area, std::vector<uint32_t>& pixels);
