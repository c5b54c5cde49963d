// The names of the per-emulation data files: the session's own or the emulation's default.
#include <cstdio>

#include "shell/path_helpers.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

namespace {

struct EmulationFiles {
    const char* key;
    const char* map;
    const char* buttons;
};

// "zldec" rows go by platform: 1 SCO, 6 DEC UNIX, 10 Linux, any other plain.
std::string DecByPlatform(int platform, const char* extension)
{
    const char* stem = platform == 1 ? "zldecsco" : platform == 6 ? "zldecdec" : platform == 10 ? "zldeclin" : "zldec";
    return std::string(stem) + "." + extension;
}

void DefaultNames(const SettingsRecord& rec, std::string& key, std::string& map, std::string& buttons)
{
    EmulationFiles files{"zldec.key", nullptr, nullptr};
    if (rec.TerminalFamily3270) {
        files = {"zl3270.key", "zl3270.map", "zl3270.but"};
    } else {
        switch (rec.Terminal) {
        case 4:
        case 6: files = {"zlsco.key", "zlsco.map", "zlatt.but"}; break;
        case 5: files = {"zlatt.key", "zlatt.map", "zlatt.but"}; break;
        case 7: files = {"zldumb.key", "zldumb.map", "zldumb.but"}; break;
        case 11: files = {"zladds.key", "zladds.map", "zladds.but"}; break;
        case 8:
        case 9:
        case 12: files = {"zlwyse.key", "zlwyse.map", "zlwyse.but"}; break;
        case 3: files = {"zldec.key", "zldectm2.map", "zldectm2.but"}; break;
        default: break;
        }
    }
    key = files.key;
    map = files.map ? files.map : DecByPlatform(rec.Platform, "map");
    buttons = files.buttons ? files.buttons : DecByPlatform(rec.Platform, "but");
}

}  // namespace

std::string CZolexDoc::GetKeyDefFileName(bool defaultFile) const
{
    if (defaultFile) {
        std::string key, map, buttons;
        DefaultNames(*record, key, map, buttons);
        return ProgramFolder() + key;
    }
    return record->AutonameFiles ? ReplaceExtension(GetPathName(), "key") : strings.TerminalKeyDef;
}

std::string CZolexDoc::GetKeyMapFileName(bool defaultFile) const
{
    if (defaultFile) {
        std::string key, map, buttons;
        DefaultNames(*record, key, map, buttons);
        return ProgramFolder() + map;
    }
    return record->AutonameFiles ? ReplaceExtension(GetPathName(), "map") : strings.KeyboardMap;
}

std::string CZolexDoc::GetTranslateFileName(bool defaultFile) const
{
    if (!defaultFile) return record->AutonameFiles ? ReplaceExtension(GetPathName(), "xlt") : strings.Translate;
    if (record->Charset == 2) return ProgramFolder() + "DECMULTI";
    if (record->Charset == 1) {
        char name[32];
        std::snprintf(name, sizeof name, "DECNRC.%03d", record->Country);
        return ProgramFolder() + name;
    }
    return ProgramFolder() + "zlansi.xlt";
}

std::string CZolexDoc::GetButtonFileName(bool defaultFile) const
{
    if (defaultFile) {
        std::string key, map, buttons;
        DefaultNames(*record, key, map, buttons);
        return ProgramFolder() + buttons;
    }
    const std::string candidate =
        record->AutonameFiles ? ReplaceExtension(GetPathName(), "but") : strings.ButtonFile;
    if (Startup.NewConfiguration[0] || FileReadable(candidate)) return candidate;
    const std::string fallback = ProgramFolder() + "default.trc";
    return FileReadable(fallback) ? fallback : "";
}

std::string CZolexDoc::GetDynHotspotFileName(bool defaultFile) const
{
    if (defaultFile) return ProgramFolder() + "tolvi.dyn";
    return record->AutonameFiles ? ReplaceExtension(GetPathName(), "dyn") : strings.DynHotspotFile;
}

std::string CZolexDoc::GetHotScreenFileName(bool defaultFile) const
{
    if (defaultFile) return ProgramFolder() + "tolvi.hot";
    if (!record->AutonameFiles || HotOptionGiven) return ProgramFolder() + strings.HotScreenFile;
    return ReplaceExtension(GetPathName(), "hot");
}
