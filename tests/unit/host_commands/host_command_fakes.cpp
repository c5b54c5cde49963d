#include "host_command_fakes.h"

#include <cstring>

#include "connections/automation_view.h"
#include "connections/connection_dispatch.h"
#include "connections/acl_commands.h"
#include "connections/session_replay.h"
#include "connections/session_services.h"
#include "connections/session_trace.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/dyn_buttons.h"

std::vector<std::string>& HostLog()
{
    static std::vector<std::string> log;
    return log;
}

void LogHost(const std::string& entry) { HostLog().push_back(entry); }

OutsideAnswers& Answers()
{
    static OutsideAnswers answers;
    return answers;
}

namespace {

// The active view as the host commands reach it: action strings are logged.
class ActionLogView final : public AutomationView {
public:
    int RunActionString(const char* text) override
    {
        LogHost("RunActionString " + std::string(text ? text : "(none)") + " 0");
        return 1;
    }
};
ActionLogView actionLogView;

std::string Text(const char* text) { return text ? text : "(none)"; }
std::string Bytes(const void* data, int length)
{
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace

// ---- outside_calls.h

int FakeHostApplication::SetFullScreen(int on)
{
    LogHost("SetFullScreen " + std::to_string(on));
    return on;
}
void FakeHostApplication::ShowCaption(bool on) { LogHost("ShowCaption " + std::to_string(on)); }
void FakeHostApplication::ShowSystemMenu(bool on) { LogHost("ShowSystemMenu " + std::to_string(on)); }
void FakeHostApplication::ShowMinMaxBoxes(bool on) { LogHost("ShowMinMaxBoxes " + std::to_string(on)); }
void FakeHostApplication::ShowFrameControlBar(bool show, int barId)
{
    LogHost("ShowFrameControlBar " + std::to_string(show) + " " + std::to_string(barId));
}
void FakeHostApplication::ToggleMenuBar() { LogHost("ToggleMenuBar"); }
void FakeHostApplication::SendFrameSysCommand(unsigned command)
{
    LogHost("SendFrameSysCommand " + std::to_string(command));
}
void FakeHostApplication::DelayMs(unsigned milliseconds) { LogHost("DelayMs " + std::to_string(milliseconds)); }

std::string FakeHostApplication::GetDocumentString(const char* member)
{
    auto found = Answers().documentStrings.find(member);
    return found == Answers().documentStrings.end() ? std::string() : found->second;
}
void FakeHostApplication::SetDocumentString(const char* member, const std::string& value)
{
    Answers().documentStrings[member] = value;
    LogHost(std::string("SetDocumentString ") + member + " " + value);
}
std::string FakeHostApplication::GetDocumentTitle() { return Answers().documentTitle; }
void FakeHostApplication::RefreshDocumentTitle() { LogHost("RefreshDocumentTitle"); }

bool CreateDynButton(ViewWindow, const int* numbers, int count, const char* text, int isHotspot)
{
    std::string entry = "CreateDynButton";
    for (int i = 0; i < count; ++i) entry += " " + std::to_string(numbers[i]);
    LogHost(entry + " " + Text(text) + " " + std::to_string(isHotspot));
    return true;
}
std::vector<std::string> DynButtonNames() { return Answers().buttonNames; }
int DynButtonHotspotFlag(const std::string& name)
{
    auto found = Answers().buttonHotspotFlags.find(name);
    return found == Answers().buttonHotspotFlags.end() ? 0 : found->second;
}
void DeleteDynButton(const std::string& name)
{
    LogHost("DeleteDynButton " + name);
    auto& names = Answers().buttonNames;
    for (auto it = names.begin(); it != names.end(); ++it) {
        if (*it == name) {
            names.erase(it);
            break;
        }
    }
}

namespace {

// HotScreen, reached through the session's services: installed for the whole test program.
class HotScreenLog final : public SessionServices {
public:
    void HotScreenReload(const char* file) override { LogHost("HotScreenReload " + Text(file)); }
};
HotScreenLog hotScreenLog;
const bool hotScreenLogInstalled = (SetSessionServices(&hotScreenLog), true);

}  // namespace

int OpenPlayFile(const char* file, int64_t start)
{
    LogHost("OpenPlayFile " + Text(file) + " " + std::to_string(start));
    return Answers().openPlayFileResult;
}
void CloseAllPlayFiles() { LogHost("CloseAllPlayFiles"); }
const char* PlayOpenFailureNote() { return ""; }
int ExecuteAclCommand(const char* text)
{
    LogHost("ExecuteAclCommand " + Text(text));
    return Answers().aclResult;
}
int TraceKeyboard(int keyCode, const uint8_t* bytes, int length)
{
    LogHost("TraceKeyboard " + std::to_string(keyCode) + " " + Bytes(bytes, length));
    return 1;
}

// ---- The system.

int FakeHostSystem::WinExec(const char* commandLine, int showMode)
{
    LogHost("WinExec " + std::to_string(showMode) + " " + Text(commandLine));
    return winExecResult;
}

int FakeHostSystem::ShellExecute(ViewWindow, const char* verb, const char* file, const char* parameters,
                                 const char* directory, int showMode)
{
    LogHost("ShellExecute " + std::to_string(showMode) + " " + Text(file) + "|" + Text(verb) + "|" +
            Text(parameters) + "|" + Text(directory));
    return shellExecuteResult;
}

void FakeHostSystem::ShowMainWindow(int showMode) { LogHost("ShowMainWindow " + std::to_string(showMode)); }

bool FakeHostSystem::SetViewTimer(int id, int milliseconds)
{
    LogHost("SetViewTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
    return timersAvailable;
}

void FakeHostSystem::KillViewTimer(int id) { LogHost("KillViewTimer " + std::to_string(id)); }

int FakeHostSystem::MciSend(const char* command, char* reply, int replySize)
{
    LogHost("mci " + Text(command) + " /" + std::to_string(replySize));
    const MciAnswer& answer = mciAnswers[mciCalls < mciAnswers.size() ? mciCalls : mciAnswers.size() - 1];
    ++mciCalls;
    std::strncpy(reply, answer.reply.c_str(), static_cast<std::size_t>(replySize));
    reply[replySize - 1] = '\0';
    return answer.error;
}

bool FakeHostSystem::MciErrorText(int code, char* text, int size)
{
    auto found = mciErrorTexts.find(code);
    if (found == mciErrorTexts.end()) return false;
    std::strncpy(text, found->second.c_str(), static_cast<std::size_t>(size));
    text[size - 1] = '\0';
    return true;
}

// ---- The printers.

bool FakePrintDevice::OpenPrinter(const std::string& name)
{
    LogHost("OpenPrinter " + name);
    printerOpen = openResult;
    return openResult;
}
bool FakePrintDevice::StartRawDocument(const std::string& documentName)
{
    LogHost("StartRawDocument " + documentName);
    return documentResult;
}
bool FakePrintDevice::StartRawPage()
{
    LogHost("StartRawPage");
    return pageResult;
}
int FakePrintDevice::WritePrinter(const uint8_t* bytes, int length)
{
    printed += Bytes(bytes, length);
    return length;
}
bool FakePrintDevice::EndRawPage()
{
    LogHost("EndRawPage");
    return endPageResult;
}
bool FakePrintDevice::EndRawDocument()
{
    LogHost("EndRawDocument");
    return true;
}
void FakePrintDevice::ClosePrinter()
{
    LogHost("ClosePrinter");
    printerOpen = false;
}
bool FakePrintDevice::CreateContext(const std::string& driver, const std::string& device, const std::string& port)
{
    LogHost("CreateContext " + driver + "|" + device + "|" + port);
    context = createResult;
    return createResult;
}
bool FakePrintDevice::SupportsEscape(int escape)
{
    return escape == kEscapePassthrough ? passthrough : escape == kEscapeEpsPrinting ? epsPrinting : false;
}
int FakePrintDevice::Escape(int escape, const void* data, int length)
{
    // A freed context must never be used again.
    if (!context) LogHost("ESCAPE WITHOUT CONTEXT");
    if (escape == kEscapePassthrough) {
        const auto* block = static_cast<const uint8_t*>(data);
        const int count = block[0] | (block[1] << 8);
        LogHost("escape 19 [" + std::to_string(count) + "]" + Bytes(block + 2, length - 2));
        printed += Bytes(block + 2, count);
    } else {
        LogHost("escape " + std::to_string(escape));
    }
    return 1;
}
bool FakePrintDevice::StartContextDocument(const std::string& documentName)
{
    LogHost("StartContextDocument " + documentName);
    return true;
}
void FakePrintDevice::DeleteContext()
{
    LogHost("DeleteContext");
    context = false;
}

void PaneView::SetStatusPane(const char* text, int pane, uint32_t textColor, uint32_t backColor)
{
    LogHost("pane " + std::to_string(pane) + " " + Text(text));
}

int HostTransport::Send(ViewWindow, const uint8_t* bytes, int n)
{
    sent += Bytes(bytes, n);
    return n;
}

HostFakes::HostFakes()
{
    std::memset(Rec, 0, sizeof(SettingsRecord));
    Rec->ComType = kTelnet;
    Rec->AllowDOS = 1;  // as the defaults have it: programs may start
    SetIdentityTables(SessionTranslateTables);
    SetPlatform(&platform);
    SetHostSystem(&system);
    SetHostApplication(&application);
    SetAutomationView(&actionLogView);
    SetPrintDevice(&printers);
    SetViewPort(&view);
    SetTransport(kTelnet, &host);
    HostLog().clear();
    Answers() = OutsideAnswers();
}

HostFakes::~HostFakes()
{
    if (Rec->HostPrintFile) std::fclose(Rec->HostPrintFile);
    Rec->HostPrintFile = nullptr;
    SetTransport(kTelnet, nullptr);
    SetViewPort(nullptr);
    SetPrintDevice(nullptr);
    SetHostApplication(nullptr);
    SetAutomationView(nullptr);
    SetHostSystem(nullptr);
    SetPlatform(nullptr);
}
