#include "session/key_tables.h"

#include <cstdlib>

#include "host_platform.h"

namespace {

int UsKeyScan(char character)
{
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    if (character >= 'A' && character <= 'Z') return 0x100 | character;  // with Shift
    if (character >= '0' && character <= '9') return character;
    if (character == ' ') return 0x20;
    return -1;
}

KeyScanner keyScanner = UsKeyScan;

}  // namespace

void SetKeyScanner(KeyScanner scanner) { keyScanner = scanner ? scanner : UsKeyScan; }

int ScanCharacterKey(char character) { return keyScanner(character); }

bool KeyDefTable::RemoveAllDefs()
{
    entries_.clear();
    return true;
}

void KeyDefTable::CopyFrom(const KeyDefTable& source)
{
    for (const auto& item : source) SetAt(std::make_unique<KeyDefEntry>(*item.second));
}

const KeyDefEntry* KeyDefTable::Lookup(const std::string& name) const
{
    const auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : found->second.get();
}

bool KeyDefTable::RemoveKey(const std::string& name) { return entries_.erase(name) > 0; }

void KeyDefTable::SetAt(std::unique_ptr<KeyDefEntry> entry)
{
    if (!entry) return;
    const std::string name = entry->GetName();
    entries_[name] = std::move(entry);
}

void KeyMapEntry::SetModifiers(uint16_t word)
{
    modifiers_ = word;
    code_ = static_cast<uint16_t>((code_ & kKeyBits) | (word & kModifierBits));
}

int KeyMapEntry::ParseKeyCode(const std::string& text)
{
    int key;
    if (text.size() >= 3 && text[0] == '\'' && text[2] == '\'') {
        // The low byte is the virtual key; the high byte's shift state would land on the
        // extended-key bit, giving a code no key produces.
        const int scanned = keyScanner(text[1]);
        if (scanned < 0) {
            Platform().ShowMessage(3, "Invalid code. \nEnter hex code as: 00 - 1ff\nor any character as: 'a', '1' ...");
            return -1;
        }
        key = scanned & 0xFF;
    } else {
        // Hexadecimal as "%x" reads it: blanks, a sign, an optional 0x, digits.
        const char* start = text.c_str();
        char* end = nullptr;
        const unsigned long number = std::strtoul(start, &end, 16);
        if (end == start || number > kKeyBits) {
            Platform().ShowMessage(3, "Invalid code. \nEnter hex code as: 00 - 1ff\nor any character as: 'a', '1' ...");
            return -1;
        }
        key = static_cast<int>(number);
    }
    code_ = static_cast<uint16_t>(modifiers_ | key);
    return key;
}

bool KeyMap::RemoveAllKeys()
{
    entries_.clear();
    return true;
}

void KeyMap::CopyFrom(const KeyMap& source)
{
    for (const auto& item : source) SetEntry(item.first, std::make_unique<KeyMapEntry>(*item.second));
}

const KeyMapEntry* KeyMap::Lookup(uint16_t code) const
{
    const auto found = entries_.find(code);
    return found == entries_.end() ? nullptr : found->second.get();
}

bool KeyMap::RemoveKey(uint16_t code) { return entries_.erase(code) > 0; }

void KeyMap::SetEntry(uint16_t code, std::unique_ptr<KeyMapEntry> entry)
{
    if (entry) entries_[code] = std::move(entry);
}

bool KeyMap::ContainsValue(const std::string& text) const
{
    for (const auto& item : entries_) {
        if (item.second->GetValue() == text) return true;
    }
    return false;
}
