#include "engine/host_commands/command_helpers.h"

#include <cstring>

#include "connections/acl_commands.h"
#include "connections/session_replay.h"
#include "engine/host_commands/host_system.h"
#include "engine/host_commands/host_application.h"
#include "engine/host_commands/message_text.h"
#include "session/program_gate.h"
#include "shell/dyn_buttons.h"

namespace {

constexpr int kMessageOutOfTimers = 72;
constexpr int kMessagePlayFailed = 45;
constexpr const char* kOutOfTimersText =
    "Out of System Timers.\nUnable to run timer-dependant tasks.\nQuit one or more other applications and then retry.";

}  // namespace

int WinExecCommand(const char* text, int showMode)
{
    // Refused quietly while the administrator's switches forbid programs: to the host it looks
    // like a start that failed.
    if (!ProgramsMayStart(*Rec)) return kProgramStartRefused;
    const int result = System().WinExec(text, showMode);
    if (result < 32) ShowFormatted(0, "WinExec \"%s\" failed; error code = %d", text, result);
    return result;
}

ShellExecuteItems SplitShellExecuteText(const char* text)
{
    ShellExecuteItems items;
    if (!text) return items;
    const char* p = text;
    items.present = 1;
    for (int i = 0; i < 3; ++i) {
        const char* cut = std::strchr(p, ';');
        if (!cut) {
            items.item[i] = p;
            return items;
        }
        items.item[i].assign(p, static_cast<std::size_t>(cut - p));
        p = cut + 1;
        items.present = i + 2;
    }
    items.item[3] = p;
    return items;
}

int ShellExecuteCommand(ViewWindow window, int showMode, const char* text)
{
    const ShellExecuteItems items = SplitShellExecuteText(text);
    const int result =
        System().ShellExecute(window, items.Verb(), items.File(), items.Parameters(), items.Directory(), showMode);
    if (result <= 32) ShowFormatted(0, "ShellExecute() error: %d", result);
    return result;
}

int PlayScriptCommand(ViewWindow window, const int* numbers, int count, const char* text)
{
    if (!System().HasView()) return 0;
    const std::string file = text && *text ? std::string(text) : Application().GetDocumentString("TraceFile");
    if (!OpenPlayFile(file.c_str(), 0)) {
        ShowFormatted(kMessagePlayFailed, "Failed to play file: %s%s", file.c_str(), PlayOpenFailureNote());
        return 0;
    }
    if (!System().SetViewTimer(kPlaybackTimer, 1)) {
        ShowFormatted(kMessageOutOfTimers, "%s", kOutOfTimersText);
        CloseAllPlayFiles();
        return 0;
    }
    return 1;
}

int RunAclCommandText(const char* text)
{
    if (!System().HasView()) return 0;
    return ExecuteAclCommand(text ? text : "");
}

bool ButtonNameMatches(const char* pattern, const char* name)
{
    for (std::size_t i = 0;; ++i) {
        const char p = pattern[i];
        if (p == '*' || p == '\0') return true;
        if (name[i] == '\0') return false;
        if (p != '?' && p != name[i]) return false;
    }
}

int DeleteDynButtonsByName(ViewWindow window, const int* numbers, int count, const char* text)
{
    if (!text) return 1;
    if (std::strpbrk(text, "*?")) {
        for (const std::string& name : DynButtonNames())
            if (ButtonNameMatches(text, name.c_str())) DeleteDynButton(name);
        return 1;
    }
    for (const std::string& name : DynButtonNames()) {
        if (name == text) {
            DeleteDynButton(name);
            break;
        }
    }
    return 1;
}

int DeleteDynButtonsById(int flag)
{
    for (const std::string& name : DynButtonNames())
        if (DynButtonHotspotFlag(name) == flag) DeleteDynButton(name);
    return 1;
}
