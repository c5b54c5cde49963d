// What the clipboard commands move, window-free: the block a copied selection becomes (plain
// text or a table), the clipboard format it goes in by the font's character set, and the bytes a
// pasted text sends to the host.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dialogs/copy_table_dialog.h"
#include "shell/view_selection.h"

struct SettingsRecord;

// The copied block of `cells` (clamped to the planes first): height x (width + 2) - 1 bytes, the
// text NUL-terminated inside it. Plain rows are the cells themselves; table rows follow
// `settings`. Empty when the rectangle holds no cell.
std::vector<char> SelectionClipboardBlock(const SettingsRecord& rec, const CellRect& cells, bool table,
                                          const CopyTableSettings& settings);

// The bytes a paste sends: the clipboard's text up to its first NUL (at most `size` bytes),
// converted by the character-set mode (4 ANSI to OEM, 3 as it is, any other through the outgoing
// translate table), with every LF removed.
std::string PasteBytes(const char* text, std::size_t size, const SettingsRecord& rec);
