#include "shell/document_strings.h"

#include <cstring>

#include "shell/record_defaults.h"

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
