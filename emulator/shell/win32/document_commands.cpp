#include "shell/win32/document_commands.h"

#include <shellapi.h>

#include <vector>

#include "connections/session_trace.h"
#include "connections/transfer_driver.h"
#include "dialogs/win32/title_dialog.h"
#include "fw_app.h"
#include "fw_frame.h"
#include "resource_ids.h"
#include "session/messages.h"
#include "session/session_record.h"
#include "shell/command_rules.h"
#include "shell/session_commands.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"
#include "shell/win32/app_helpers.h"

namespace {

constexpr int kTraceCreateFailed = 27;
constexpr int kAskSaveForOneMore = 88;
constexpr int kAskResetToDefault = 70;

class Win32ProgramFolder final : public ProgramFolderOps {
public:
    bool CurrentFolder(std::string& folder, int& error) override
    {
        const DWORD size = GetCurrentDirectoryA(0, nullptr);
        std::vector<char> text(size + 1);
        const DWORD got = size ? GetCurrentDirectoryA(static_cast<DWORD>(text.size()), text.data()) : 0;
        if (got == 0 || got >= text.size()) {
            error = static_cast<int>(GetLastError());
            return false;
        }
        folder.assign(text.data(), got);
        return true;
    }
    bool ChangeFolder(const std::string& folder) override { return SetCurrentDirectoryA(folder.c_str()) != FALSE; }
    int Start(const std::string& commandLine) override
    {
        return static_cast<int>(WinExec(commandLine.c_str(), SW_SHOW));
    }
};

}  // namespace

void OneMoreCommand(CZolexDoc& doc, HWND frame)
{
    if (doc.IsModified()) {
        const int answer = ShowMessage(kAskSaveForOneMore, kMsgYesNoCancel | kMsgIconQuestion, nullptr);
        if (answer == kAnswerCancel) return;
        if (answer == kAnswerYes) {
            SendMessageA(frame, WM_COMMAND, ID_FILE_SAVE, 0);
            // Not saved (refused or failed): the new session would get the old file.
            if (doc.IsModified()) return;
        }
    }
    CTitleDlg dialog(frame);
    if (dialog.DoModal() != IDOK) return;
    const std::string line = OneMoreCommandLine(Startup.ProgramPath, doc.GetPathName(), dialog.title,
                                                Startup.CommandTokenCount, Startup.CommandTokens);
    const UINT result = WinExec(line.c_str(), SW_SHOW);
    if (result < 32) ShowMessage(0, kMsgOk | kMsgIconStop, "WinExec() error: %d", static_cast<int>(result));
}

void FileTransferCommand(CZolexDoc& doc, HWND frame)
{
    const SettingsRecord& rec = *doc.record;
    if (ChooseFileTransferWay(rec.XferType, rec.ComType) == FileTransferWay::kProtocolTransfer) {
        PostMessageA(frame, WM_COMMAND, kKermitTransferCommandId, 0);
        return;
    }
    Win32ProgramFolder folders;
    RunFileTransferProgram(folders, doc.strings.FtpCommand, doc.strings.FtpDirectory);
}

void ResetToDefaultCommand(HWND frame)
{
    if (ShowMessage(kAskResetToDefault, kMsgYesNo | kMsgIconQuestion, nullptr) == kAnswerYes)
        PostMessageA(frame, WM_COMMAND, ID_FILE_NEW, 0);
}

void NewDefaultsCommand(CZolexDoc& doc, HWND frame)
{
    if (!doc.SaveModified()) return;
    doc.OnNewDocument();
    // The defaults may change the screen, the font and the menu's language.
    FrameRefitPending = 1;
    if (doc.Site()) doc.Site()->UpdateAllViews();
    PostMessageA(frame, WM_USER + 107, 0, 0);
}

void RecordCommCommand(CZolexDoc& doc)
{
    if (doc.record->Recording) {
        CloseTraceFile();
        return;
    }
    const std::string& name = doc.strings.TraceFile;
    if (!OpenTraceFile(name.c_str())) ShowNamedMessage(kTraceCreateFailed, kMsgOk | kMsgIconStop, name);
}

void OpenHelpDocument(HWND frame, const std::string& name)
{
    const std::string path = ProgramFolder() + name;
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(frame, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result < 32) ShowMessage(0, kMsgOk | kMsgIconStop, "ShellExecute() error: %d", static_cast<int>(result));
}

void InstallDocumentCommands(FwFrameWnd& frame, CZolexDoc& doc)
{
    static_assert(kCmdOneMoreSession == ID_ONE_MORE && kCmdResetToDefault == ID_CONFIG_RESET &&
                      kCmdRecordComm == ID_RECORD_COMM && kCmdProgrammersGuide == ID_HELP_PROGREF &&
                      kCmdReleaseNotes == ID_HELP_README && kCmdNewDefaults == ID_FILE_NEW &&
                      kCmdFileTransfer == ID_FILE_TRANSFER && kCmdSaveConfig == ID_FILE_SAVE &&
                      kCmdRecentFirst == ID_FILE_MRU_FIRST && kCmdKeyboardMap == ID_CONFIG_KEYBOARD_MAP,
                  "the rules' command ids are the menus'");
    CZolexDoc* d = &doc;
    FwFrameWnd* f = &frame;
    frame.OnCommand(ID_ONE_MORE, [d, f] { OneMoreCommand(*d, f->Handle()); });
    frame.OnCommand(ID_FILE_TRANSFER, [d, f] { FileTransferCommand(*d, f->Handle()); });
    frame.OnCommand(ID_CONFIG_RESET, [f] { ResetToDefaultCommand(f->Handle()); });
    frame.OnCommand(ID_FILE_NEW, [d, f] { NewDefaultsCommand(*d, f->Handle()); });
    frame.OnCommand(ID_RECORD_COMM, [d] { RecordCommCommand(*d); });
    frame.OnCommand(ID_HELP_PROGREF, [f] { OpenHelpDocument(f->Handle(), "progref.wri"); });
    frame.OnCommand(ID_HELP_README, [f] { OpenHelpDocument(f->Handle(), "readme.txt"); });

    for (std::size_t i = 0; i < kDocumentCommandRuleCount; ++i) {
        const DocumentCommandRule entry = kDocumentCommandRules[i];
        frame.OnUpdate(entry.id, [d, f, entry](FwCmdUI& ui) {
            DocumentCommandState state;
            if (entry.id == kCmdOneMoreSession) state.instances = CountInstances(nullptr);
            if (entry.id >= kCmdRecentFirst && entry.id <= kCmdRecentLast) {
                const FwApp* app = FwGetApp();
                state.recentEntry = app && static_cast<std::size_t>(entry.id - kCmdRecentFirst) < app->recentFiles.Files().size();
            }
            const CommandRule rule = entry.rule(*d->record, state);
            ui.Enable(rule.enabled && f->HasCommandHandler(entry.id));
            if (rule.checked >= 0) ui.SetCheck(rule.checked);
        });
    }
}
