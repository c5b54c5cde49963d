// What the Keyboard Mapping, Terminal KeyName Definitions and Translate Tables dialogs do to their
// working tables, without a window: the PC-key list of the keyboard dialog, accepting and deleting
// a key's eight values, accepting and deleting a terminal key name, the translate tables' entry
// texts, values and their mirror edit, and the keyboard picture's buttons.
//
// Names compare exactly (with case), as the tables do.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "session/key_tables.h"

// ---- Keyboard Mapping.

// The eight modifier combinations in the dialogs' order (index = modifier bits >> 9).
constexpr int kModifierCombinations = 8;
using KeyValues = std::array<std::string, kModifierCombinations>;

// Their value edits' labels ("Normal:" ... "Alt Shift Ctrl:").
const char* ModifierLabel(int index);

// An entry of the PC-key list: a name and the 9-bit code it belongs to.
struct KeyNameItem {
    std::string name;
    int code;
    bool operator==(const KeyNameItem& other) const { return name == other.name && code == other.code; }
};

// The list as the sorted combo box shows it: names in the order of a case-blind comparison, names
// equal but for case in byte order.
using KeyNameList = std::vector<KeyNameItem>;

// The list for every entry of the map (each entry updates it as UpdateKeyNames does).
KeyNameList KeyNamesOf(const KeyMap& map);
// An entry's name and code: an item of the code under another name goes; the name is added when
// no item has both.
void UpdateKeyNames(KeyNameList& list, const std::string& name, int code);
// The item of exactly that name, -1 none; the item of the code, -1 none.
int FindKeyName(const KeyNameList& list, const std::string& name);
int FindKeyCode(const KeyNameList& list, int code);

// A typed PC-key name: blanks stored as '_'.
std::string KeyNameFromText(const std::string& text);

// The code edit's text: one character in single quotes (its key's virtual-key byte; a character
// no key types is invalid), or hexadecimal 00-1ff. -1 when invalid.
int ParseKeyCodeText(const std::string& text);
// A code as the code edit shows it ("%02x").
std::string KeyCodeText(int code);

// The values of the eight combinations of a 9-bit code.
KeyValues ValuesOfKey(const KeyMap& map, int code);

// Stores the eight values of a code under the name: each combination's entry goes, and an entry is
// made for every value that is not empty; the list is updated for each. True when an entry was
// added, replaced or removed.
bool AcceptKey(KeyMap& map, KeyNameList& list, int code, const std::string& name, const KeyValues& values);
// Removes every list item and entry of the code; true when an entry was removed.
bool DeleteKeyCode(KeyMap& map, KeyNameList& list, int code);

// Replaces the map by a fresh one read elsewhere (a default file read whole).
void ReplaceKeyMap(KeyMap& map, const KeyMap& fresh);

// ---- The keyboard picture.

struct KeyButton {
    int id;
    int code;
};
// The buttons whose code does not depend on the NumLock captions.
const std::vector<KeyButton>& FixedKeyButtons();

struct KeypadButton {
    int id;
    const char* captionOff;
    int codeOff;
    const char* captionOn;
    int codeOn;
};
// The eleven keypad buttons that follow the NumLock captions.
const std::vector<KeypadButton>& KeypadButtons();
// The code a button selects; -1 for no key button.
int KeyButtonCode(int id, bool numLockCaptions);

// ---- Terminal KeyName Definitions.

enum class KeyDefRefusal { None = 0, NoName = 8, NotSelected = 9, NoString = 10 };

// Stores the definition under the name (blanks as '_'; an entry of that name is replaced); the
// stored name is given back.
KeyDefRefusal AcceptKeyDef(KeyDefTable& table, const std::string& nameText, const std::string& definition,
                           std::string* storedName = nullptr);
// The table's names in the sorted combo's order.
std::vector<std::string> KeyDefNames(const KeyDefTable& table);

// ---- Translate Tables.

// "41 -> 61" (hex) or "A -> a" (characters; 0-15 as '^' and the byte + 64).
std::string TranslateEntryText(int index, uint8_t value, bool hex);
// A "New:" value: a character in single quotes (0-255), or two hexadecimal digits (a third
// character ignored). -1 when invalid.
int ParseTranslateValue(const std::string& text);

struct TranslateEdit {
    int changedIndex;   // the entry of the active table that changed
    int mirroredIndex;  // the entry of the other table that changed in Mirror mode, -1 none
};
// Sets entry index of the active table (outbound or inbound) to value; in Mirror mode the other
// table's entry value becomes index.
TranslateEdit AcceptTranslateValue(uint8_t* outbound, uint8_t* inbound, bool outboundActive, int index, int value,
                                   bool mirror);

// ---- Questions.

// The string-table text with "%1" and "%2" replaced by the two texts (in one pass: what they hold
// is never replaced again).
std::string QuestionText(int stringId, const std::string& first, const std::string& second = std::string());

// ---- The session's default files, as the keyboard dialogs load them.

// Each load reads into the fresh table it is given and is true only when the whole file was read;
// a failure has been reported to the user.
class KeyTableFiles {
public:
    virtual ~KeyTableFiles() = default;
    virtual std::string DefaultKeyMapFile() = 0;
    virtual bool LoadDefaultKeyMap(KeyMap& fresh) = 0;
    virtual std::string DefaultKeyDefFile() = 0;
    virtual bool LoadDefaultKeyDefs(KeyDefTable& fresh) = 0;
    virtual std::string DefaultTranslateFile() = 0;
    virtual bool LoadDefaultTranslate(uint8_t* outbound, uint8_t* inbound) = 0;
    virtual std::string DefaultButtonFile() = 0;
    // Installs the default button file and has the buttons rebuilt; true on success.
    virtual bool InstallDefaultButtons() = 0;
};
