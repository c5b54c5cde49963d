#include "shell/win32/keyboard_map_command.h"

#include <cstring>
#include <filesystem>
#include <memory>

#include "dialogs/win32/keyboard_dialogs.h"
#include "session/messages.h"
#include "shell/config_display_commands.h"
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

void KeyboardMapCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
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

    KeyboardMapEdits edits;
    edits.keyMap = keyMap.get();
    edits.keyDefs = keyDefs.get();
    edits.outbound = outbound.get();
    edits.inbound = inbound.get();
    edits.buttonsChanged = dialog.buttonsReloaded != 0;
    edits.keyDefsChanged = dialog.keyDefsChanged != 0;
    edits.keyMapChanged = dialog.keyMapChanged != 0;
    edits.translateChanged = dialog.translateChanged != 0;
    KeyboardMapAfterOk(doc, edits, site);
}
