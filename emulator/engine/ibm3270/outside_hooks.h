// What the 3270 engine needs from outside itself: the Telnet layer's record send, the HotScreen
// rules, the host commands and the multimedia commands. The program installs the real ones where
// it installs the VT interpreter's (connections/vt_hookup.h, InstallHostCommandHooks); the defaults
// send nothing and run nothing, which is what the engine's own tests want.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

struct Tn3270OutsideHooks {
    // Copies the bytes into the network output (0xFF doubled), with endOfRecord also IAC EOR;
    // returns the number of source bytes it took.
    int (*sendRecord)(const uint8_t* data, int length, int endOfRecord);
    // The HotScreen rules, evaluated after each host record and keystroke string.
    void (*hotScreenEvaluate)();
    // A host command string (number, the parameters after it, the collected text).
    int (*privateCommand)(ViewWindow window, int number, int count, const int* params, const char* text);
    // An MCI command string; returns the last MCI error code.
    int (*mciCommand)(const char* text);
    // A complete control sequence by its final byte (the engine's own CsiDispatch by default).
    void (*csiDispatch)(ViewWindow window, SettingsRecord& record, int finalByte, int count, const int* params,
                        DirtyRect& dirty, int fromVt);
};

extern Tn3270OutsideHooks Tn3270Hooks;
Tn3270OutsideHooks Default3270OutsideHooks();
