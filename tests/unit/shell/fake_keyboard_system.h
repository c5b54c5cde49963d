// The keyboard's view of the window system and the program for the tests: every call is logged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "session/key_tables.h"
#include "shell/keyboard_input.h"

// The window system and the program as the keyboard sees them; every call is logged.
class FakeKeyboardSystem : public KeyboardSystem {
public:
    void PostCommand(int id) override { Log("command " + std::to_string(id)); }
    void CloseMainWindow() override { Log("close"); }
    void FlushPrintScreen() override { Log("flush"); }
    bool SendSerialBreak() override { Log("break?"); return serial; }
    void ToggleScrollLock() override { scrollLock = !scrollLock; Log("toggle scroll"); }
    bool ScrollLockOn() override { return scrollLock; }
    void ToggleNumLock() override { Log("toggle numlock"); }
    void RearmReceive() override { Log("rearm"); }
    void ToggleMenuBar() override { Log("menu"); }
    void SelectAll() override { Log("select all"); }
    void ClearSelection() override { Log("clear select"); }
    void HistoryOn() override { Log("history on"); }
    void ScrollViewBy(int dx, int dy) override { Log("scroll " + std::to_string(dx) + " " + std::to_string(dy)); }
    void ToggleScreen() override { Log("toggle screen"); }
    void HotLoad() override { Log("hotload"); }
    int MouseRow() override { return 7; }
    int MouseCol() override { return 42; }
    void Feed(const uint8_t* b, int n) override { Log("feed " + std::string(reinterpret_cast<const char*>(b), n)); }
    void Send(const uint8_t* b, int n) override { Log("send " + std::string(reinterpret_cast<const char*>(b), n)); }

    ModifierKeys Modifiers() override { return keys; }
    bool KeyIsDown(int vk) override { return vk == kVkNumLock && numLockDown; }
    int CharOfKey(int) override { return 0; }
    void RefreshTitle() override { Log("title"); }
    void RepaintAll() override { Log("repaint"); }
    void PlaybackStep(bool single) override { Log(single ? "play step" : "play"); }
    void CloseAllPlayFiles() override { Log("stop play"); }
    uint8_t AnsiToOem(uint8_t byte) override { return byte == 0xE4 ? 0x84 : byte; }
    const KeyMap* Keys() override { return &map; }
    const KeyDefTable* KeyDefinitions() override { return &defs; }

    void Log(const std::string& event) { log.push_back(event); }
    void Map(int code, const std::string& action)
    {
        auto entry = std::make_unique<KeyMapEntry>();
        entry->SetValue(action);
        map.SetEntry(static_cast<uint16_t>(code), std::move(entry));
    }
    void Define(const std::string& name, const std::string& text) { defs.SetAt(std::make_unique<KeyDefEntry>(name, text)); }

    ModifierKeys keys;
    KeyMap map;
    KeyDefTable defs;
    bool serial = false, scrollLock = false, numLockDown = false;
    std::vector<std::string> log;
};
