#include "dialogs/key_table_editing.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "engine/key_strings.h"
#include "session/messages.h"

namespace {

// Case-blind first, then byte order, as the sorted combo box keeps its items.
bool ListsBefore(const std::string& a, const std::string& b)
{
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [&](char x, char y) { return lower(x) < lower(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [&](char x, char y) { return lower(x) < lower(y); });
    if (less || greater) return less;
    return a < b;
}

uint16_t ModifierBits(int index) { return static_cast<uint16_t>(index << 9); }

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

const char* ModifierLabel(int index)
{
    static const char* const kLabels[kModifierCombinations] = {
        "Normal:", "Shift:", "Ctrl:", "Shift Ctrl:", "Alt:", "Alt Shift:", "Alt Ctrl:", "Alt Shift Ctrl:"};
    return index >= 0 && index < kModifierCombinations ? kLabels[index] : "";
}

KeyNameList KeyNamesOf(const KeyMap& map)
{
    KeyNameList list;
    for (const auto& item : map) UpdateKeyNames(list, item.second->GetName(), item.second->Code() & kKeyBits);
    return list;
}

void UpdateKeyNames(KeyNameList& list, const std::string& name, int code)
{
    code &= kKeyBits;
    for (auto it = list.begin(); it != list.end();) {
        if (it->code != code) {
            ++it;
        } else if (it->name == name) {
            return;
        } else {
            it = list.erase(it);
        }
    }
    const auto at = std::find_if(list.begin(), list.end(), [&](const KeyNameItem& item) { return ListsBefore(name, item.name); });
    list.insert(at, KeyNameItem{name, code});
}

int FindKeyName(const KeyNameList& list, const std::string& name)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

int FindKeyCode(const KeyNameList& list, int code)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].code == (code & kKeyBits)) return static_cast<int>(i);
    }
    return -1;
}

std::string KeyNameFromText(const std::string& text)
{
    std::string name = text;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

int ParseKeyCodeText(const std::string& text)
{
    if (text.size() >= 3 && text[0] == '\'' && text[2] == '\'') {
        const int scanned = ScanCharacterKey(text[1]);
        return scanned < 0 ? -1 : (scanned & 0xFF);
    }
    // Hexadecimal as "%x" reads it: blanks, a sign, an optional 0x, digits; no digit is invalid.
    const char* start = text.c_str();
    char* end = nullptr;
    const unsigned long number = std::strtoul(start, &end, 16);
    if (end == start || number > kKeyBits) return -1;
    return static_cast<int>(number);
}

std::string KeyCodeText(int code)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02x", code & 0xFFFF);
    return text;
}

KeyValues ValuesOfKey(const KeyMap& map, int code)
{
    KeyValues values;
    for (int m = 0; m < kModifierCombinations; ++m) {
        if (const KeyMapEntry* entry = map.Lookup(static_cast<uint16_t>((code & kKeyBits) | ModifierBits(m))))
            values[m] = entry->GetValue();
    }
    return values;
}

bool AcceptKey(KeyMap& map, KeyNameList& list, int code, const std::string& name, const KeyValues& values)
{
    code &= kKeyBits;
    bool changed = false;
    for (int m = 0; m < kModifierCombinations; ++m) {
        const uint16_t full = static_cast<uint16_t>(code | ModifierBits(m));
        if (map.RemoveKey(full)) changed = true;
        if (values[m].empty()) continue;
        auto entry = std::make_unique<KeyMapEntry>();
        entry->SetName(name);
        entry->ParseKeyCode(KeyCodeText(code));
        entry->SetModifiers(ModifierBits(m));
        entry->SetValue(values[m]);
        const uint16_t stored = entry->Code();
        map.SetEntry(stored, std::move(entry));
        UpdateKeyNames(list, name, code);
        changed = true;
    }
    return changed;
}

bool DeleteKeyCode(KeyMap& map, KeyNameList& list, int code)
{
    code &= kKeyBits;
    list.erase(std::remove_if(list.begin(), list.end(), [code](const KeyNameItem& item) { return item.code == code; }),
               list.end());
    bool changed = false;
    for (int m = 0; m < kModifierCombinations; ++m) {
        if (map.RemoveKey(static_cast<uint16_t>(code | ModifierBits(m)))) changed = true;
    }
    return changed;
}

void ReplaceKeyMap(KeyMap& map, const KeyMap& fresh)
{
    map.RemoveAllKeys();
    map.CopyFrom(fresh);
}

const std::vector<KeyButton>& FixedKeyButtons()
{
    static const std::vector<KeyButton> kButtons = [] {
        std::vector<KeyButton> b = {
            {1030, 0x1B}, {1005, 0x70}, {1006, 0x71}, {1004, 0x72}, {1003, 0x73}, {1023, 0x91}, {1024, 0x13},
            {1069, 0x08}, {1071, 0x09}, {1084, 0x0D}, {1144, 0x20}, {1141, 0x11}, {1159, 0x111},
            {1064, 0x12D}, {1065, 0x124}, {1066, 0x121}, {1160, 0x12E}, {1161, 0x123}, {1162, 0x122},
            {1166, 0x126}, {1163, 0x125}, {1164, 0x128}, {1165, 0x127},
            {1026, 0x190}, {1027, 0x16F}, {1028, 0x6A}, {1029, 0x6D}, {1035, 0x6B}, {1047, 0x10D},
        };
        for (int i = 0; i < 8; ++i) b.push_back({1014 + i, 0x74 + i});  // F5-F12
        for (int i = 0; i < 9; ++i) b.push_back({1053 + i, 0x31 + i});  // 1-9 of the main block
        b.push_back({1062, 0x30});
        const int letters[26] = {1091, 1130, 1128, 1093, 1074, 1094, 1095, 1096, 1079, 1097, 1098, 1099, 1132,
                                 1131, 1080, 1081, 1072, 1075, 1092, 1076, 1078, 1129, 1073, 1127, 1077, 1126};
        for (int i = 0; i < 26; ++i) b.push_back({letters[i], 0x41 + i});
        return b;
    }();
    return kButtons;
}

const std::vector<KeypadButton>& KeypadButtons()
{
    static const std::vector<KeypadButton> kButtons = {
        {1032, "Hom", 0x24, "7", 0x67}, {1033, "^", 0x26, "8", 0x68},   {1034, "PgU", 0x21, "9", 0x69},
        {1040, "<", 0x25, "4", 0x64},   {1041, "", 0x0C, "5", 0x65},    {1042, ">", 0x27, "6", 0x66},
        {1044, "End", 0x23, "1", 0x61}, {1045, "v", 0x28, "2", 0x62},   {1046, "PgD", 0x22, "3", 0x63},
        {1048, "Ins", 0x2D, "0", 0x60}, {1050, "Del", 0x2E, ",", 0x6E},
    };
    return kButtons;
}

int KeyButtonCode(int id, bool numLockCaptions)
{
    for (const KeyButton& b : FixedKeyButtons()) {
        if (b.id == id) return b.code;
    }
    for (const KeypadButton& b : KeypadButtons()) {
        if (b.id == id) return numLockCaptions ? b.codeOn : b.codeOff;
    }
    return -1;
}

KeyDefRefusal AcceptKeyDef(KeyDefTable& table, const std::string& nameText, const std::string& definition,
                           std::string* storedName)
{
    if (nameText.empty()) return KeyDefRefusal::NoName;
    const std::string name = KeyNameFromText(nameText);
    if (definition.empty()) return KeyDefRefusal::NoString;
    table.SetAt(std::make_unique<KeyDefEntry>(name, definition));
    if (storedName) *storedName = name;
    return KeyDefRefusal::None;
}

std::vector<std::string> KeyDefNames(const KeyDefTable& table)
{
    std::vector<std::string> names;
    for (const auto& item : table) names.push_back(item.first);
    std::stable_sort(names.begin(), names.end(), ListsBefore);
    return names;
}

std::string TranslateEntryText(int index, uint8_t value, bool hex)
{
    char part[4] = {};
    const auto format = [&](uint8_t byte) {
        const int n = hex ? FormatHexPair(byte, part) : FormatControlChar(byte, part);
        return std::string(part, static_cast<std::size_t>(n));
    };
    return format(static_cast<uint8_t>(index)) + " -> " + format(value);
}

int ParseTranslateValue(const std::string& text)
{
    if (text.size() >= 3 && text[0] == '\'' && text[2] == '\'') return static_cast<unsigned char>(text[1]);
    if (text.size() < 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])) return -1;
    uint8_t byte = 0;
    return ParseHexPair(text.c_str(), byte) == 2 ? byte : -1;
}

TranslateEdit AcceptTranslateValue(uint8_t* outbound, uint8_t* inbound, bool outboundActive, int index, int value,
                                   bool mirror)
{
    uint8_t* active = outboundActive ? outbound : inbound;
    uint8_t* other = outboundActive ? inbound : outbound;
    active[index & 0xFF] = static_cast<uint8_t>(value);
    if (!mirror) return {index & 0xFF, -1};
    other[value & 0xFF] = static_cast<uint8_t>(index);
    return {index & 0xFF, value & 0xFF};
}

std::string QuestionText(int stringId, const std::string& first, const std::string& second)
{
    const std::string text = MessageText(stringId);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
