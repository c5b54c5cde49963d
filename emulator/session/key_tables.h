// The session's two keyboard tables: the terminal key-name definitions (name -> key string) and
// the keyboard map (16-bit key code -> PC key name and the action string it sends).
//
// Both tables own their entries; the settings dialogs work on deep copies made with CopyFrom.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class KeyDefEntry {
public:
    KeyDefEntry() = default;
    KeyDefEntry(std::string name, std::string definition)
        : name_(std::move(name)), definition_(std::move(definition)) {}

    const std::string& GetName() const { return name_; }
    const std::string& GetDefinition() const { return definition_; }  // key-string notation
    void SetName(const std::string& name) { name_ = name; }
    void SetDefinition(const std::string& definition) { definition_ = definition; }

private:
    std::string name_;
    std::string definition_;
};

class KeyDefTable {
public:
    using Map = std::map<std::string, std::unique_ptr<KeyDefEntry>>;  // names compare with case

    // Deletes every entry. Returns true.
    bool RemoveAllDefs();
    // Adds a copy of every entry of source (an entry of the same name is replaced).
    void CopyFrom(const KeyDefTable& source);

    const KeyDefEntry* Lookup(const std::string& name) const;
    bool RemoveKey(const std::string& name);
    // Stores the entry under its own name; an entry already stored there is deleted.
    void SetAt(std::unique_ptr<KeyDefEntry> entry);

    std::size_t GetCount() const { return entries_.size(); }
    Map::const_iterator begin() const { return entries_.begin(); }
    Map::const_iterator end() const { return entries_.end(); }

private:
    Map entries_;
};

// Key code bits: the 9-bit PC key (virtual key, +256 for an extended key) and the modifiers.
constexpr uint16_t kKeyBits = 0x1FF;
constexpr uint16_t kShiftBit = 0x200;
constexpr uint16_t kCtrlBit = 0x400;
constexpr uint16_t kAltBit = 0x800;
constexpr uint16_t kModifierBits = 0xE00;

class KeyMapEntry {
public:
    const std::string& GetName() const { return name_; }    // PC key name (blanks stored as '_')
    const std::string& GetValue() const { return value_; }  // the action string of the key
    void SetName(const std::string& name) { name_ = name; }
    void SetValue(const std::string& value) { value_ = value; }

    uint16_t Modifiers() const { return modifiers_; }
    uint16_t Code() const { return code_; }
    // modifiers := word; the code keeps its key and takes the word's modifier bits.
    void SetModifiers(uint16_t word);
    // 'c' (a character in single quotes): the virtual key of the character (its virtual-key byte;
    // the shift state is no part of the key); otherwise hexadecimal 00-1FF. A code above 1FF or a
    // character no key types shows message 3 and changes nothing. Returns the key, or -1.
    int ParseKeyCode(const std::string& text);

private:
    std::string name_;
    uint16_t modifiers_ = 0;
    uint16_t code_ = 0;
    std::string value_;
};

class KeyMap {
public:
    using Map = std::map<uint16_t, std::unique_ptr<KeyMapEntry>>;

    bool RemoveAllKeys();
    void CopyFrom(const KeyMap& source);

    const KeyMapEntry* Lookup(uint16_t code) const;
    bool RemoveKey(uint16_t code);
    // Stores the entry under code; an entry already stored there is deleted.
    void SetEntry(uint16_t code, std::unique_ptr<KeyMapEntry> entry);
    // True when some entry's value equals text exactly.
    bool ContainsValue(const std::string& text) const;

    std::size_t GetCount() const { return entries_.size(); }
    Map::const_iterator begin() const { return entries_.begin(); }
    Map::const_iterator end() const { return entries_.end(); }

private:
    Map entries_;
};

// The virtual key and shift state of a character (the platform's VkKeyScan); -1 when the
// keyboard has no key for it. Tolvi.exe installs the platform's function; the default knows the
// US layout's letters, digits and blank.
using KeyScanner = int (*)(char character);
void SetKeyScanner(KeyScanner scanner);
// The installed scanner's answer for the character.
int ScanCharacterKey(char character);
