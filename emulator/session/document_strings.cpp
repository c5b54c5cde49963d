#include "session/document_strings.h"

#include <cstring>

namespace {

struct Member {
    const char* name;
    std::string DocumentStrings::*field;
};

#define MEMBER(m) {#m, &DocumentStrings::m}
constexpr Member kMembers[] = {
    MEMBER(TerminalKeyDef), MEMBER(KeyboardMap), MEMBER(Translate), MEMBER(CaptureFile),
    MEMBER(DynHotspotFile), MEMBER(HotScreenFile), MEMBER(ButtonFile), MEMBER(FtpCommand),
    MEMBER(FtpDirectory), MEMBER(MouseClick), MEMBER(MouseDoubleClick), MEMBER(AxDirectory),
    MEMBER(StartupFile), MEMBER(TraceFile), MEMBER(AppName), MEMBER(MsgExit),
    MEMBER(AutoHost0), MEMBER(AutoHost1), MEMBER(AutoHost2), MEMBER(AutoHost3),
    MEMBER(AutoHost4), MEMBER(AutoHost5), MEMBER(AutoHost6),
    MEMBER(AutoUser0), MEMBER(AutoUser1), MEMBER(AutoUser2), MEMBER(AutoUser3),
    MEMBER(AutoUser4), MEMBER(AutoUser5), MEMBER(AutoUser6),
    MEMBER(Printer1), MEMBER(Printer2), MEMBER(Printer3),
    MEMBER(LockPassword), MEMBER(ScreenDumpFont), MEMBER(AppNameShown), MEMBER(ActiveButtonFile),
};
#undef MEMBER

}  // namespace

std::string* FindDocumentString(DocumentStrings& strings, const char* member)
{
    if (!member) return nullptr;
    for (const auto& m : kMembers) {
        if (std::strcmp(m.name, member) == 0) return &(strings.*m.field);
    }
    return nullptr;
}

void ApplyDocumentStringDefaults(DocumentStrings& strings)
{
    for (std::size_t i = 0; i < DocumentStringDefaultCount; ++i) {
        const DocumentStringDefault& d = DocumentStringDefaults[i];
        if (!d.value) continue;
        if (std::string* field = FindDocumentString(strings, d.member)) *field = d.value;
    }
}

const DocumentStringDefault DocumentStringDefaults[] = {
    {"TerminalKeyDef", nullptr, "TerminalKeyDef", "tolvi.key", 0, false, false},
    {"KeyboardMap", nullptr, "KeyboardMap", "tolvi.map", 0, false, false},
    {"Translate", nullptr, "Translate", "tolvi.xlt", 0, false, false},
    {"CaptureFile", nullptr, "CaptureFile", "tolvi.cap", 0, false, false},
    {"DynHotspotFile", nullptr, nullptr, "tolvi.dyn", 0, false, false},
    {"HotScreenFile", nullptr, nullptr, "tolvi.hot", 0, false, false},
    {"ButtonFile", nullptr, nullptr, "tolvi.but", 0, false, false},
    {"FtpCommand", nullptr, "FtpCommand", "tolviftp.exe", 3002, false, false},
    {"FtpDirectory", nullptr, "FtpDirectory", nullptr, 0, false, false},
    {"MouseClick", nullptr, "MouseClick", "<esc>[%row%;%col%H", 3000, false, false},
    {"MouseDoubleClick", nullptr, "MouseDoubleClick", "<esc>[%row%;%col%H", 3001, false, false},
    {"AxDirectory", nullptr, "AxDirectory", nullptr, 0, false, false},
    {"StartupFile", nullptr, "StartupFile", "startup.trc", 0, false, false},
    {"TraceFile", nullptr, "TraceFile", "tolvi.trc", 0, false, false},
    // The application title ("Tolvi") followed by " - ".
    {"AppName", nullptr, "AppName", "Tolvi - ", 0, false, false},
    {"MsgExit", nullptr, "MsgExit", "Do you want to disconnect this session and exit ?", 55, true,
     false},
    {"AutoHost0", nullptr, "AutoHost0", "", 0, true, false},
    {"AutoHost1", nullptr, "AutoHost1", "ogin:", 0, true, false},
    {"AutoHost2", nullptr, "AutoHost2", "ord:", 0, true, false},
    {"AutoHost3", nullptr, "AutoHost3", "", 0, true, false},
    {"AutoHost4", nullptr, "AutoHost4", "", 0, true, false},
    {"AutoHost5", nullptr, "AutoHost5", "", 0, true, false},
    {"AutoHost6", nullptr, "AutoHost6", "", 0, true, false},
    {"AutoUser0", nullptr, "AutoUser0", "", 0, true, false},
    {"AutoUser1", nullptr, "AutoUser1", "%pluser%", 0, true, false},
    {"AutoUser2", nullptr, "AutoUser2", "", 0, true, true},
    {"AutoUser3", nullptr, "AutoUser3", "", 0, true, false},
    {"AutoUser4", nullptr, "AutoUser4", "", 0, true, false},
    {"AutoUser5", nullptr, "AutoUser5", "", 0, true, false},
    {"AutoUser6", nullptr, "AutoUser6", "", 0, true, false},
    {"Printer1", nullptr, "Printer1", "Windows Default Printer", 80, false, false},
    {"Printer2", nullptr, "Printer2", "Windows Default Printer", 80, false, false},
    {"Printer3", nullptr, "Printer3", "Windows Default Printer", 80, false, false},
    {"LockPassword", "LockSettings", "LockPassword", "", 0, false, true},
    {"ScreenDumpFont", nullptr, "ScreenDumpFont", "Courier New", 3003, false, false},
};

const std::size_t DocumentStringDefaultCount =
    sizeof DocumentStringDefaults / sizeof DocumentStringDefaults[0];

const DocumentStringDefault* FindDocumentStringDefault(const char* member)
{
    if (!member) return nullptr;
    for (std::size_t i = 0; i < DocumentStringDefaultCount; ++i) {
        if (std::strcmp(DocumentStringDefaults[i].member, member) == 0) return &DocumentStringDefaults[i];
    }
    return nullptr;
}
