#include "engine/host_commands/host_commands.h"
#include "engine/host_commands/host_print.h"
#include "engine/vt/vt_hooks.h"

#include <cstdio>

#include "connections/auto_login.h"
#include "connections/connection_dispatch.h"
#include "connections/session_services.h"
#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/dirty_rect.h"
#include "engine/host_commands/command_helpers.h"
#include "engine/host_commands/host_system.h"
#include "engine/host_commands/multimedia.h"
#include "engine/host_commands/host_application.h"
#include "shell/dyn_buttons.h"
#include "engine/ibm3270/outside_hooks.h"

namespace {

std::string captureFileName;

// The string command that CSI 24 y opens: its text runs up to CR and starts at buffer position 2.
constexpr int kAclStringCommand = 38;
constexpr int kAclTextStart = 2;

bool OpensString(int n)
{
    switch (n) {
    case 1: case 2: case 3: case 4: case 7: case 8: case 9: case 10:
    case 13: case 22: case 26: case 28: case 29: case 30: case 31: return true;
    default: return false;
    }
}

// "On" unless the sequence carried a second parameter other than 1.
bool OnUnlessOff(int count, const int* params) { return count < 2 || params[1] == 1; }

void SendReply(ViewWindow window, const std::string& reply)
{
    SendToHost(window, reinterpret_cast<const uint8_t*>(reply.data()), static_cast<int>(reply.size()));
}

// Command 69: every visible cell shows its protection byte as a digit-like character.
void ShowProtectionPlane(SettingsRecord& rec, DirtyRect& dirty)
{
    if (!rec.CharsScreen || !rec.FlagsScreen) return;
    const int cells = rec.MaxRows * rec.MaxCols;
    for (int i = 0; i < cells && i < kScreenCells; ++i) {
        rec.CharsScreen[i] = static_cast<uint8_t>(0x30 + rec.ProtectionPlane[i]);
        rec.FlagsScreen[i] = static_cast<uint8_t>(rec.FlagsScreen[i] & ~kLineDrawingFlag);
    }
    DirtyScreen(rec, dirty);
}

// Command 22's text: controls become blanks, the rest passes the received-character translation.
std::string TitleFromHost(const char* text, SettingsRecord& rec)
{
    std::string title;
    for (const char* p = text; *p; ++p) {
        uint8_t c = static_cast<uint8_t>(*p);
        if (c < 0x20) {
            c = ' ';
        } else {
            int flags = 0;
            int charClass = 0;
            TranslateChar(c, flags, charClass, rec);
            if (c == 0) c = ' ';
        }
        title.push_back(static_cast<char>(c));
    }
    return title;
}

void SetMouseString(const char* member, int count, const int* params, const char* text)
{
    Application().SetDocumentString(member, text);
    if (count >= 1) Rec->EnableSendMousePos = params[0] == 1 ? 1 : 0;
}

}  // namespace

const std::string& CaptureFileName() { return captureFileName; }

std::string VersionReport(int p)
{
    char reply[64];
    if (p == 1) {
        std::snprintf(reply, sizeof reply, "%d%d%d\r", 4, 5, 6);
    } else if (p == 2) {
        std::snprintf(reply, sizeof reply, "%d.%d.%d.3\r", 4, 5, 6);
    } else {
        const uint32_t v = System().WindowsVersion();
        std::snprintf(reply, sizeof reply, "%d.%d %d.%d Win32\r", static_cast<int>(v & 0xFF),
                      static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 24) & 0xFF),
                      static_cast<int>((v >> 16) & 0xFF));
    }
    return reply;
}

void HostCommand(ViewWindow window, SettingsRecord& rec, int count, const int* params, DirtyRect& dirty)
{
    const int n = count >= 1 ? params[0] : 0;
    const bool hasP = count >= 2;
    const int p = hasP ? params[1] : 0;
    if (OpensString(n)) {
        rec.StringCommandNumber = n;
        rec.StringCommandShowMode = hasP ? p : kShowNormal;
        rec.StringCommandLength = 0;
        return;
    }
    switch (n) {
    case 0: rec.ScreenFrozen = 0; break;
    case 5:
    case 6:
        rec.UseHostColor = n == 5 ? 1 : 0;
        UpdateCurrentColors(rec);
        break;
    case 12: rec.ScreenFrozen = 1; break;
    case 14: Application().SetFullScreen(OnUnlessOff(count, params) ? 1 : 0); break;
    case 15: Application().ShowCaption(OnUnlessOff(count, params)); break;
    case 16: Application().ToggleMenuBar(); break;
    case 17: Application().ShowFrameControlBar(OnUnlessOff(count, params), kToolbarBarId); break;
    case 18: Application().ShowFrameControlBar(OnUnlessOff(count, params), kStatusBarBarId); break;
    case 19: Application().ShowSystemMenu(OnUnlessOff(count, params)); break;
    case 20: Application().ShowMinMaxBoxes(OnUnlessOff(count, params)); break;
    case 21: Application().SendFrameSysCommand(hasP ? (static_cast<unsigned>(p) | 0xF000u) : kSysCommandMaximize); break;
    case 23: SendReply(window, VersionReport(p)); break;
    case 24:
        rec.StringCommandNumber = kAclStringCommand;
        rec.StringCommandShowMode = hasP ? p : kShowNormal;
        rec.StringCommandLength = kAclTextStart;
        break;
    case 25: System().ShowMainWindow(hasP ? p : kShowNormal); break;
    case 27: rec.EnableSendMousePos = (!hasP || p == 1) ? 1 : 0; break;
    case 32: rec.PrintToScreenNow = p; break;
    case 69: ShowProtectionPlane(rec, dirty); break;
    default: break;
    }
}

int DoPrivateCommand(ViewWindow window, int number, int count, const int* params, const char* text)
{
    if (!text) text = "";
    SettingsRecord& rec = *Rec;
    switch (number) {
    case 1:
    case 2:
    case 3: WinExecCommand(text, rec.StringCommandShowMode); break;
    case 4: RunMciCommand(text); break;
    case 7: CreateDynButton(window, params, count, HostButtonTexts(text).c_str(), 0); break;
    case 8: DeleteDynButtonsByName(window, params, count, text); break;
    case 9: PlayScriptCommand(window, params, count, text); break;
    case 13: captureFileName = text; break;
    case 22:
        TitleText = TitleFromHost(text, rec);
        Application().RefreshDocumentTitle();
        break;
    case 26: Services().HotScreenReload(text); break;
    case 28: SetMouseString("MouseClick", count, params, text); break;
    case 29: SetMouseString("MouseDoubleClick", count, params, text); break;
    case 30: ShellExecuteCommand(window, rec.StringCommandShowMode, text); break;
    case 31: RunActionString(text); break;
    case kAclStringCommand:
        // The interpreter collects command 38 from buffer position 0 and hands over at least three
        // positions; the command starts at position 2.
        return RunAclCommandText(text + kAclTextStart) ? 1 : 0;
    default: break;
    }
    return 0;
}

void InstallHostCommandHooks()
{
    VtHooks.hostCommand = HostCommand;
    VtHooks.privateCommand = DoPrivateCommand;
    VtHooks.printData = PrintByte;
    VtHooks.startPrintFile = StartCaptureFile;
    Tn3270Hooks.privateCommand = DoPrivateCommand;
    Tn3270Hooks.mciCommand = RunMciCommand;
}
