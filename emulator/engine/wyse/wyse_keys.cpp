// Host programming of the Wyse function keys: the key code names a terminal key, whose
// definition (key-string notation) goes to the session document.
#include <cstdio>
#include <string>

#include "engine/vt/vt_hooks.h"
#include "engine/wyse/wyse_interpreter.h"

namespace {

struct WyseKey {
    uint8_t code;
    const char* name;
    const char* defaultText;
};

const WyseKey kPcKeyboard[] = {
    {0x71, "INS", "<ESC>q"},   {0x70, "REPL", "<ESC>r"},   {0x72, "PGDN", "<ESC>K"}, {0x77, "PGDN_S", "<ESC>K"},
    {0x3A, "PGUP", "<ESC>J"},  {0x3B, "PGUP_S", "<ESC>J"}, {0x35, "DEL", "<DEL>"},   {0x36, "DEL_S", "<DEL>"},
    {0x5C, "END", "<ESC>T"},   {0x5D, "END_S", "<ESC>Y"},  {0x52, "PRINT", "<ESC>P"},
};

const WyseKey kAsciiKeyboard[] = {
    {0x71, "INSCHAR", "<ESC>Q"}, {0x70, "INSLINE", "<ESC>E"}, {0x37, "INS", "<ESC>q"},
    {0x38, "REPL", "<ESC>r"},    {0x72, "PGDN", "<ESC>K"},    {0x77, "PGUP", "<ESC>J"},
    {0x7A, "END", "<ESC>T"},     {0x7D, "END_S", "<ESC>Y"},   {0x35, "DELCHAR", "<ESC>W"},
    {0x36, "DELLINE", "<ESC>R"}, {0x74, "PRINT", "<ESC>P"},
};

const WyseKey kCommonKeys[] = {
    {0x20, "ESC", "<ESC>"},      {0x25, "ESC_S", "<ESC>"},    {0x21, "TAB", "<TAB>"},      {0x26, "BTAB", "<ESC>I"},
    {0x22, "BSPACE", "<BS>"},    {0x27, "BSP_S", "<BS>"},     {0x24, "RETURN", "<0D>"},    {0x29, "RETUR_S", "<0D>"},
    {0x2A, "HOME", "<1E>"},      {0x2F, "HOME_S", "<ESC>{"},  {0x2B, "UP", "<0B>"},        {0x30, "UP_S", "<0B>"},
    {0x2C, "DOWN", "<0A>"},      {0x31, "DOWN_S", "<0A>"},    {0x2D, "LEFT", "<08>"},      {0x32, "LEFT_S", "<08>"},
    {0x2E, "RIGHT", "<0C>"},     {0x33, "RIGHT_S", "<0C>"},   {0x73, "ENTER", "<0D>"},     {0x34, "ENTER_S", "<0D>"},
    {0x75, "SEND", "<ESC>7"},
};

constexpr int kFunctionKeys = 16;
constexpr uint8_t kFunctionKeyBase = 0x40;
constexpr uint8_t kShiftedFunctionKeyBase = 0x60;

struct Table {
    const WyseKey* rows;
    int count;
};

Table KeyboardTable(const SettingsRecord& rec)
{
    if (rec.Terminal == 8) return {kPcKeyboard, static_cast<int>(sizeof kPcKeyboard / sizeof kPcKeyboard[0])};
    return {kAsciiKeyboard, static_cast<int>(sizeof kAsciiKeyboard / sizeof kAsciiKeyboard[0])};
}

// F1-F16 (0x40-0x4F) and F1_S-F16_S (0x60-0x6F): SOH, the code, CR.
bool FunctionKey(uint8_t code, std::string& name, std::string& defaultText)
{
    const bool shifted = code >= kShiftedFunctionKeyBase && code < kShiftedFunctionKeyBase + kFunctionKeys;
    if (!shifted && !(code >= kFunctionKeyBase && code < kFunctionKeyBase + kFunctionKeys)) return false;
    const int number = (code & 0x0F) + 1;
    name = "F" + std::to_string(number) + (shifted ? "_S" : "");
    char text[16];
    if (code == 0x60)
        std::snprintf(text, sizeof text, "<01><60><CR>");
    else
        std::snprintf(text, sizeof text, "<01>%c<CR>", code);
    defaultText = text;
    return true;
}

bool FindKey(const SettingsRecord& rec, uint8_t code, std::string& name, std::string& defaultText)
{
    const Table keyboard = KeyboardTable(rec);
    for (const Table& table : {keyboard, Table{kCommonKeys, static_cast<int>(sizeof kCommonKeys / sizeof kCommonKeys[0])}}) {
        for (int i = 0; i < table.count; ++i) {
            if (table.rows[i].code != code) continue;
            name = table.rows[i].name;
            defaultText = table.rows[i].defaultText;
            return true;
        }
    }
    return FunctionKey(code, name, defaultText);
}

// The host's bytes as key-string notation in double quotes. Bytes the notation would read
// otherwise (controls, blanks, the bracket and caret signs, quote and backslash) and bytes above
// 126 are written as <hex>.
std::string Notation(const uint8_t* text, int length)
{
    std::string definition = "\"";
    char hex[8];
    for (int i = 0; i < length; ++i) {
        const uint8_t b = text[i];
        if (b < 33 || b > 126 || b == '<' || b == '>' || b == '"' || b == '\\' || b == '^') {
            std::snprintf(hex, sizeof hex, "<%2.2X>", b);
            definition += hex;
        } else {
            definition += static_cast<char>(b);
        }
    }
    return definition + "\"";
}

}  // namespace

void WyseProgramKey(const SettingsRecord& rec, uint8_t key, const uint8_t* text, int length)
{
    std::string name;
    std::string defaultText;
    if (!FindKey(rec, key, name, defaultText)) return;
    const std::string definition = length <= 0 ? defaultText : Notation(text, length);
    VtHooks.defineTerminalKey(name.c_str(), definition.c_str());
}

void WyseDefaultKeys(const SettingsRecord& rec)
{
    const Table keyboard = KeyboardTable(rec);
    for (int i = 0; i < keyboard.count; ++i) VtHooks.defineTerminalKey(keyboard.rows[i].name, keyboard.rows[i].defaultText);
    for (const WyseKey& key : kCommonKeys) VtHooks.defineTerminalKey(key.name, key.defaultText);
    std::string name;
    std::string defaultText;
    for (int k = 0; k < kFunctionKeys; ++k) {
        for (uint8_t base : {kFunctionKeyBase, kShiftedFunctionKeyBase}) {
            FunctionKey(static_cast<uint8_t>(base + k), name, defaultText);
            VtHooks.defineTerminalKey(name.c_str(), defaultText.c_str());
        }
    }
}
