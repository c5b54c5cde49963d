// The command-line options, applied once by the first document.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session/messages.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

namespace {

enum OptionId {
    kTerm = 2700, kTport = 2701, kTdef = 2702, kIp = 2703, kHtype = 2704, kHost = 2705, kUser = 2706,
    kPw = 2707, kAh1 = 2708, kAh2 = 2709, kTitle = 2710, kCs = 2711, kConnect = 2712, kRecord = 2713,
    kTrace = 2714, kPlay = 2715, kUntrace = 2716, kAh0 = 2717, kAh3 = 2718, kAh4 = 2719,
    kService = 2720, kProgram = 2721, kSection = 2722, kAh5 = 2723, kAh6 = 2724, kSection2 = 2725,
    kSection3 = 2726, kHot = 2727,
};

struct TerminalWord {
    const char* word;
    int emulation;
};

// The last word of each terminal name and its emulation code.
constexpr TerminalWord kTerminalWords[] = {
    {"viewpoint", 11}, {"vt100", 1}, {"vt220", 2}, {"vt320", 10}, {"tm220", 3}, {"ansi", 4},
    {"at386", 5}, {"uterm", 6}, {"dumb", 7}, {"wyse50", 12}, {"wyse60", 8},
};

bool SameWord(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

// "%i": an optional sign, then decimal, octal (leading 0) or hexadecimal (0x). False without digits.
bool ScanInteger(const std::string& text, long& value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    value = std::strtol(start, &end, 0);
    return end != start;
}

std::string Limited(const std::string& value, std::size_t limit) { return value.substr(0, limit); }

}  // namespace

int CZolexDoc::ApplyCommandLine()
{
    SettingsRecord& rec = *record;
    bool reloadDefaults = false;
    std::string name, value;
    for (;;) {
        const int id = NextOption(Startup.CommandTokenCount, Startup.CommandTokens, kCommandOptions,
                                  kCommandOptionCount, name, value, Startup.OptionCursor);
        if (id == 0) return 0;
        Startup.NewConfiguration[0] = false;
        if (value.empty() && id != kTdef && id != kConnect) {
            ShowMessage(75, kMsgOk | kMsgIconStop, "/%s", name.c_str());
            Startup.StartupFailed = true;
            return -1;
        }
        bool accepted = true;
        long number = 0;
        auto autoLogin = [&](std::string& field) {
            field = Limited(value, kDocumentStringLimit);
            rec.AutoLogin = 1;
        };
        switch (id) {
        case kTerm:
            accepted = false;
            for (const auto& t : kTerminalWords) {
                if (SameWord(value, t.word)) {
                    rec.Terminal = t.emulation;
                    accepted = true;
                    break;
                }
            }
            break;
        case kTport:
            accepted = ScanInteger(value, number);
            if (accepted) rec.TelnetPort = static_cast<int>(number & 0xFFFF);
            break;
        case kTdef: reloadDefaults = true; break;
        case kIp:
            rec.ComType = 2;
            [[fallthrough]];
        case kHost:
            std::snprintf(rec.HostName, sizeof rec.HostName, "%s", Limited(value, sizeof rec.HostName - 1).c_str());
            break;
        case kHtype:
            accepted = ScanInteger(value, number) && (number & 0xFFFF) >= 1 && (number & 0xFFFF) <= 10;
            if (accepted) rec.Platform = static_cast<int>(number & 0xFFFF);
            break;
        case kCs:
            accepted = ScanInteger(value, number) && (number & 0xFFFF) >= 1 && (number & 0xFFFF) <= 4;
            if (accepted) rec.Charset = static_cast<int>(number & 0xFFFF);
            break;
        case kUser: autoLogin(strings.AutoUser1); break;
        case kPw: autoLogin(strings.AutoUser2); break;
        case kAh0: autoLogin(strings.AutoHost0); break;
        case kAh1: autoLogin(strings.AutoHost1); break;
        case kAh2: autoLogin(strings.AutoHost2); break;
        case kAh3: autoLogin(strings.AutoHost3); break;
        case kAh4: autoLogin(strings.AutoHost4); break;
        case kAh5: autoLogin(strings.AutoHost5); break;
        case kAh6: autoLogin(strings.AutoHost6); break;
        case kService: autoLogin(strings.AutoUser0); break;
        case kProgram: autoLogin(strings.AutoUser3); break;
        case kSection: autoLogin(strings.AutoUser4); break;
        case kSection2: autoLogin(strings.AutoUser5); break;
        case kSection3: autoLogin(strings.AutoUser6); break;
        case kTitle:
            TitleText = value;
            SetTitle(nullptr);
            break;
        case kConnect: rec.AutoConnect = 1; break;
        case kRecord:
        case kTrace:
            strings.TraceFile = Limited(value, kDocumentStringLimit);
            Startup.RecordAtStartup = true;
            break;
        case kPlay:
        case kUntrace:
            strings.TraceFile = Limited(value, kDocumentStringLimit);
            Startup.PlayAtStartup = true;
            break;
        case kHot:
            strings.HotScreenFile = Limited(value, kDocumentStringLimit);
            HotOptionGiven = true;
            break;
        default: accepted = false; break;
        }
        if (!accepted) {
            ShowMessage(76, kMsgOk | kMsgIconStop, "/%s:\"%s\"", name.c_str(), value.c_str());
            Startup.StartupFailed = true;
            return -1;
        }
        if (reloadDefaults) ReloadEmulationDefaults();
    }
}

void CZolexDoc::ReloadEmulationDefaults()
{
    LoadKeyDefFile(keyDefs, true);
    KeyDefChanged = 1;
    LoadKeyMapFile(keyMap, true);
    KeyMapChanged = 1;
    RefreshHotspotStrings();
    LoadTranslateTables(tables->Outgoing, tables->Incoming, true);
    TranslateChanged = 1;
    if (InstallButtonFile(true, true) != 0) ButtonsChanged = 1;
}
