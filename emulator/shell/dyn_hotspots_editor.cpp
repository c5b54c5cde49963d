// The Dynamic Hotspots Settings dialog's values and working table; see dyn_hotspots_editor.h.
#include "shell/dyn_hotspots_editor.h"

#include "dialogs/setting_text.h"
#include "session/key_tables.h"
#include "session/session_record.h"

namespace {

// The entry type of each radio button, in the buttons' tab order.
constexpr int kRadioTypes[] = {kHotspotLiteral, kHotspotPcKey, kHotspotKeyName};

bool AsciiLetterOrDigit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// White space, and the other control characters no screen cell shows.
bool RefusedInText(unsigned char c) { return c <= ' ' || c == 0x7F; }

const HotspotTable& EmptyTable()
{
    static const HotspotTable empty;
    return empty;
}

}  // namespace

bool DynHotspotsSettings::operator==(const DynHotspotsSettings& other) const
{
    return enable == other.enable && row == other.row && column == other.column && width == other.width &&
           height == other.height && depth == other.depth && extraChars == other.extraChars;
}

DynHotspotsSettings DynHotspotsSettingsFrom(const SettingsRecord& rec)
{
    DynHotspotsSettings s;
    s.enable = rec.EnableDynamicHotspots;
    s.row = rec.DynamicRow;
    s.column = rec.DynamicColumn;
    s.width = rec.DynamicWidth;
    s.height = rec.DynamicHeight;
    s.depth = rec.DynamicDepth;
    s.extraChars = FieldText(rec.ExtraDynWordChars);
    return s;
}

void StoreDynHotspotsSettings(const DynHotspotsSettings& s, SettingsRecord& rec)
{
    rec.EnableDynamicHotspots = s.enable;
    rec.DynamicRow = s.row;
    rec.DynamicColumn = s.column;
    rec.DynamicWidth = s.width;
    rec.DynamicHeight = s.height;
    rec.DynamicDepth = s.depth;
    StoreFieldText(rec.ExtraDynWordChars, s.extraChars);
}

int HotspotTypeOfRadio(int radioIndex)
{
    return radioIndex >= 1 && radioIndex <= 2 ? kRadioTypes[radioIndex] : static_cast<int>(kHotspotLiteral);
}

int RadioOfHotspotType(int type)
{
    for (int index = 0; index < 3; ++index)
        if (kRadioTypes[index] == type) return index;
    return -1;
}

std::string TerminalKeySendString(const std::string& keyName)
{
    if (keyName.size() > 2 && keyName.front() == '"' && keyName.back() == '"')
        return keyName.substr(1, keyName.size() - 2);
    return keyName;
}

DynHotspotsEditor::DynHotspotsEditor(const HotspotTable* program) : table_(std::make_unique<HotspotTable>())
{
    if (program) table_->CopyFrom(*program);
}

HotspotAccept DynHotspotsEditor::Accept(const std::string& text, int radioIndex, const std::string& send,
                                        std::string& extraChars)
{
    if (text.empty() || send.empty()) return HotspotAccept::kEmptyField;
    std::string extra = extraChars;
    for (unsigned char c : text) {
        if (RefusedInText(c)) return HotspotAccept::kWhitespace;
        if (!AsciiLetterOrDigit(c) && extra.find(static_cast<char>(c)) == std::string::npos)
            extra += static_cast<char>(c);
    }
    if (extra.size() > kHotspotTextLimit) return HotspotAccept::kExtraCharsFull;
    if (!table_) return HotspotAccept::kAccepted;
    // The text and send string of the dialog always fit a line of the file.
    table_->Add(text, static_cast<unsigned>(HotspotTypeOfRadio(radioIndex)), send);
    extraChars = extra;
    modified_ = true;
    return HotspotAccept::kAccepted;
}

void DynHotspotsEditor::Remove(const std::string& text)
{
    if (!table_) return;
    table_->Remove(text);
    modified_ = true;
}

void DynHotspotsEditor::RemoveAll()
{
    if (!table_) return;
    table_ = std::make_unique<HotspotTable>();
    modified_ = true;
}

int DynHotspotsEditor::AddAllPcKeys()
{
    if (!table_) return 0;
    modified_ = true;
    return table_->BuildFromKeyMap();
}

int DynHotspotsEditor::AddAllTerminalKeys(const KeyDefTable* keyDefs)
{
    if (!table_ || !keyDefs) return 0;
    int added = 0;
    for (const auto& item : *keyDefs) {
        const std::string& name = item.second->GetName();
        if (!name.empty() && table_->Add(name, kHotspotKeyName, TerminalKeySendString(name)) == 0) ++added;
    }
    modified_ = true;
    return added;
}

const HotspotTable& DynHotspotsEditor::Table() const { return table_ ? *table_ : EmptyTable(); }

std::unique_ptr<HotspotTable> DynHotspotsEditor::DetachTable() { return std::move(table_); }
