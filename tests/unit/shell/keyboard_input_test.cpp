#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "session/key_tables.h"
#include "shell/action_strings.h"
#include "shell/keyboard_input.h"
#include "connections/auto_login.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "fake_keyboard_system.h"

namespace {

using Log = std::vector<std::string>;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->Charset = 3;
        Rec->MaxRows = 24;
        Rec->CellWidth = 8;
        Rec->CellHeight = 16;
        AutoLoginPair = 0;
        SetIdentityTables(SessionTranslateTables);
    }
    int Run(const char* text, int keyCode = 0) { return input.RunActionString(text, keyCode, nullptr, nullptr); }

    FakeKeyboardSystem sys;
    KeyboardInput input{sys};
};

TEST(KeyCodes, ModifierBitsWithCapsLock)
{
    const struct { ModifierKeys keys; int vk; int bits; } cases[] = {
        {{true, false, false, true}, 'A', 0},           // Shift + a with Caps Lock
        {{false, false, false, true}, 'A', 0x200},      // a with Caps Lock
        {{false, false, false, true}, '1', 0},          // Caps Lock leaves digits alone
        {{true, true, true, false}, 0x70, 0xE00},
        {{false, true, false, false}, 'C', 0x400},
    };
    for (const auto& c : cases) EXPECT_EQ(c.bits, ModifierBits(c.keys, c.vk)) << c.vk;
}

TEST(ActionPieces, SplitIntoTextAndKeywords)
{
    const struct { const char* text; std::vector<std::string> pieces; } cases[] = {
        {"abc%copy%def", {"abc", "%copy%", "def"}},
        {"%up%%down%", {"%up%", "%down%"}},
        {"50\\% off%x", {"50\\% off", "%x"}},   // an escaped percent never delimits
        {"a\\", {"a\\"}},
        {"%unclosed", {"%unclosed"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> pieces;
        std::string piece;
        for (const char* p = c.text; NextActionPiece(p, piece);) pieces.push_back(piece);
        EXPECT_EQ(c.pieces, pieces) << c.text;
    }
}

TEST_F(KeyboardTest, ActionStringsSendTextAndRunKeywordsInOrder)
{
    const struct { const char* text; Log log; int result; } cases[] = {
        {"ls%COPY%<cr>", {"send ls", "command 57634", "send \r"}, 1},
        {"%local%<esc>[2J", {"feed \x1b[2J"}, 4},
        {"%local%a%tx%b", {"feed a", "send b"}, 1},
        {"%nosuch%", {"send %nosuch%"}, 8},
        {"x%flushprintscreen%y", {"send x", "flush", "send y"}, 1},
        {"%row%,%col%", {"send 7", "send ,", "send 42"}, 2},
        {"%break%", {"break?", "send \x03"}, 1},
        {"%copy%", {"command 57634"}, 0},
        {"%pgup%%end%", {"history on", "scroll 0 -384", "scroll 0 2147483647"}, 0},
        {"%connect%%hangup%", {"command 256"}, 0},
        {"%noaction%", {}, 0},
    };
    for (const auto& c : cases) {
        sys.log.clear();
        EXPECT_EQ(c.result, Run(c.text)) << c.text;
        EXPECT_EQ(c.log, sys.log) << c.text;
    }
}

TEST_F(KeyboardTest, KeyNamesInActionStringsSendTheirDefinitions)
{
    sys.Define("PF1", "<esc>OP");
    sys.Define("\"PF1\"", "never");
    sys.log.clear();
    Run("PF1%tx%\"PF1\"");
    EXPECT_EQ((Log{"send \x1bOP", "send PF1"}), sys.log);
}

TEST_F(KeyboardTest, HoldTogglesScrollLockAndRearmsWhenItGoesOff)
{
    int hold = 0;
    sys.scrollLock = true;
    input.RunActionString("%hold%", 0, &hold, nullptr);
    EXPECT_EQ(1, hold);
    EXPECT_EQ((Log{"toggle scroll", "rearm"}), sys.log);
    sys.log.clear();
    sys.scrollLock = true;  // Scroll Lock itself: Windows toggled it already
    input.RunActionString("%hold%", kVkScrollLock, &hold, nullptr);
    EXPECT_EQ(Log{}, sys.log);
}

TEST_F(KeyboardTest, ScrollingSaturates)
{
    const struct { int position, delta, maximum, result; } cases[] = {
        {100, INT_MAX, 500, 500}, {100, -INT_MAX, 500, 0}, {INT_MAX - 1, INT_MAX, INT_MAX, INT_MAX},
        {10, 16, 500, 26}, {10, -16, 500, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, ScrolledPosition(c.position, c.delta, c.maximum));
}

TEST_F(KeyboardTest, ApplicationModeRenamesCursorAndKeypadKeys)
{
    sys.Define("Up", "<esc>[A");
    sys.Define("AP_Up", "<esc>OA");
    sys.Map(0x126, "Up");
    sys.Map(0x127, "AP_Up");
    sys.Map(0x125, "\"Up\"");
    Rec->KeyPadAppAdd = 0;
    const struct { int mode; int key; std::string sent; } cases[] = {
        {1, 0x26, "\x1bOA"}, {2, 0x26, "\x1b[A"}, {0, 0x26, "\x1b[A"},
        {2, 0x27, "\x1b[A"}, {1, 0x27, "\x1bOA"}, {1, 0x25, "Up"},
    };
    for (const auto& c : cases) {
        Rec->AppCursorKeys = c.mode;
        sys.log.clear();
        EXPECT_EQ(0, input.HandleKeyDown(c.key, 1, kKeyFlagExtended));
        EXPECT_EQ(Log{"send " + c.sent}, sys.log) << c.mode << " " << c.key;
    }
    Rec->AppKeypad = 1;
    EXPECT_EQ("AP_Minus", ApplyApplicationMode("Minus", 109));
    EXPECT_EQ("Plus", ApplyApplicationMode("Plus", 107));
    Rec->KeyPadAppAdd = 1;
    EXPECT_EQ("AP_Plus", ApplyApplicationMode("Plus", 107));
    EXPECT_EQ("F1", ApplyApplicationMode("F1", 0x70));
}

TEST_F(KeyboardTest, RightCtrlEntryIsFoundWhileCtrlIsDown)
{
    sys.Map(0x111, "<cr>");
    sys.keys.ctrl = true;
    EXPECT_EQ(0, input.HandleKeyDown(kVkCtrl, 1, kKeyFlagExtended | 0x1D));
    EXPECT_EQ(Log{"send \r"}, sys.log);
    EXPECT_EQ(0x400 | 0x11D, input.LastMappedKey());
}

TEST_F(KeyboardTest, MappedKeysDropTheirCharacterAndUnmappedKeysSendIt)
{
    sys.Map(0x70, "hi");
    input.HandleKeyDown(0x70, 1, 0x3B);
    input.OnChar('x', 1, 0x3B);  // the character of the mapped stroke
    input.HandleKeyDown('Q', 1, 0x10);
    input.OnChar('q', 1, 0x10);
    EXPECT_EQ((Log{"send hi", "send q"}), sys.log);
}

TEST_F(KeyboardTest, CharactersFollowTheCharsetModeAndZeroNeedsItsSetting)
{
    const struct { int charset; int sendZero; unsigned ch; Log log; } cases[] = {
        {3, 0, 0xE4, {"send \xe4"}},
        {4, 0, 0xE4, {"send \x84"}},
        {1, 0, 'a', {"send A"}},  // through the outgoing table
        {3, 0, 0, {}},
        {3, 1, 0, {std::string("send \0", 6)}},
    };
    SessionTranslateTables.Outgoing['a'] = 'A';
    for (const auto& c : cases) {
        Rec->Charset = c.charset;
        Rec->SendKeyZero = c.sendZero;
        sys.log.clear();
        input.OnChar(c.ch, 1, 0);
        EXPECT_EQ(c.log, sys.log) << c.charset << " " << c.ch;
    }
}

TEST_F(KeyboardTest, TraceAllKeyboardShowsCharactersWithoutSending)
{
    Rec->TraceAllKeyboard = 1;
    input.OnChar('a', 1, 0x1E);
    EXPECT_EQ(Log{"feed CHAR: ANSI <x61 97>, <0x1E>\r\n"}, sys.log);
}

TEST_F(KeyboardTest, NumLockHandling)
{
    // A mapped Num Lock (a PF1 key) undoes the toggle Windows made; the view's own injected
    // Num Lock key-down is swallowed without a lookup.
    sys.Map(kVkNumLock, "<esc>OP");
    input.HandleKeyDown(kVkNumLock, 1, 0x45);
    EXPECT_EQ((Log{"send \x1bOP", "toggle numlock"}), sys.log);
    sys.log.clear();
    input.ExpectNumLockEvent();
    EXPECT_EQ(0, input.HandleKeyDown(kVkNumLock, 1, 0x45));
    EXPECT_EQ(Log{}, sys.log);
    input.HandleKeyDown(kVkNumLock, 1, 0x45 | kKeyFlagRepeat);  // auto-repeat: no toggle
    EXPECT_EQ(Log{"send \x1bOP"}, sys.log);
}

TEST_F(KeyboardTest, KeysSteerARunningReplay)
{
    Rec->PlaybackState = 1;
    sys.Map('A', "never");
    const struct { int vk; Log log; int state; } cases[] = {
        {kVkPause, {"play"}, 3}, {kVkReturn, {"play"}, 1}, {kVkRight, {"play step"}, 1},
        {'A', {}, 1}, {kVkEscape, {"stop play"}, 1},
    };
    for (const auto& c : cases) {
        sys.log.clear();
        EXPECT_EQ(0, input.HandleKeyDown(c.vk, 1, 0));
        EXPECT_EQ(c.log, sys.log) << c.vk;
        EXPECT_EQ(c.state, Rec->PlaybackState) << c.vk;
    }
}

TEST_F(KeyboardTest, LockedKeyboardAndEscapeDuringLogOn)
{
    sys.Map('A', "x");
    Rec->KeyboardLocked = 1;
    EXPECT_EQ(1, input.HandleKeyDown('A', 1, 0));
    input.OnChar('a', 1, 0);
    EXPECT_EQ(Log{}, sys.log);
    Rec->KeyboardLocked = 0;
    AutoLoginPair = 3;
    Rec->ScreenFrozen = 1;
    EXPECT_EQ(1, input.HandleKeyDown(kVkEscape, 1, 0));
    EXPECT_EQ(0, AutoLoginPair);
    EXPECT_EQ(0, Rec->ScreenFrozen);
    EXPECT_EQ((Log{"title", "repaint"}), sys.log);
}

TEST_F(KeyboardTest, UnmappedAltAndTabGoToTheWindowSystem)
{
    EXPECT_EQ(1, input.HandleKeyDown(kVkAlt, 1, 0));
    EXPECT_EQ(1, input.HandleKeyDown(kVkTab, 1, 0));
    EXPECT_EQ(0, input.HandleKeyDown('B', 1, 0));
    sys.Map(kVkTab, "%noaction%");
    EXPECT_EQ(1, input.HandleKeyDown(kVkTab, 1, 0));  // the keyword decodes to nothing sent
}

}  // namespace
