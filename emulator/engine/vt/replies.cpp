// The replies the terminal sends on its own: device attributes and the status reports.
#include <cstdio>

#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

namespace {

void Send(ViewWindow window, const char* text, int length)
{
    VtHooks.sendToHost(window, reinterpret_cast<const uint8_t*>(text), length);
}

// The keyboard-language number of a country code.
int KeyboardLanguage(int country)
{
    static const int kTable[][2] = {{1, 1},   {2, 4},   {31, 8},  {32, 3},  {33, 14}, {34, 15}, {39, 9},
                                    {41, 10}, {44, 2},  {45, 5},  {46, 12}, {47, 13}, {49, 7},  {358, 6}};
    for (const auto& row : kTable)
        if (row[0] == country) return row[1];
    return 0;
}

}  // namespace

void SendDeviceAttributes(ViewWindow window, SettingsRecord& rec)
{
    if (rec.Terminal == 1)
        Send(window, "\x1b[?1;0c", 7);
    else
        Send(window, "\x1b[?62;1;2;6;7;8;9c", 18);
}

void SendStatusReport(ViewWindow window, SettingsRecord& rec, int request)
{
    if (request == 5) {
        Send(window, "\x1b[0n", 4);
    } else if (request == 6) {
        // The row counts from the top margin only in origin mode.
        const int row = rec.CursorRow + 1 - (rec.OriginMode ? rec.ScrollTop : 0);
        char reply[32];
        const int n = std::snprintf(reply, sizeof reply, "\x1b[%d;%dR", row, rec.CursorCol + 1);
        Send(window, reply, n);
    }
}

void SendPrivateStatusReport(ViewWindow window, SettingsRecord& rec, int request)
{
    switch (request) {
    case 15: Send(window, "\x1b[?10n", 6); break;
    case 25: Send(window, "\x1b[?21n", 6); break;
    case 26: {
        char reply[32];
        const int n = std::snprintf(reply, sizeof reply, "\x1b[?27;%dn", KeyboardLanguage(rec.Country & 0xFFFF));
        Send(window, reply, n);
        break;
    }
    default: break;
    }
}
