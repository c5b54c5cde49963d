// The view's keyboard handling; see keyboard_input.h.
#include "shell/keyboard_input.h"

#include <cstdio>

#include "connections/auto_login.h"
#include "connections/session_trace.h"
#include "session/key_tables.h"
#include "engine/key_strings.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

constexpr int kDecodeBytes = 2048;

bool IsLetter(int virtualKey) { return virtualKey >= 'A' && virtualKey <= 'Z'; }

// Keys that follow the keypad mode: the keypad with Num Lock off, keypad minus and Enter, and
// keypad plus and decimal point when the settings say so.
bool FollowsKeypadMode(int base)
{
    if ((base >= 33 && base <= 40) || base == 45 || base == 46 || base == 12 || base == 109 || base == 0x10D)
        return true;
    if (base == 107) return Rec->KeyPadAppAdd != 0;
    if (base == 110) return Rec->KeyPadAppDecimal != 0;
    return false;
}

}  // namespace

int ModifierBits(const ModifierKeys& keys, int virtualKey)
{
    bool shift = keys.shift;
    if (keys.capsLockOn && IsLetter(virtualKey)) shift = !shift;
    return (shift ? kShiftBit : 0) | (keys.ctrl ? kCtrlBit : 0) | (keys.alt ? kAltBit : 0);
}

const std::string* LookupKeyAction(const KeyMap& map, int keyCode)
{
    const KeyMapEntry* entry = map.Lookup(static_cast<uint16_t>(keyCode));
    const int base = keyCode & kKeyBits;
    if (!entry && (base == kVkCtrl || base == (kVkCtrl | 0x100)))
        entry = map.Lookup(static_cast<uint16_t>(keyCode & ~kCtrlBit));
    return entry ? &entry->GetValue() : nullptr;
}

std::string ApplyApplicationMode(const std::string& text, int baseCode)
{
    if (!text.empty() && text[0] == '"') return text;
    int mode;
    if (baseCode >= 0x125 && baseCode <= 0x128) mode = Rec->AppCursorKeys;
    else if (FollowsKeypadMode(baseCode)) mode = Rec->AppKeypad;
    else return text;
    if (mode == 1 && text.find("AP_") == std::string::npos) return "AP_" + text;
    if (mode == 2 && text.compare(0, 3, "AP_") == 0) return text.substr(3);
    return text;
}

void KeyboardInput::FeedText(const std::string& text)
{
    system_.Feed(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
}

int KeyboardInput::RunActionString(const char* text, int keyCode, int* hold, int* numLock)
{
    return ::RunActionString(text, keyCode, system_.KeyDefinitions(), system_, hold, numLock);
}

int KeyboardInput::HandleKeyDown(int virtualKey, int repeat, unsigned flags)
{
    const int base = virtualKey | static_cast<int>(flags & kKeyFlagExtended);
    char line[160];
    if (Rec->TraceVirtualKeys) {
        std::snprintf(line, sizeof line, "V-Key: %02X\r\n", base);
        FeedText(line);
    }
    const int modifiers = ModifierBits(system_.Modifiers(), virtualKey);
    if (Rec->TraceAllKeyboard) {
        std::snprintf(line, sizeof line, "DOWN: V-Key:%.02X <0x%X> state <x%x> rep <%d>\r\n",
                      virtualKey, flags, modifiers, repeat);
        FeedText(line);
        if (const int c = system_.CharOfKey(virtualKey)) {
            std::snprintf(line, sizeof line, "Will be ascii <x%X>\r\n", c);
            FeedText(line);
        }
    }
    if (virtualKey == kVkNumLock && pendingNumLockEvents_ > 0) {
        --pendingNumLockEvents_;
        return 0;
    }
    if (virtualKey == kVkEscape && (AutoLoginPair != 0 || Rec->ScreenFrozen)) {
        AutoLoginPair = 0;
        system_.RefreshTitle();
        if (Rec->ScreenFrozen) {
            Rec->ScreenFrozen = 0;
            system_.RepaintAll();
        }
        return 1;
    }
    if (Rec->KeyboardLocked || (AutoLoginPair != 0 && Rec->LockKbdAutoLogin)) return 1;
    if (Rec->PlaybackState != 0) {
        // While a replay runs the keys steer it: Pause, Enter resumes, Right steps, Esc stops.
        if (virtualKey == kVkPause && Rec->PlaybackState == 1) {
            Rec->PlaybackState |= 2;
            system_.PlaybackStep(false);
        } else if (virtualKey == kVkReturn) {
            Rec->PlaybackState = 1;
            system_.PlaybackStep(false);
        } else if (virtualKey == kVkRight) {
            Rec->PlaybackState = 1;
            system_.PlaybackStep(true);
        } else if (virtualKey == kVkEscape) {
            system_.CloseAllPlayFiles();
        }
        return 0;
    }

    int decoded = 0, hold = 0, numLock = 0;
    const KeyMap* map = system_.Keys();
    const std::string* action = map ? LookupKeyAction(*map, modifiers | base) : nullptr;
    if (action) {
        uint8_t bytes[kDecodeBytes];
        const bool eightBit = Rec->ControlChar == 2;
        std::string text = *action;
        if (text.empty() || text[0] != '"') {
            text = ApplyApplicationMode(text, base);
            const KeyDefTable* defs = system_.KeyDefinitions();
            if (const KeyDefEntry* def = defs ? defs->Lookup(text) : nullptr)
                decoded = DecodeKeyString(def->GetDefinition().c_str(), bytes, kDecodeBytes, eightBit, true);
        }
        if (decoded == 0) decoded = DecodeKeyString(text.c_str(), bytes, kDecodeBytes, eightBit, true);
        if (decoded > 0) decoded = RunActionString(text.c_str(), base, &hold, &numLock);
        lastMappedKey_ = modifiers | static_cast<int>(flags & 0x1FF);
    } else {
        lastMappedKey_ = -1;
    }

    // Windows toggled Scroll Lock or Num Lock; a mapped key that did not ask for it undoes that.
    if (Rec->KeyMapHasHold && base == kVkScrollLock && !hold) {
        system_.ToggleScrollLock();
    } else if (virtualKey == kVkNumLock && !numLock && !(flags & kKeyFlagRepeat) && action) {
        system_.ToggleNumLock();
    }
    return (decoded == 0 && (base == kVkAlt || base == kVkTab)) ? 1 : 0;
}

void KeyboardInput::OnChar(unsigned character, int /*repeat*/, unsigned flags)
{
    if (Rec->TraceAllKeyboard) {
        char line[96];
        std::snprintf(line, sizeof line, "CHAR: ANSI <x%02X %d>, <0x%lX>\r\n", character, character,
                      static_cast<unsigned long>(flags));
        FeedText(line);
        return;
    }
    if (Rec->KeyboardLocked) return;
    const int modifiers = ModifierBits(system_.Modifiers(), static_cast<int>(character));
    if ((modifiers | static_cast<int>(flags & 0x1FF)) == lastMappedKey_ || system_.KeyIsDown(kVkNumLock)) {
        lastMappedKey_ = -1;
        return;
    }
    uint8_t byte = static_cast<uint8_t>(character & 0xFF);
    if (!Rec->TerminalFamily3270) {
        if (Rec->Charset == 4) byte = system_.AnsiToOem(byte);
        else if (Rec->Charset != 3) byte = SessionTranslateTables.Outgoing[byte];
    }
    if (byte == 0 && !Rec->SendKeyZero) return;
    if (Rec->Recording) TraceKeyboard(modifiers | static_cast<int>(character), &byte, 1);
    system_.Send(&byte, 1);
}

bool KeyboardInput::OnSysChar(unsigned character, int /*repeat*/, unsigned flags)
{
    if (Rec->TraceAllKeyboard) {
        char line[96];
        std::snprintf(line, sizeof line, "SYSCHAR: ANSI <%d>, <0x%lX>\r\n", character, static_cast<unsigned long>(flags));
        FeedText(line);
    }
    if (lastMappedKey_ == static_cast<int>((flags & 0x1FF) | kAltBit)) {
        lastMappedKey_ = -1;
        return false;
    }
    return true;
}

void KeyboardInput::OnKeyUp(int virtualKey, unsigned flags, bool sys)
{
    if (!Rec->TraceAllKeyboard) return;
    char line[96];
    if (sys) std::snprintf(line, sizeof line, "SYSUP  : vKEY <x%X>, <0x%lX>\r\n", virtualKey, static_cast<unsigned long>(flags));
    else std::snprintf(line, sizeof line, "UP  : vKEY  <x%X>, <0x%X>\r\n", virtualKey, flags);
    FeedText(line);
}
