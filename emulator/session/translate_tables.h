// The session's two character translate tables (TranslateTables): outgoing and incoming.
//
// Loaded from the translate-table file, applied by the engine; the
// defaults make both the identity.
#pragma once

#include <cstdint>

struct TranslateTables {
    uint8_t Incoming[256];  // received characters -> display (the "display" table)
    uint8_t Outgoing[256];  // keyboard characters -> sent (the "keyboard" table)
};

// Byte i to i in both directions.
inline void SetIdentityTables(TranslateTables& tables)
{
    for (int i = 0; i < 256; ++i) {
        tables.Incoming[i] = static_cast<uint8_t>(i);
        tables.Outgoing[i] = static_cast<uint8_t>(i);
    }
}

// The session's tables (zero at load; identity once the defaults ran).
extern TranslateTables SessionTranslateTables;
