#include "engine/ibm3270/private_command.h"

#include <string>

#include "engine/ibm3270/outside_hooks.h"
#include "session/messages.h"
#include "session/program_gate.h"
#include "engine/ibm3270/view_hooks.h"
#include "engine/screen_planes.h"

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr unsigned int kStopIcon = 0x10;

bool TakesText(int number)
{
    switch (number) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
    case 8:
    case 9:
    case 10:
    case 13:
    case 22: return true;
    default: return false;
    }
}

bool GoesToCsiDispatch(int number) { return number == 11 || (number >= 14 && number <= 21); }

}  // namespace

int Do3270PrivateCommand(ViewWindow window, void* document, const uint8_t* data, int length)
{
    (void)document;
    if (!data || length < 4) return 1;
    if (data[0] != kEsc) return 2;
    if (data[1] != '[') return 3;
    if (data[2] < '0' || data[2] > '9') return 4;

    // The parameters end at the first 'y' (or the end of the data).
    int end = 2;
    while (end < length && data[end] != 'y') ++end;
    int count = 0;
    int params[kCsiMaxParams] = {};
    ParseCsiParams(data, static_cast<std::size_t>(end < length ? end + 1 : length), count, params, 'y');
    const int number = params[0];

    if (TakesText(number)) {
        if (end >= length - 3) return 6;
        if (data[length - 1] != 0x5C) return 7;
        if (data[length - 2] != kEsc) return 8;
        const std::string text(reinterpret_cast<const char*>(data) + end + 1,
                               static_cast<std::size_t>(length - 2 - (end + 1)));
        if (number <= 3) {
            const int showMode = count >= 2 ? params[1] : 5;
            if (!ProgramsMayStart(*Rec)) return 0;  // refused quietly, as a failed start
            const int result = ViewHooks3270.winExec(text.c_str(), showMode);
            if (result < 32) ShowHostMessage(0, kStopIcon, "WinExec \"%s\" failed; error code = %d", text.c_str(), result);
        } else if (number == 4) {
            Tn3270Hooks.mciCommand(text.c_str());
        } else {
            Tn3270Hooks.privateCommand(window, number, count - 1, params + 1, text.c_str());
        }
        return 0;
    }
    if (GoesToCsiDispatch(number)) {
        DirtyRect dirty = kEmptyDirtyRect;
        Tn3270Hooks.csiDispatch(window, *Rec, 'y', count, params, dirty, 1);
        return 0;
    }
    return 5;
}
