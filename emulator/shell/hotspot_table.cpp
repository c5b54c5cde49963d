// The dynamic-hotspot table and its file; see hotspot_table.h.
#include "shell/hotspot_table.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "session/key_tables.h"
#include "shell/dyn_hotspots.h"
#include "session/messages.h"

std::unique_ptr<HotspotTable> DynHotspots;

namespace {

const KeyMap* sourceKeys = nullptr;
const KeyDefTable* sourceDefs = nullptr;

// The longest line the reader takes (without its line end), and the room for the part from
// "type: " to the end of the send string.
constexpr std::size_t kLongestLine = 298;
constexpr std::size_t kEntryRoom = 296;

const KeyMapEntry* UnmodifiedKey(const std::string& name)
{
    if (!sourceKeys) return nullptr;
    for (const auto& item : *sourceKeys) {
        const KeyMapEntry& key = *item.second;
        if (!(key.Modifiers() & kModifierBits) && key.GetName() == name) return &key;
    }
    return nullptr;
}

bool IsKeyName(const std::string& name) { return sourceDefs && sourceDefs->Lookup(name); }

bool GoodName(const std::string& name)
{
    if (name.empty()) return false;
    for (unsigned char c : name)
        if (c <= ' ' || c == 0x7F) return false;
    return true;
}

// Skips blanks and tabs.
const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// `p` starts with the word; the position after it, or null.
const char* Expect(const char* p, const char* word)
{
    const std::size_t n = std::strlen(word);
    return std::strncmp(p, word, n) == 0 ? p + n : nullptr;
}

}  // namespace

void SetHotspotSources(const KeyMap* keyMap, const KeyDefTable* keyDefs)
{
    sourceKeys = keyMap;
    sourceDefs = keyDefs;
}

const KeyMap* HotspotKeySource() { return sourceKeys; }

void HotspotDef::Resolve(const std::string* name)
{
    if (name) {
        if (const KeyMapEntry* key = UnmodifiedKey(*name)) {
            sendString = key->GetValue();
            type = IsKeyName(sendString) ? kHotspotKeyName : kHotspotLiteral;
        }
    }
    if (type != kHotspotPcKey && type != kHotspotKeyName) return;
    resolvedString.clear();
    std::string keyName = sendString;
    if (type == kHotspotPcKey) {
        const KeyMapEntry* key = UnmodifiedKey(sendString);
        if (!key) return;
        keyName = resolvedString = key->GetValue();
    }
    if (sourceDefs)
        if (const KeyDefEntry* def = sourceDefs->Lookup(keyName)) resolvedString = def->GetDefinition();
}

const std::string& HotspotDef::EffectiveString() const
{
    static const std::string none;
    if (type == kHotspotLiteral) return sendString;
    return type <= kHotspotKeyName ? resolvedString : none;
}

void HotspotTable::CopyFrom(const HotspotTable& source)
{
    for (const std::string& name : source.order_) Add(name, *source.entries_.at(name));
}

int HotspotTable::Add(const std::string& name, unsigned type, const std::string& sendString)
{
    HotspotDef def(type, sendString);
    def.Resolve(&name);
    return Add(name, def);
}

int HotspotTable::Add(const std::string& name, const HotspotDef& def)
{
    if (!GoodName(name) || def.sendString.find_first_of("\r\n") != std::string::npos || FileLine(name, def).empty())
        return 1;
    auto& slot = entries_[name];
    if (!slot) order_.push_back(name);
    slot = std::make_unique<HotspotDef>(def);
    return 0;
}

void HotspotTable::Remove(const std::string& name)
{
    if (entries_.erase(name) == 0) return;
    for (auto it = order_.begin(); it != order_.end(); ++it) {
        if (*it == name) {
            order_.erase(it);
            break;
        }
    }
}

const HotspotDef* HotspotTable::Lookup(const std::string& name) const
{
    auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : found->second.get();
}

int HotspotTable::GetType(const std::string& name) const
{
    const HotspotDef* def = Lookup(name);
    return def ? static_cast<int>(def->type) : -1;
}

std::string HotspotTable::GetSendString(const std::string& name) const
{
    const HotspotDef* def = Lookup(name);
    return def ? def->sendString : std::string();
}

std::string HotspotTable::GetEffectiveString(const std::string& word) const
{
    const HotspotDef* def = Lookup(word);
    return def ? def->EffectiveString() : std::string();
}

int HotspotTable::BuildFromKeyMap()
{
    if (!sourceKeys) return 0;
    int added = 0;
    for (const auto& item : *sourceKeys) {
        const KeyMapEntry& key = *item.second;
        if ((key.Modifiers() & kModifierBits) || key.GetName().empty()) continue;
        const unsigned type = IsKeyName(key.GetValue()) ? kHotspotKeyName : kHotspotLiteral;
        if (Add(key.GetName(), type, key.GetValue()) == 0) ++added;
    }
    return added;
}

void HotspotTable::ResolveAll()
{
    for (auto& item : entries_) item.second->Resolve(&item.first);
}

std::string HotspotTable::FileLine(const std::string& name, const HotspotDef& def)
{
    std::string rest = "type: " + std::to_string(def.type) + " sendstring: " + def.sendString;
    std::string line = "name: " + name + " " + rest;
    if (rest.size() >= kEntryRoom || line.size() > kLongestLine) return {};
    return line + "\n";
}

bool HotspotTable::ReadLine(const std::string& line)
{
    const char* p = Expect(SkipBlanks(line.c_str()), "name:");
    if (!p) return false;
    p = SkipBlanks(p);
    const char* nameEnd = p;
    while (*nameEnd && *nameEnd != ' ' && *nameEnd != '\t') ++nameEnd;
    const std::string name(p, nameEnd);
    p = Expect(SkipBlanks(nameEnd), "type:");
    if (name.empty() || !p) return false;
    p = SkipBlanks(p);
    if (*p < '0' || *p > '9') return false;
    char* after = nullptr;
    errno = 0;
    const unsigned long type = std::strtoul(p, &after, 10);
    if (errno || type > 0xFFFFFFFFul) return false;
    p = Expect(SkipBlanks(after), "sendstring:");
    if (!p) return false;
    // The send string is everything after the one blank that follows the colon.
    if (*p == ' ') ++p;
    return Add(name, static_cast<unsigned>(type), p) == 0;
}

int HotspotTable::Load(const std::string& fileName)
{
    std::FILE* file = std::fopen(fileName.c_str(), "r");
    if (!file) {
        BuildFromKeyMap();
        return 0;
    }
    int read = 0;
    std::string line;
    bool tooLong = false;
    for (int c; (c = std::fgetc(file)) != EOF || !line.empty() || tooLong;) {
        if (c != EOF && c != '\n') {
            if (line.size() <= kLongestLine) line += static_cast<char>(c);
            else tooLong = true;
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!tooLong && line.size() <= kLongestLine && ReadLine(line)) ++read;
        line.clear();
        tooLong = false;
        if (c == EOF) break;
    }
    std::fclose(file);
    return read;
}

int HotspotTable::Save(const std::string& fileName) const
{
    std::string text;
    for (const std::string& name : order_) {
        const std::string line = FileLine(name, *entries_.at(name));
        if (line.empty()) {
            ShowMessage(94, kMsgOk | kMsgIconExclamation, "%s, error: %d", fileName.c_str(), ERANGE);
            return 0;
        }
        text += line;
    }
    errno = 0;
    std::FILE* file = std::fopen(fileName.c_str(), "w");
    bool ok = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int error = errno;
    if (file && std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) return 1;
    ShowMessage(94, kMsgOk | kMsgIconExclamation, "%s, error: %d", fileName.c_str(), error ? error : EIO);
    return 0;
}

std::string HotspotEffectiveString(const std::string& word)
{
    return DynHotspots ? DynHotspots->GetEffectiveString(word) : std::string();
}
