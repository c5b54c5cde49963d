// What the VT interpreter needs from outside the engine: the connection (replies, answerback,
// file-transfer detection), the beep, host printing, the session document's key table and the
// character-set mode. The program installs the real ones (connections/vt_hookup.h); the defaults
// send nothing and change nothing, which is what the engine's own tests want.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

struct VtOutsideHooks {
    // SendToHost: a reply; returns the bytes taken.
    int (*sendToHost)(ViewWindow window, const uint8_t* bytes, int length);
    // SendExpanded: a setting text (variables and key-string notation expanded) to the host.
    void (*sendExpanded)(ViewWindow window, const char* text);
    // DetectAutoTransfer: 1 when the byte starts an incoming file transfer.
    int (*detectAutoTransfer)(uint8_t byte);
    // MessageBeep with a sound type.
    void (*beep)(int soundType);
    // PrintData: one byte to the active host printing.
    void (*printData)(uint8_t byte);
    // StartPrintFile: opens the capture file of printer-controller mode 9 ("wb+" or "ab");
    // returns 0 on success, else the error number (the user has been told, with the file name).
    int (*startPrintFile)(const char* mode);
    // DefineTerminalKey: a terminal key definition (key-string notation) for the session
    // document; 1 done, 0 refused.
    int (*defineTerminalKey)(const char* name, const char* text);
    // SetCharsetMode: changes Charset (and reloads the translate tables) when it differs.
    int (*setCharsetMode)(SettingsRecord& rec, int mode);
    // The host command sequence CSI n ; p y (number, the parameters after it).
    void (*hostCommand)(ViewWindow window, SettingsRecord& rec, int count, const int* params, DirtyRect& dirty);
    // DoPrivateCommand: a collected host command string (number, the parameters after the number,
    // the text); non-zero drops the rest of the block.
    int (*privateCommand)(ViewWindow window, int number, int count, const int* params, const char* text);
    // The view's margins around the cell area, in pixels (the repaint rectangle moves by them).
    int (*leftMargin)(ViewWindow window);
    int (*topMargin)(ViewWindow window);
    // FrameRefitPending := 1 (the next view update re-fits the frame).
    void (*frameRefit)();
};

extern VtOutsideHooks VtHooks;
VtOutsideHooks DefaultVtHooks();
