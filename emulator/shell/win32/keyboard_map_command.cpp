#include "shell/win32/keyboard_map_command.h"

#include <cstring>
#include <filesystem>
#include <memory>

#include "dialogs/win32/keyboard_dialogs.h"
#include "session/messages.h"
#include "shell/hotspot_table.h"
#include "shell/session_document.h"

namespace {

// The session's per-emulation default files, each read into the fresh table it is given.
class DocumentKeyFiles final : public KeyTableFiles {
public:
    explicit DocumentKeyFiles(CZolexDoc& doc) : doc_(doc) {}

    std::string DefaultKeyMapFile() override { return doc_.GetKeyMapFileName(true); }
    bool LoadDefaultKeyMap(KeyMap& fresh) override { return doc_.LoadKeyMapFile(fresh, true) == 0; }
    std::string DefaultKeyDefFile() override { return doc_.GetKeyDefFileName(true); }
    bool LoadDefaultKeyDefs(KeyDefTable& fresh) override { return doc_.LoadKeyDefFile(fresh, true) == 0; }
    std::string DefaultTranslateFile() override { return doc_.GetTranslateFileName(true); }
    bool LoadDefaultTranslate(uint8_t* outbound, uint8_t* inbound) override
    {
        // Both tables whole, or neither: a short file is reported like an unreadable one.
        const std::string name = DefaultTranslateFile();
        std::error_code error;
        const auto size = std::filesystem::file_size(name, error);
        if (!error && size < 512) {
            ShowNamedMessage(size < 256 ? 15 : 16, kMsgOk, name);
            return false;
        }
        return doc_.LoadTranslateTables(outbound, inbound, true) == 0;
    }
    std::string DefaultButtonFile() override { return doc_.GetButtonFileName(true); }
    bool InstallDefaultButtons() override { return doc_.InstallButtonFile(true, true) == 0; }

private:
    CZolexDoc& doc_;
};

}  // namespace

void KeyboardMapCommand(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    auto keyMap = std::make_unique<KeyMap>();
    keyMap->CopyFrom(doc.keyMap);
    auto keyDefs = std::make_unique<KeyDefTable>();
    keyDefs->CopyFrom(doc.keyDefs);
    auto outbound = std::make_unique<uint8_t[]>(256);
    auto inbound = std::make_unique<uint8_t[]>(256);
    std::memcpy(outbound.get(), doc.tables->Outgoing, 256);
    std::memcpy(inbound.get(), doc.tables->Incoming, 256);

    // The map loader sets the hold-key flag from the map it read: a default read into the working
    // copy must not change the session's.
    const int32_t hold = rec.KeyMapHasHold;
    DocumentKeyFiles files(doc);
    CKeyboardMapDlg dialog(owner, *keyMap, *keyDefs, outbound.get(), inbound.get(), files, rec.DisplayMirror,
                           rec.DisplayFormat);
    const int result = dialog.DoModal();
    rec.KeyMapHasHold = hold;
    if (result != IDOK) return;

    if (dialog.buttonsReloaded) doc.ButtonsChanged = 1;
    if (dialog.keyDefsChanged) {
        doc.keyDefs.RemoveAllDefs();
        doc.keyDefs.CopyFrom(*keyDefs);
        doc.KeyDefChanged = 1;
    }
    if (dialog.keyMapChanged) {
        doc.keyMap.RemoveAllKeys();
        doc.keyMap.CopyFrom(*keyMap);
        rec.KeyMapHasHold = doc.keyMap.ContainsValue("%hold%") ? 1 : 0;
        doc.KeyMapChanged = 1;
    }
    if (dialog.translateChanged) {
        std::memcpy(doc.tables->Outgoing, outbound.get(), 256);
        std::memcpy(doc.tables->Incoming, inbound.get(), 256);
        doc.TranslateChanged = 1;
    }
    if (dialog.keyMapChanged || dialog.keyDefsChanged) {
        doc.RefreshHotspotStrings();
        if (DynHotspots) doc.HotspotsChanged = 1;
    }
    if (dialog.keyMapChanged || dialog.keyDefsChanged || dialog.translateChanged || dialog.buttonsReloaded)
        doc.SetModifiedFlag(true);
    if (doc.Site()) doc.Site()->UpdateAllViews();
}
