// Action strings: the texts of the keyboard map, of screen buttons and of key-running host
// commands. Plain text and key names are decoded with the key-string notation and sent to the
// host (or, after %local%, fed to the emulation); words between percent signs that the keyword
// table knows run local actions (connect, copy, scroll back, ...).
#pragma once

#include <cstdint>
#include <string>

class KeyDefTable;

// What the actions reach outside the interpreter: the view, the frame and the connection.
class ActionTarget {
public:
    virtual ~ActionTarget() = default;
    virtual void PostCommand(int id) = 0;       // WM_COMMAND to the view
    virtual void CloseMainWindow() = 0;         // WM_CLOSE to the frame
    virtual void FlushPrintScreen() = 0;
    virtual bool SendSerialBreak() = 0;         // false when the connection is not serial
    virtual void ToggleScrollLock() = 0;
    virtual bool ScrollLockOn() = 0;
    virtual void ToggleNumLock() = 0;
    virtual void RearmReceive() = 0;
    virtual void ToggleMenuBar() = 0;
    virtual void SelectAll() = 0;
    virtual void ClearSelection() = 0;
    virtual void HistoryOn() = 0;               // history scroll-back on when it is off
    virtual void ScrollViewBy(int dx, int dy) = 0;
    virtual void ToggleScreen() = 0;            // maximise / restore the frame
    virtual void HotLoad() = 0;                 // reload the HotScreen rules
    virtual int MouseRow() = 0;                 // 1-based
    virtual int MouseCol() = 0;
    virtual void Feed(const uint8_t* bytes, int n) = 0;  // into the emulation (local mode)
    virtual void Send(const uint8_t* bytes, int n) = 0;  // to the host
};

// Command ids posted by the keywords.
enum ActionCommand : int {
    kCmdConnect = 256,
    kCmdDosBox = 32778,
    kCmdOneMore = 32781,
    kCmdCopyTable = 32810,
    kCmdHistory = 32837,
    kCmdPrintScreen = 57607,
    kCmdCopy = 57634,
    kCmdPaste = 57637,
};

// Cuts the next piece off `text` (advanced past it): a keyword "%...%" (the closing '%' may be
// missing at the end of the text) or a run of text up to the next '%'. A backslash and the
// character after it are kept together and never end the piece. False at the end of the text.
bool NextActionPiece(const char*& text, std::string& piece);

// Decodes a piece for sending: the definition of the key name it is, when `keyDefs` holds it and
// it does not begin with '"', else (or when that gave nothing) the piece itself. Returns the count.
int DecodeActionPiece(const std::string& piece, const KeyDefTable* keyDefs, uint8_t* output, int maximum);

// Runs an action string for the key `keyCode` (0 for none). `hold` and `numLock` (either may be
// null) are set to 1 when the text ran %hold% / %numlock%. Returns the decoded length of the last
// piece sent, 0 when it sent nothing.
int RunActionString(const char* text, int keyCode, const KeyDefTable* keyDefs, ActionTarget& target,
                    int* hold, int* numLock);

// A scroll position moved by `delta` pixels, kept within 0..maximum without overflowing (the
// %home% and %end% keywords scroll by the largest int).
int ScrolledPosition(int position, int delta, int maximum);
