// DECUDK: user-defined keys loaded by the host (DCS clear ; lock ; bank | key/hex ; ... ST).
#include <cstdio>
#include <string>

#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

namespace {

struct UserKey {
    int number;
    const char* name;
};

const UserKey kUserKeys[] = {
    {11, "F1"},  {12, "F2"},  {13, "F3"},  {14, "F4"},  {15, "F5"},       {17, "F6"},     {18, "F7"},
    {19, "F8"},  {20, "F9"},  {21, "F10"}, {23, "F11"}, {24, "F12"},      {25, "F13"},    {26, "F14"},
    {28, "F15_HELP"},         {29, "F16_DO"},           {31, "F17"},      {32, "F18"},    {33, "F19"},
    {34, "F20"},
};

const char* KeyName(int number)
{
    for (const UserKey& key : kUserKeys)
        if (key.number == number) return key.name;
    return nullptr;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

void Define(const char* name, const char* suffix, const std::string& value)
{
    const std::string key = std::string(name) + suffix;
    VtHooks.defineTerminalKey(key.c_str(), value.c_str());
}

// One "number/hexpairs" item. Items with anything but hex digits after the slash define nothing.
void DefineItem(const char* item, std::size_t length, const char* suffix)
{
    std::size_t i = 0;
    int number = 0;
    for (; i < length && item[i] >= '0' && item[i] <= '9'; ++i)
        if (number < 1000) number = number * 10 + (item[i] - '0');
    if (i >= length || item[i] != '/') return;
    const char* name = KeyName(number);
    if (!name) return;
    std::string value = "\"";
    for (std::size_t j = i + 1; j < length; j += 2) {
        if (!IsHexDigit(item[j])) return;
        if (j + 1 < length) {
            if (!IsHexDigit(item[j + 1])) return;
            value += '<';
            value += item[j];
            value += item[j + 1];
            value += '>';
        } else {
            value += '<';
            value += item[j];
            value += "0>";
        }
    }
    value += '"';
    Define(name, suffix, value);
}

}  // namespace

void LoadUserDefinedKeys(SettingsRecord& rec, int count, const int* params, const char* text)
{
    const int clear = params[0];
    const int lock = count > 1 ? params[1] : 0;
    const int bankParam = count > 2 ? params[2] : 0;
    const char* suffix = "_S";
    int bank = 1;
    switch (bankParam) {
    case 0:
    case 2: break;
    case 1: suffix = "", bank = 0; break;
    case 3: suffix = "_A", bank = 2; break;
    case 4: suffix = "_AS", bank = 3; break;
    default: return;
    }
    if (rec.UdkLocked[bank]) return;
    if (lock == 0)
        rec.UdkLocked[bank] = 1;
    else if (lock != 1)
        return;
    if (clear == 0) {
        for (const UserKey& key : kUserKeys) Define(key.name, suffix, "\"\"");
    } else if (clear != 1) {
        return;
    }
    const char* item = text;
    for (const char* p = text;; ++p) {
        if (*p == ';' || *p == 0) {
            DefineItem(item, static_cast<std::size_t>(p - item), suffix);
            if (*p == 0) break;
            item = p + 1;
        }
    }
}
