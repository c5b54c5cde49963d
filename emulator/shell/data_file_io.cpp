// Loading and saving the per-emulation data files of the session document.
#include <cerrno>
#include <filesystem>
#include <vector>

#include "shell/hotspot_table.h"
#include "shell/key_data_files.h"
#include "session/messages.h"
#include "shell/path_helpers.h"
#include "engine/key_strings.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

namespace {

constexpr const char* kWorkingButtonFile = "default.trc";

int LastError() { return errno ? errno : EIO; }

// Opens for binary reading; a folder does not open (as on the platform, with EACCES).
std::FILE* OpenBinary(const std::string& name)
{
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        errno = EACCES;
        return nullptr;
    }
    return std::fopen(name.c_str(), "rb");
}

bool ReadAll(std::FILE* file, std::string& text)
{
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, n);
    return !std::ferror(file);
}

// Writes the lines; a short write shows the message and stops (or, for the sorted map, ends
// only the pass the line belongs to).
bool WriteLine(std::FILE* file, const std::string& line, int message, const std::string& name)
{
    if (std::fwrite(line.data(), 1, line.size(), file) == line.size()) return true;
    ShowNamedMessage(message, kMsgOk, name);
    return false;
}

}  // namespace

int CZolexDoc::OpenForReading(const std::string& sessionName, const std::string& defaultName,
                              std::FILE** file, std::string& opened, int openMessage)
{
    opened = sessionName;
    errno = 0;
    *file = OpenBinary(opened);
    if (!*file && errno == ENOENT) {
        opened = defaultName;
        errno = 0;
        *file = OpenBinary(opened);
    }
    if (*file) return 0;
    const int error = LastError();
    ShowNamedMessage(openMessage, kMsgOk, opened);
    return error;
}

int CZolexDoc::LoadKeyDefFile(KeyDefTable& table, bool defaultFile)
{
    std::FILE* file = nullptr;
    std::string name;
    const int error = OpenForReading(GetKeyDefFileName(defaultFile), GetKeyDefFileName(true), &file, name, 20);
    if (error) return error;
    std::string text;
    ReadAll(file, text);
    std::fclose(file);
    table.RemoveAllDefs();
    ReadKeyDefText(text, table);
    return 0;
}

int CZolexDoc::SaveKeyDefFile(const std::string& fileName)
{
    errno = 0;
    std::FILE* file = std::fopen(fileName.c_str(), "w");
    if (!file) {
        const int error = LastError();
        ShowNamedMessage(21, kMsgOk, fileName);
        return error;
    }
    int error = 0;
    for (const auto& item : keyDefs) {
        if (!WriteLine(file, KeyDefLine(*item.second), 22, fileName)) {
            error = LastError();
            break;
        }
    }
    if (std::fclose(file) != 0 && !error) error = LastError();
    return error;
}

int CZolexDoc::LoadKeyMapFile(KeyMap& map, bool defaultFile)
{
    std::FILE* file = nullptr;
    std::string name;
    const int error = OpenForReading(GetKeyMapFileName(defaultFile), GetKeyMapFileName(true), &file, name, 18);
    if (error) return error;
    std::string text;
    ReadAll(file, text);
    std::fclose(file);
    map.RemoveAllKeys();
    ReadKeyMapText(text, map);
    RefreshHotspotStrings();
    record->KeyMapHasHold = map.ContainsValue("%hold%") ? 1 : 0;
    return 0;
}

int CZolexDoc::SaveKeyMapFile(const std::string& fileName)
{
    errno = 0;
    std::FILE* file = std::fopen(fileName.c_str(), "w");
    if (!file) {
        const int error = LastError();
        ShowNamedMessage(17, kMsgOk, fileName);
        return error;
    }
    int error = 0;
    if (!record->SortedKeyMapFile) {
        for (const auto& item : keyMap) {
            if (!WriteLine(file, KeyMapLine(*item.second), 23, fileName)) {
                error = LastError();
                break;
            }
        }
    } else {
        // Ascending key numbers, each with its modifier words 0, 0x200 ... 0xE00.
        for (unsigned key = 0; key <= kKeyBits; ++key) {
            for (unsigned modifiers = 0; modifiers <= kModifierBits; modifiers += kShiftBit) {
                for (const auto& item : keyMap) {
                    const KeyMapEntry& entry = *item.second;
                    if ((entry.Code() & kKeyBits) != key || entry.Modifiers() != modifiers) continue;
                    if (!WriteLine(file, KeyMapLine(entry), 23, fileName)) {
                        error = LastError();
                        break;
                    }
                }
            }
        }
    }
    if (std::fclose(file) != 0 && !error) error = LastError();
    record->KeyMapHasHold = keyMap.ContainsValue("%hold%") ? 1 : 0;
    return error;
}

int CZolexDoc::LoadTranslateTables(uint8_t* outgoing, uint8_t* incoming, bool defaultFile)
{
    std::FILE* file = nullptr;
    std::string name;
    const int error =
        OpenForReading(GetTranslateFileName(defaultFile), GetTranslateFileName(true), &file, name, 19);
    if (error) return error;
    int result = 0;
    if (std::fread(outgoing, 1, 256, file) == 0) {
        result = std::ferror(file) ? LastError() : EIO;
        ShowNamedMessage(15, kMsgOk, name);
    } else if (std::fread(incoming, 1, 256, file) == 0) {
        result = std::ferror(file) ? LastError() : EIO;
        ShowNamedMessage(16, kMsgOk, name);
    }
    std::fclose(file);
    return result;
}

int CZolexDoc::SaveTranslateTables(const std::string& fileName)
{
    if (fileName.empty()) return 0;
    errno = 0;
    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (!file) {
        const int error = LastError();
        ShowNamedMessage(25, kMsgOk, fileName);
        return error;
    }
    int error = 0;
    if (std::fwrite(tables->Outgoing, 1, 256, file) != 256 || std::fwrite(tables->Incoming, 1, 256, file) != 256) {
        error = LastError();
        ShowNamedMessage(26, kMsgOk, fileName);
    }
    if (std::fclose(file) != 0 && !error) error = LastError();
    return error;
}

int CZolexDoc::InstallButtonFile(bool defaultFile, bool announce)
{
    std::string source = GetButtonFileName(defaultFile);
    if (!FileReadable(source)) source = GetButtonFileName(true);
    if (source != kWorkingButtonFile) {
        std::error_code sameError;
        const bool same = std::filesystem::equivalent(source, kWorkingButtonFile, sameError);
        if (!same && CopyOrAppendFile(source, kWorkingButtonFile, false) != 0) {
            ShowNamedMessage(47, kMsgOk, kWorkingButtonFile);
            return EIO;
        }
        strings.ActiveButtonFile = kWorkingButtonFile;
    }
    if (announce && Site()) {
        Site()->PostCommand(32807);  // Clear Hotspots
        Site()->PostCommand(32812);  // Function Buttons
    }
    return 0;
}

int CZolexDoc::DefineTerminalKey(const std::string& name, const std::string& text)
{
    if (name.empty() || text.size() < 2) return 0;
    if (text.size() == 2) {
        if (text != "\"\"") return 0;
        keyDefs.RemoveKey(name);
    } else {
        keyDefs.SetAt(std::make_unique<KeyDefEntry>(name, text));
    }
    RefreshHotspotStrings();
    return 1;
}

void CZolexDoc::RefreshHotspotStrings()
{
    if (DynHotspots) DynHotspots->ResolveAll();
}
