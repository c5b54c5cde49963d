#include "dialogs/copy_table_dialog.h"

#include "engine/key_strings.h"

CopyTableSettings TableSettings;

CopyTableSettings SpreadsheetPreset() { return CopyTableSettings{}; }

CopyTableSettings CPlusPlusPreset()
{
    CopyTableSettings s;
    s.separator = "<nul>";
    s.removeLeading = 0;
    s.removeTrailing = 1;
    s.lineEnd = 0;
    s.singleSpace = 2;
    return s;
}

uint8_t SeparatorByte(const CopyTableSettings& settings)
{
    uint8_t byte[1] = {0};
    return DecodeKeyString(settings.separator.c_str(), byte, 1, false, true) > 0 ? byte[0] : 0;
}
