#include "session/session_record.h"

#include "session/translate_tables.h"

namespace {

// Zero-filled at load (static storage, trivial type): the one record of the process.
SettingsRecord theRecord;

}  // namespace

SettingsRecord* const Rec = &theRecord;

std::string TitleText;

TranslateTables SessionTranslateTables;

bool ValidScreenGeometry(int rows, int cols)
{
    if (cols != kNarrowColumns && cols != kWideColumns) return false;
    if (rows < 1) return false;
    // rows <= kScreenCells keeps the product far from overflow.
    return rows <= kScreenCells && rows * cols <= kScreenCells;
}
