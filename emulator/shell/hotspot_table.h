// The dynamic-hotspot table: which words on the screen are hotspots and what a click on one sends.
// Each entry's send string is a PC key of the keyboard map (type 0), a terminal key name of the
// key definitions (type 1) or sent as it is (type 2); the first two are resolved against the
// session's key tables. The table lives in a text file of one entry per line:
//
//     name: WORD type: N sendstring: TEXT
//
// and, without that file, is built from the keyboard map.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

class KeyMap;
class KeyDefTable;

enum HotspotType : unsigned {
    kHotspotPcKey = 0,   // the send string names a PC key of the keyboard map
    kHotspotKeyName = 1, // the send string is a terminal key name
    kHotspotLiteral = 2, // the send string is sent unchanged
};

class HotspotDef {
public:
    HotspotDef(unsigned type, std::string sendString) : type(type), sendString(std::move(sendString)) {}
    // Resolves against the registered key tables: with a name, an unmodified PC key of that name
    // takes over the entry first.
    void Resolve(const std::string* name);
    // sendString for type 2, else resolvedString.
    const std::string& EffectiveString() const;

    unsigned type;
    std::string sendString;
    std::string resolvedString;
};

class HotspotTable {
public:
    HotspotTable() = default;
    HotspotTable(const HotspotTable&) = delete;
    HotspotTable& operator=(const HotspotTable&) = delete;

    // Adds a copy of every entry of source.
    void CopyFrom(const HotspotTable& source);
    // Stores a resolved entry, replacing one of the same name (which keeps its place). 0 when
    // stored; 1 when refused: an empty name, a name with blanks or control characters, a send
    // string with a line break, or an entry too long for a line of the file (none of them could
    // be written to the file and read back).
    int Add(const std::string& name, unsigned type, const std::string& sendString);
    int Add(const std::string& name, const HotspotDef& def);
    void Remove(const std::string& name);

    int GetType(const std::string& name) const;  // -1 when absent
    std::string GetSendString(const std::string& name) const;
    std::string GetEffectiveString(const std::string& word) const;
    // The names in the table's order (the order of the file, new names last).
    const std::vector<std::string>& Names() const { return order_; }
    std::size_t GetCount() const { return order_.size(); }
    const HotspotDef* Lookup(const std::string& name) const;

    // Every unmodified, named entry of the registered keyboard map as an entry named after its
    // PC key: type 1 when its value is a terminal key name, else 2. The number added (0 without
    // registered key tables).
    int BuildFromKeyMap();
    // Resolves every entry again (after the key tables were reloaded).
    void ResolveAll();

    // Reads the file: the number of entries read; a file that does not open builds the table
    // from the keyboard map instead. Unreadable and over-long lines are skipped.
    int Load(const std::string& fileName);
    // Writes the file: 1 when written, else 0 after message 94 (the file is not touched when an
    // entry has grown too long for a line by resolving it against the keyboard map).
    int Save(const std::string& fileName) const;

    // One line of the file (with its line feed), or "" when the entry does not fit a line.
    static std::string FileLine(const std::string& name, const HotspotDef& def);
    // Reads one line (without its line end) into the table: false when it is no entry.
    bool ReadLine(const std::string& line);

private:
    std::map<std::string, std::unique_ptr<HotspotDef>> entries_;
    std::vector<std::string> order_;
};

// The key tables entries are resolved against (the session document's; none: nothing resolves).
void SetHotspotSources(const KeyMap* keyMap, const KeyDefTable* keyDefs);
const KeyMap* HotspotKeySource();

// The program's table, from start-up to exit.
extern std::unique_ptr<HotspotTable> DynHotspots;
