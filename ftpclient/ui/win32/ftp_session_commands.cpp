// The session commands of the main view: connecting and logging on, the site, log-on and
// general settings dialogs, disconnecting and aborting, the walks that send, receive and delete
// the selected entries, and the directory commands of both sides.
#include <cerrno>
#include <cstdio>
#include <direct.h>
#include <functional>
#include <io.h>

#include "char_translation.h"
#include "ftp_api.h"
#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_general_dialog.h"
#include "ftp_keyin_dialog.h"
#include "ftp_main_frame.h"
#include "ftp_site_dialog.h"
#include "ftp_views.h"
#include "fw_dialog.h"
#include "tolviftp_ids.h"
#include "transfer_walk.h"
#include "window_ftp_host.h"

namespace {

constexpr int kSiteConnect = IDC_SITE_CONNECT;

void Beep() { MessageBeep(MB_ICONEXCLAMATION); }

// A walk's steps as functions of the view.
class ViewSteps : public WalkSteps {
public:
    std::function<bool()> connected;
    std::function<void()> connect;
    std::function<bool(std::string&, FileEntryKind&)> next;
    std::function<int(const std::string&, FileEntryKind)> one;

    bool Connected() override { return connected(); }
    void Connect() override { connect(); }
    bool Next(std::string& name, FileEntryKind& kind) override { return next(name, kind); }
    int One(const std::string& name, FileEntryKind kind) override { return one(name, kind); }
};

// The next selected file of a list (drive lines, "[..]" and directories are passed over).
bool NextFile(int (FtpDocument::*next)(std::string&, FileEntryKind&), FtpDocument& doc, std::string& name,
              FileEntryKind& kind)
{
    while ((doc.*next)(name, kind) >= 0)
        if (kind == FileEntryKind::kFile)
            return true;
    return false;
}

}  // namespace

void FtpMainView::RefreshView(FtpViewKind kind, int command) { Doc().SendToView(kind, WM_COMMAND, command, 0); }

bool FtpMainView::Ask(const std::string& prompt, std::string& value)
{
    std::string shown = prompt;
    HWND owner = Frame() ? Frame()->Handle() : Handle();
    return PromptForValue(owner, shown, value, prompt.find("ssword") != std::string::npos) == IDOK;
}

int FtpMainView::SiteApply(const std::string& name)
{
    const int number = sites_.FindByName(name);
    if (number < 0)
        return -1;
    site_ = sites_.Read(number);
    siteNumber_ = number;
    siteLoaded_ = 1;
    if (!site_.localDirectory.empty())
        Doc().SetLocalDirectory(site_.localDirectory);
    return number;
}

int FtpMainView::ConnectAndLogin()
{
    if (!scripts_->syntaxTest) {
        const int started = StartApi();
        if (started != 0)
            return started;
    }
    ConnectionLost();
    if (connected_ && site_.host == lastHost_ && site_.user == lastUser_ && site_.password == lastPassword_)
        return -2;
    if (connected_)
        FtpClose();
    SetConnected(false);
    if (site_.host.empty() && !Ask(LoadLocalString(3008), site_.host))
        return -1;
    if (site_.user.empty() && !Ask(site_.host + LoadLocalString(3010), site_.user))
        return -1;
    if (site_.password.empty() && !Ask(site_.user + LoadLocalString(3012), site_.password))
        return -1;
    const std::string password = LoginPassword(site_.password);
    if (Frame())
        static_cast<FtpMainFrame*>(Frame())->SetDocumentTitle(
            scripts_->Running() ? site_.host + " " + scripts_->scriptPath : site_.host);
    LogStringId(3013, site_.host.c_str());
    const int result = FtpLogin(site_.host.c_str(), site_.user.c_str(), password.c_str());
    if (result != 0) {
        LogStringId(3015, result, FtpErrorText(result));
        if (ExitRequested && Frame())
            PostMessageA(Frame()->Handle(), WM_CLOSE, 0, 0);
        return result;
    }
    LogStringId(3036);
    SetConnected(true);
    lastHost_ = site_.host;
    lastUser_ = site_.user;
    lastPassword_ = site_.password;
    SetTranslate(site_.translate);
    if (site_.translate) {
        SetRemoteCharset(site_.charset);
        SetLocalCharset(site_.localCharset);
    }
    FtpDocument& doc = Doc();
    doc.SetLocalShow(site_.localShowDir);
    doc.SetRemoteShow(site_.showDir);
    if (!site_.localDirectory.empty())
        doc.SetLocalDirectory(site_.localDirectory);
    if (!site_.remoteDirectory.empty())
        doc.ChangeRemoteDirectory(site_.remoteDirectory);
    if (!site_.localMask.empty())
        doc.SetLocalMask(site_.localMask);
    if (!site_.remoteMask.empty())
        doc.SetRemoteMask(site_.remoteMask);
    RefreshView(FtpViewKind::kLocal, ID_FTP_LOCAL_REFRESH);
    RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
    return 0;
}

void FtpMainView::LimitedLoginDialog()
{
    progress_.Reset(0, "");  // no size yet: nothing to show
    FtpLoginDialog dialog(Frame() ? Frame()->Handle() : Handle());
    dialog.host = site_.host;
    dialog.user = site_.user;
    dialog.password = site_.password;
    dialog.loginType = site_.loginType;
    dialog.email = settings_.email;
    const int result = dialog.DoModal();
    if (result != IDOK && result != kSiteConnect)
        return;
    site_.host = dialog.host;
    site_.user = dialog.user;
    site_.password = dialog.password;
    site_.loginType = dialog.loginType;
    if (result == kSiteConnect)
        ConnectAndLogin();
}

void FtpMainView::SiteCommand()
{
    if (TheFtpApp().installMode) {
        InstallHelper();
        return;
    }
    if (LimitedMode) {
        LimitedLoginDialog();
        return;
    }
    FtpSiteDialog dialog(Frame() ? Frame()->Handle() : Handle(), sites_);
    dialog.site = site_;
    dialog.siteNumber = siteNumber_;
    dialog.siteLoaded = siteLoaded_;
    dialog.email = settings_.email;
    const int result = dialog.DoModal();
    if (result != IDOK && result != kSiteConnect)
        return;
    LocalListStale = 0;
    RemoteListStale = 0;
    const SiteRecord chosen = dialog.site;
    FtpDocument& doc = Doc();
    siteNumber_ = dialog.siteNumber > 0 ? dialog.siteNumber : 1;
    if (chosen.localShowDir != site_.localShowDir) {
        LocalListStale = 1;
        doc.SetLocalShow(chosen.localShowDir);
    }
    if (chosen.showDir != site_.showDir) {
        RemoteListStale = 1;
        doc.SetRemoteShow(chosen.showDir);
    }
    if (chosen.localDirectory != site_.localDirectory) {
        LocalListStale = 1;
        doc.SetLocalDirectory(chosen.localDirectory);
    }
    if (connected_ && chosen.remoteDirectory != site_.remoteDirectory) {
        RemoteListStale = 1;
        doc.ChangeRemoteDirectory(chosen.remoteDirectory);
    }
    if (chosen.remoteMask != site_.remoteMask) {
        RemoteListStale = 1;
        doc.SetRemoteMask(chosen.remoteMask.empty() ? "*" : chosen.remoteMask);
    }
    if (chosen.localMask != site_.localMask) {
        LocalListStale = 1;
        doc.SetLocalMask(chosen.localMask.empty() ? "*.*" : chosen.localMask);
    }
    if (chosen.translate != site_.translate) {
        SetTranslate(chosen.translate);
        if (chosen.translate) {
            SetRemoteCharset(chosen.charset);
            SetLocalCharset(chosen.localCharset);
        }
    }
    site_ = chosen;
    siteLoaded_ = dialog.siteLoaded;
    bool refresh = result == IDOK;
    if (result == kSiteConnect)
        refresh = ConnectAndLogin() == -2;
    if (result == kSiteConnect)
        RunSiteScript();
    if (refresh) {
        if (LocalListStale)
            RefreshView(FtpViewKind::kLocal, ID_FTP_LOCAL_REFRESH);
        if (RemoteListStale)
            RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
    }
}

void FtpMainView::DisconnectCommand()
{
    if (!Idle()) {
        // A transfer (or another call) runs: cancel it; the session closes once it has ended.
        disconnectPending_ = true;
        FtpAbort();
        LogStringId(3018);
        FinishWhenIdle();
        return;
    }
    FtpClose();
    SetConnected(false);
    if (Frame())
        static_cast<FtpMainFrame*>(Frame())->SetDocumentTitle(
            scripts_->Running() ? "  " + scripts_->scriptPath : std::string(" "));
    RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
}

void FtpMainView::AbortCommand()
{
    scripts_->StopAllScripts();
    if (!apiStarted_)
        return;
    FtpAbort();
    LogStringId(3018);
}

void FtpMainView::GeneralSettingsCommand()
{
    FtpGeneralDialog dialog(Frame() ? Frame()->Handle() : Handle(), settings_);
    if (dialog.DoModal() != IDOK)
        return;
    WriteGeneralSettings(profile_, kFtpIniFile, dialog.settings);
    TakeGeneralSettings(dialog.settings);
}

void FtpMainView::TakeGeneralSettings(const FtpGeneralSettings& values)
{
    const bool logChanged = values.logFile != settings_.logFile || values.enableLog != settings_.enableLog;
    if (logChanged && logFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(logFile_);
        logFile_ = INVALID_HANDLE_VALUE;
    }
    FtpGeneralSettings taken = values;
    taken.defaultSite = settings_.defaultSite;
    taken.siteNumbers = settings_.siteNumbers;
    settings_ = taken;
    if (logFile_ == INVALID_HANDLE_VALUE && settings_.enableLog && !settings_.logFile.empty())
        OpenLogFile();
    Xlate().appendMode = settings_.appendMode;
    Xlate().avoidZero = settings_.avoidZero;
    TheFtpApp().autoSizeWindow = settings_.autoSizeWindow;
    FtpSetVerbose(settings_.verbose, reinterpret_cast<std::uintptr_t>(Handle()), WM_FTP_VERBOSE);
    FtpSetDebug(settings_.debug, reinterpret_cast<std::uintptr_t>(Handle()), WM_FTP_VERBOSE);
    FtpSetRetain(settings_.retain);
}

// ---- transfers

int FtpMainView::SendSelectedFiles()
{
    if (WalkRunning(transferState_))
        return transferState_;
    FtpDocument& doc = Doc();
    doc.localWalk = 0;
    ViewSteps steps;
    steps.connected = [this] { return connected_; };
    steps.connect = [this] { ConnectAndLogin(); };
    steps.next = [&doc](std::string& name, FileEntryKind& kind) {
        return NextFile(&FtpDocument::NextSelectedLocal, doc, name, kind);
    };
    steps.one = [this](const std::string& name, FileEntryKind) {
        localFile_ = name;
        const int result = SendOneFile();
        remoteFile_.clear();
        return result;
    };
    SendWalk(transferState_, steps);
    RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
    return transferState_;
}

int FtpMainView::ReceiveSelectedFiles()
{
    if (WalkRunning(transferState_))
        return transferState_;
    Doc().remoteWalk = 0;
    return ReceiveFiles(false);
}

int FtpMainView::ReceiveFiles(bool single)
{
    FtpDocument& doc = Doc();
    ViewSteps steps;
    steps.connected = [this] { return connected_; };
    steps.connect = [this] { ConnectAndLogin(); };
    steps.next = [&doc](std::string& name, FileEntryKind& kind) {
        return NextFile(&FtpDocument::NextSelectedRemote, doc, name, kind);
    };
    steps.one = [this, single](const std::string& name, FileEntryKind) {
        if (!single)
            remoteFile_ = name;
        const int result = ReceiveOneFile();
        localFile_.clear();
        return result;
    };
    ReceiveWalk(transferState_, steps, single);
    RefreshView(FtpViewKind::kLocal, ID_FTP_LOCAL_REFRESH);
    return transferState_;
}

// One file's transfer as both directions log it: the start line (with the translation and append
// notes), the progress display from `from`, then the failure (failId) or the bytes and speed.
int FtpMainView::RunTransfer(int startId, const std::string& from, const std::string& to, int failId,
                             const std::function<int()>& transfer)
{
    std::string format = LoadLocalString(startId);
    if (site_.translate)
        format += LoadLocalString(3038);
    if (settings_.appendMode)
        format += LoadLocalString(3049);
    LogMessage(format.c_str(), from.c_str(), to.c_str());
    transferRunning_ = true;
    progress_.Reset(0, from);
    UpdateProgress(0, 0, from.c_str());
    const int result = transfer();
    transferRunning_ = false;
    ExitRequested = 0;  // an Exit during the transfer only cancelled it
    if (Frame() && TheFtpApp().autoSizeWindow)
        static_cast<FtpMainFrame*>(Frame())->SetDocumentTitle(site_.host);  // the progress is over
    if (result != 0) {
        // What arrived of a failed transfer is no progress: the display is cleared.
        progress_.Reset(0, "");
        UpdateProgress(0, 0, "");
        LogStringId(failId, result, FtpErrorText(result));
        ConnectionLost();
        return result;
    }
    progress_.Finish(TransferBytesDone(), GetTickCount64());
    const long bytes = static_cast<long>(TransferBytesDone());
    const std::string speed = bytes == 0 || progress_.SpeedText().empty() ? "0" : progress_.SpeedText();
    LogStringId(3029, bytes, speed.c_str());
    return 0;
}

int FtpMainView::SendOneFile()
{
    if (localFile_ == "[]")
        localFile_.clear();
    if (localFile_.empty() && (!Ask(LoadLocalString(3025), localFile_) || localFile_.empty())) {
        scripts_->StopAllScripts();  // a cancelled name stops every script
        Beep();
        return -1;
    }
    if (remoteFile_ == "[]")
        remoteFile_.clear();
    if (remoteFile_.empty()) {
        remoteFile_ = SendDestination(Doc().TranslateSentName(localFile_));
        if (!settings_.autoName && (!Ask(LoadLocalString(3026), remoteFile_) || remoteFile_.empty())) {
            scripts_->StopAllScripts();  // a cancelled name stops every script
            Beep();
            return -1;
        }
    }
    const int result = RunTransfer(3027, localFile_, remoteFile_, 3028, [&] {
        return TranslatedPut(localFile_.c_str(), remoteFile_.c_str(), TransferTypeFor(site_.mode, localFile_), 1,
                             reinterpret_cast<std::uintptr_t>(Handle()), WM_FTP_PROGRESS);
    });
    if (result != 0)
        return result;
    AfterSend(localFile_);
    return 0;
}

int FtpMainView::ReceiveOneFile()
{
    if (remoteFile_ == "[]")
        remoteFile_.clear();
    if (remoteFile_.empty() && (!Ask(LoadLocalString(3031), remoteFile_) || remoteFile_.empty())) {
        scripts_->StopAllScripts();  // a cancelled name stops every script
        Beep();
        return -1;
    }
    if (localFile_ == "[]")
        localFile_.clear();
    if (localFile_.empty()) {
        if (!ReceiveDestination(Doc().TranslateReceivedName(remoteFile_), localFile_)) {
            // A name the server gave that would leave the folder or name a device: not written.
            LogMessage("Error: Not a local file name: %s", remoteFile_.c_str());
            return 0;
        }
        if (!settings_.autoName && (!Ask(LoadLocalString(3032), localFile_) || localFile_.empty())) {
            scripts_->StopAllScripts();  // a cancelled name stops every script
            Beep();
            return -1;
        }
    }
    const int result = RunTransfer(3030, remoteFile_, localFile_, 3009, [&] {
        return TranslatedGet(remoteFile_.c_str(), localFile_.c_str(), TransferTypeFor(site_.mode, remoteFile_), 1,
                             reinterpret_cast<std::uintptr_t>(Handle()), WM_FTP_PROGRESS);
    });
    if (result != 0)
        return result;
    AfterReceive(remoteFile_);
    return 0;
}

namespace {

// The deletion question of AutoDelete with Confirm.
bool ConfirmDelete(HWND owner, const std::string& name)
{
    char text[1100];
    std::snprintf(text, sizeof text, LoadLocalString(3019).c_str(), name.substr(0, 1000).c_str());
    return FwMessageBox(owner, text, MB_YESNO | MB_ICONQUESTION, "TolviFTP") == IDYES;
}

}  // namespace

void FtpMainView::AfterSend(const std::string& name)
{
    if (TransferBytesDone() == 0 && settings_.warningIfZeroLength)
        LogStringId(3020, name.c_str());
    if (!settings_.autoDelete)
        return;
    if (settings_.confirm && !ConfirmDelete(Frame() ? Frame()->Handle() : Handle(), name))
        return;
    if (_unlink(name.c_str()) != 0) {
        LogStringId(3021, name.c_str(), errno);
        return;
    }
    LogStringId(3022, name.c_str());
    Doc().SendToView(FtpViewKind::kLocal, WM_REMOVE_LIST_ENTRY, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void FtpMainView::AfterReceive(const std::string& name)
{
    if (TransferBytesDone() == 0 && settings_.warningIfZeroLength)
        LogStringId(3020, name.c_str());
    if (!settings_.autoDelete)
        return;
    if (settings_.confirm && !ConfirmDelete(Frame() ? Frame()->Handle() : Handle(), name))
        return;
    const int result = FtpDelete(name.c_str());
    if (result != 0) {
        LogStringId(3023, name.c_str(), result);
        return;
    }
    LogStringId(3024, name.c_str());
    Doc().SendToView(FtpViewKind::kRemote, WM_REMOVE_LIST_ENTRY, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

// ---- deleting and creating

void FtpMainView::DeleteLocalSelected()
{
    if (WalkRunning(transferState_)) {
        Beep();
        return;
    }
    FtpDocument& doc = Doc();
    doc.localWalk = 0;
    ViewSteps steps;
    steps.connected = [] { return true; };
    steps.connect = [] {};
    steps.next = [&doc](std::string& name, FileEntryKind& kind) { return doc.NextSelectedLocal(name, kind) >= 0; };
    steps.one = [this](const std::string& name, FileEntryKind kind) {
        if (kind == FileEntryKind::kDirectory) {
            if (_rmdir(name.c_str()) != 0) {
                LogStringId(3041, name.c_str(), errno);
                return 1;
            }
            LogStringId(3042, name.c_str());
        } else if (kind == FileEntryKind::kFile) {
            if (_unlink(name.c_str()) != 0) {
                LogStringId(3021, name.c_str(), errno);
                return 1;
            }
            LogStringId(3022, name.c_str());
        }
        return 0;
    };
    DeleteWalk(transferState_, kTransferLocalWalk, steps, false);
    RefreshView(FtpViewKind::kLocal, ID_FTP_LOCAL_REFRESH);
}

void FtpMainView::DeleteRemoteSelected()
{
    if (WalkRunning(transferState_)) {
        Beep();
        return;
    }
    FtpDocument& doc = Doc();
    doc.remoteWalk = 0;
    ViewSteps steps;
    steps.connected = [this] { return connected_; };
    steps.connect = [this] { ConnectAndLogin(); };
    steps.next = [&doc](std::string& name, FileEntryKind& kind) { return doc.NextSelectedRemote(name, kind) >= 0; };
    steps.one = [this](const std::string& name, FileEntryKind kind) {
        remoteFile_ = name;
        if (kind == FileEntryKind::kDirectory) {
            const int result = FtpRmdir(name.c_str());
            if (result != 0) {
                LogStringId(3039, name.c_str(), result);
                return result;
            }
            LogStringId(3040, name.c_str());
        } else if (kind == FileEntryKind::kFile) {
            const int result = FtpDelete(name.c_str());
            if (result != 0) {
                LogStringId(3023, name.c_str(), result);
                return result;
            }
            LogStringId(3024, name.c_str());
        }
        return 0;
    };
    DeleteWalk(transferState_, kTransferRemoteWalk, steps, true);
    RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
}

void FtpMainView::CreateRemoteDirectory()
{
    if (WalkRunning(transferState_) || !connected_) {
        Beep();
        return;
    }
    std::string name;
    if (!Ask(LoadLocalString(3043), name) || name.empty()) {
        Beep();
        return;
    }
    char reply[512] = "";
    const int result = FtpMkdir(name.c_str(), reply, sizeof reply);
    if (result != 0)
        LogStringId(3047, name.c_str(), result);
    else
        LogStringId(3048, name.c_str());
    RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
}

void FtpMainView::CreateLocalDirectory()
{
    std::string name;
    if (!Ask(LoadLocalString(3044), name) || name.empty()) {
        Beep();
        return;
    }
    if (_mkdir(name.c_str()) != 0)
        LogStringId(3045, name.c_str(), errno);
    else
        LogStringId(3046, name.c_str());
    RefreshView(FtpViewKind::kLocal, ID_FTP_LOCAL_REFRESH);
}
