// The terminal view's keyboard: key-downs become key codes (virtual key, extended bit and the
// Shift/Ctrl/Alt bits) looked up in the session's key map; a mapped key runs its action string,
// an unmapped key is left to the window system, whose characters are sent one by one. While a
// replay runs, the keys steer it instead. Window-free: what it needs of the window system and of
// the rest of the program it asks of a KeyboardSystem.
#pragma once

#include <cstdint>
#include <string>

#include "shell/action_strings.h"

class KeyMap;
class KeyDefTable;

// Virtual keys the handler treats specially.
enum VirtualKey : int {
    kVkTab = 9, kVkReturn = 13, kVkCtrl = 17, kVkAlt = 18, kVkPause = 19, kVkEscape = 27,
    kVkRight = 39, kVkNumLock = 144, kVkScrollLock = 145,
};
// Bits of a key message's flags word (the high half of its lParam).
constexpr unsigned kKeyFlagExtended = 0x100;
constexpr unsigned kKeyFlagRepeat = 0x4000;

// The state of the modifier keys at a key message.
struct ModifierKeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool capsLockOn = false;  // toggled on
};
// The modifier bits of a key code (0x200 Shift, 0x400 Ctrl, 0x800 Alt): Caps Lock flips Shift on
// the letters A..Z.
int ModifierBits(const ModifierKeys& keys, int virtualKey);

// The key-map entry of a key code; a Ctrl key also finds the entry made without the Ctrl bit.
const std::string* LookupKeyAction(const KeyMap& map, int keyCode);

// The application-mode rule of cursor and keypad keys: in application mode (1) a key name gets
// the "AP_" prefix, in normal mode (2) it loses it. A text starting with '"' stays as it is.
std::string ApplyApplicationMode(const std::string& text, int baseCode);

// What the handler needs besides the action targets.
class KeyboardSystem : public ActionTarget {
public:
    virtual ModifierKeys Modifiers() = 0;
    virtual bool KeyIsDown(int virtualKey) = 0;
    virtual int CharOfKey(int virtualKey) = 0;   // MapVirtualKey type 2; 0 for none
    virtual void RefreshTitle() = 0;
    virtual void RepaintAll() = 0;
    virtual void PlaybackStep(bool singleStep) = 0;
    virtual void CloseAllPlayFiles() = 0;
    virtual uint8_t AnsiToOem(uint8_t byte) = 0;
    virtual const KeyMap* Keys() = 0;             // the document's key map (null: none)
    virtual const KeyDefTable* KeyDefinitions() = 0;
};

class KeyboardInput {
public:
    explicit KeyboardInput(KeyboardSystem& system) : system_(system) {}

    // A key-down (also Alt key-downs). Returns 1 when the window system should have it too.
    int HandleKeyDown(int virtualKey, int repeat, unsigned flags);
    // A character from the window system: sent as one byte.
    void OnChar(unsigned character, int repeat, unsigned flags);
    // An Alt character. Returns true when it should get the default processing.
    bool OnSysChar(unsigned character, int repeat, unsigned flags);
    void OnKeyUp(int virtualKey, unsigned flags, bool sys);

    // Runs an action string (for screen buttons and host commands too).
    int RunActionString(const char* text, int keyCode, int* hold, int* numLock);

    // The view's own injected Num Lock key-downs, swallowed when they come back.
    void ExpectNumLockEvent() { ++pendingNumLockEvents_; }
    int LastMappedKey() const { return lastMappedKey_; }

private:
    void FeedText(const std::string& text);

    KeyboardSystem& system_;
    int lastMappedKey_ = -1;
    int pendingNumLockEvents_ = 0;
};
