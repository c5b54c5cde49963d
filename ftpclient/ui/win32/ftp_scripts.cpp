// The main view's scripts: the session as the script interpreter sees it, the Run command, the
// script timers' work, the Scripts command (the editor, or a file to run in LimitedMode), the
// site script after Connect, and the command line written as a temporary script.
#include <cerrno>
#include <cstdio>

#include "char_translation.h"
#include "ftp_api.h"
#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_main_frame.h"
#include "ftp_script_editor.h"
#include "ftp_views.h"
#include "tolviftp_ids.h"
#include "window_ftp_host.h"

// The script interpreter's view of the main view.
class ViewScriptHost : public ScriptHost {
public:
    explicit ViewScriptHost(FtpMainView& view) : v_(view) {}

    void Log(const std::string& text) override { v_.LogMessage("%s", text.c_str()); }
    void SetTitle(const std::string& title) override
    {
        if (v_.Frame())
            static_cast<FtpMainFrame*>(v_.Frame())->SetDocumentTitle(title);
    }
    SiteRecord& Site() override { return v_.site_; }
    FtpGeneralSettings& Settings() override { return v_.settings_; }
    std::string& LocalFile() override { return v_.localFile_; }
    std::string& RemoteFile() override { return v_.remoteFile_; }
    void TransferFlagsChanged() override
    {
        Xlate().appendMode = v_.settings_.appendMode;
        Xlate().avoidZero = v_.settings_.avoidZero;
    }
    bool ApiStarted() override { return v_.apiStarted_; }
    int StartApi() override { return v_.StartApi(); }
    void SetVerbose(bool on) override { FtpSetVerbose(on, Window(), WM_FTP_VERBOSE); }
    void SetDebug(bool on) override { FtpSetDebug(on, Window(), WM_FTP_VERBOSE); }
    std::string SetRetain(bool on) override
    {
        const char* file = FtpSetRetain(on);
        return file ? file : "";
    }
    void SetListingFile(const std::string& name) override { FtpSetListingFile(name.c_str()); }
    int SetHostType(int type) override { return FtpSetHostType(type); }
    void SetTimeout(int seconds) override
    {
        v_.timeout_ = seconds;
        if (v_.apiStarted_)
            FtpSetTimeout(seconds);
    }
    int Chmod(const std::string& modes, const std::string& name) override { return FtpChmod(modes.c_str(), name.c_str()); }
    int RawCommand(const std::string& text) override { return FtpRawCommand(text.c_str()); }
    std::string CloseConnection() override
    {
        if (v_.connected_)
            FtpClose();
        v_.SetConnected(false);
        return v_.lastHost_;
    }
    bool Connected() override { return v_.connected_; }
    int TransferState() override { return v_.transferState_; }
    void SetTranslate(bool on) override { ::SetTranslate(on); }
    void SetCountry(int country) override { ::SetCountry(country); }
    void SetRemoteCharset(int code) override { ::SetRemoteCharset(code); }
    void SetLocalCharset(int code) override { ::SetLocalCharset(code); }
    int ChangeRemoteDirectory(const std::string& path) override { return v_.Doc().ChangeRemoteDirectory(path); }
    int SetLocalDirectory(const std::string& path) override { return v_.Doc().SetLocalDirectory(path); }
    void SetRemoteMask(const std::string& mask) override { v_.Doc().SetRemoteMask(mask); }
    void SetLocalMask(const std::string& mask) override { v_.Doc().SetLocalMask(mask); }
    void SetRemoteSelect(const std::string& mask) override { v_.Doc().SetRemoteSelect(mask); }
    void SetLocalSelect(const std::string& mask) override { v_.Doc().SetLocalSelect(mask); }
    void SetRemoteShow(bool on) override { v_.Doc().SetRemoteShow(on); }
    void SetLocalShow(bool on) override { v_.Doc().SetLocalShow(on); }
    void RefreshLocal() override { v_.RefreshView(FtpViewKind::kLocal, ID_FTP_LOCAL_REFRESH); }
    void RefreshRemote() override { v_.RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH); }
    void RedisplayRemote() override { v_.RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REDISPLAY); }
    bool RemoteListStale() override { return ::RemoteListStale != 0; }
    int ConnectAndLogin() override { return v_.ConnectAndLogin(); }
    void ReceiveSingleFile() override { v_.ReceiveFiles(true); }
    void ReceiveSelectedFiles() override { v_.ReceiveSelectedFiles(); }
    void SendSelectedFiles() override { v_.SendSelectedFiles(); }
    bool SiteApply(const std::string& name) override { return v_.SiteApply(name) >= 0; }
    void SetLimitedMode() override { LimitedMode = 1; }
    std::string LocalText(int id, const char*) override { return LoadLocalString(id); }
    // The keyword index ("Script commands") belongs to the help file; the program's help does what
    // its Help command does.
    void Help() override { TheFtpApp().WinHelp(0, HELP_KEY); }
    void PostExit() override
    {
        if (v_.Frame())
            PostMessageA(v_.Frame()->Handle(), WM_COMMAND, ID_FTP_APP_EXIT, 0);
    }
    void OpenLogFile(const std::string& name) override
    {
        if (v_.logFile_ != INVALID_HANDLE_VALUE) {
            CloseHandle(v_.logFile_);
            v_.logFile_ = INVALID_HANDLE_VALUE;
        }
        v_.settings_.logFile = name;
        v_.settings_.enableLog = true;
        v_.OpenLogFile();
    }
    bool StartWaitTimer() override { return SetTimer(v_.Handle(), IDT_SCRIPT_WAIT, 1000, nullptr) != 0; }
    void StopWaitTimer() override { KillTimer(v_.Handle(), IDT_SCRIPT_WAIT); }
    void PumpMessages() override { v_.PumpMessages(); }

private:
    std::uintptr_t Window() const { return reinterpret_cast<std::uintptr_t>(v_.Handle()); }
    FtpMainView& v_;
};

void FtpMainView::StartScript() { scripts_->StartScript(); }

int FtpMainView::StartApi()
{
    if (apiStarted_)
        return 0;
    const int started = FtpInitWindow(Handle(), [this] { return unattended_ && scripts_->Running(); });
    if (started != 0) {
        LogStringId(3016, started, FtpErrorText(started));
        return started;
    }
    FtpSetTimeout(timeout_);
    apiStarted_ = true;
    return 0;
}

void FtpMainView::PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program ends: no script goes on; the main loop gets the quit again.
            scripts_->StopAllScripts();
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        // The window's keys (F6 to the next pane, F1, ...) work while a script runs.
        if (Frame() && Frame()->PreTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void FtpMainView::ScriptsCommand()
{
    unattended_ = false;
    HWND owner = Frame() ? Frame()->Handle() : Handle();
    ScriptRunner& scripts = *scripts_;
    if (LimitedMode) {
        FwFileDialog dialog = ScriptOpenDialog(scripts.scriptPath, "Script", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
        if (!dialog.DoModal(owner))
            return;
        std::string path = dialog.fileName;
        CharLowerBuffA(&path[0], static_cast<DWORD>(path.size()));
        scripts.scriptPath = path;
        const ScriptPathParts parts = SplitScriptPath(path);
        scripts.scriptDirectory = parts.drive + parts.directory;
        StartScript();
        return;
    }
    FtpScriptEditorDialog editor(owner, scripts.scriptPath, scriptEncrypt_);
    const int result = editor.DoModal();
    if (result != IDOK && result != kScriptEditorCheck && result != kScriptEditorRun)
        return;
    scripts.scriptDirectory = editor.scriptDirectory;
    scripts.scriptPath = editor.scriptPath;
    scriptEncrypt_ = editor.encrypt;
    if (result == IDOK) {
        scripts.syntaxTest = false;
        return;
    }
    if (scripts.Running()) {
        // Run while a script runs stops it, whatever the editor did.
        StartScript();
        return;
    }
    scripts.syntaxTest = result == kScriptEditorCheck;
    StartScript();
}

void FtpMainView::RunSiteScript()
{
    ScriptRunner& scripts = *scripts_;
    if (!connected_ || site_.script.empty() || scripts.Running())
        return;
    unattended_ = false;
    const std::string path = ResolveScriptPath(scripts.scriptDirectory, site_.script);
    if (!scripts.OpenScriptFile(path, 0, 1)) {
        LogMessage("Error: Cannot open script: %s", site_.script.c_str());
        return;
    }
    scripts.ScriptInterpreter();
}

bool FtpMainView::WriteCommandLineScript(const std::string& commandLine)
{
    std::string folder = settings_.tempDir;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    // One temporary script per process: two programs started at once never run each other's.
    commandScript_ = folder + "TolviFTP-" + std::to_string(GetCurrentProcessId()) + ".ftp";
    unattended_ = true;
    scripts_->scriptPath = commandScript_;
    std::FILE* file = std::fopen(commandScript_.c_str(), "wb");
    if (!file) {
        LogMessage("Error: Cannot create %s", commandScript_.c_str());
        return false;
    }
    // A file name on the command line (quoted or not) becomes a script that runs it.
    std::string name = commandLine;
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (!name.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        std::fprintf(file, "run=\"%s\"\r\n", name.c_str());
    else
        std::fprintf(file, "%s\r\n", commandLine.c_str());
    std::fclose(file);
    return true;
}

std::unique_ptr<ScriptHost> MakeViewScriptHost(FtpMainView& view) { return std::make_unique<ViewScriptHost>(view); }
