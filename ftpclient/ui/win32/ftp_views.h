// TolviFTP's three views: the local and the remote file list along the top, and the main view
// below them with the progress display and the log.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "file_list_entries.h"
#include "ftp_script.h"
#include "fw_view.h"
#include "ftp_log_ring.h"
#include "ftp_progress.h"
#include "general_settings.h"
#include "main_view_layout.h"
#include "site_store.h"
#include "shell/win32/win32_profile.h"
#include "ftp_app.h"
#include "ftp_document.h"


// The text of a list box entry (any length).
std::string ListBoxText(HWND list, int index);

// The kind of entry a file list recorded for an entry when it filled (item data), and the
// recording.
FileEntryKind RecordedKind(HWND list, int index);
void RecordKind(HWND list, int index, FileEntryKind kind);

// A list box seen as a FileListModel.
class ListBoxModel : public FileListModel {
public:
    explicit ListBoxModel(HWND list) : list_(list) {}
    int Count() const override;
    std::string Text(int index) const override { return ListBoxText(list_, index); }
    bool Selected(int index) const override;
    void Select(int index, bool on) override;
    void Insert(int index, const std::string& text) override;
    void Remove(int index) override;
    FileEntryKind Kind(int index) const override { return RecordedKind(list_, index); }
    void SetKind(int index, FileEntryKind kind) override { RecordKind(list_, index, kind); }

private:
    HWND list_;
};

// A file list: a multiple-selection list box filling the view; the list box hands Tab, Enter,
// Insert, Delete and F5 to the view.
class FtpListView : public FwView {
public:
    HWND List() const { return list_; }
    FtpDocument& Doc() const;

protected:
    int OnCreate() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnActivateView(bool active) override;
    // A key handed on by the list box; true when handled.
    virtual bool OnListKey(int key) = 0;
    // Double-click and Enter.
    virtual void OnOpenEntry() = 0;
    virtual int& WalkIndex() = 0;
    // Appends the entries of fill number `fill` (see AppendEntries); false when the list was
    // filled anew or destroyed while messages were handed out: that fill is over and must not
    // touch the list any more.
    bool Append(std::vector<PendingEntry>& entries, unsigned fill);
    // The columns' tab stops, all moved right when the longest name needs a wider first column;
    // `appended` are the entries the fill just added.
    void SetTabStops(const int* stops, int count, const std::vector<PendingEntry>& appended);
    // The first selected entry's text and recorded kind; false when none is selected.
    bool FirstSelected(std::string& text, FileEntryKind& kind) const;
    // The confirmations before the main view's work: the files selected (3033 sending, 3035
    // receiving) with the update hint, and the entries to delete with the internal command.
    void ConfirmTransfer(int stringId, long hint);
    void ConfirmDelete(int command);
    void MainCommand(int command);

    HWND list_ = nullptr;
    unsigned fills_ = 0;  // fills begun: one overtaken by a later one stops
};

class FtpLocalView : public FtpListView {
public:
    FtpLocalView();
    void FillLocalList(bool withDrives);
    void OnInitialUpdate() override;
    void OnUpdate(FwView* sender, long hint) override;

protected:
    int OnCreate() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnListKey(int key) override;
    void OnOpenEntry() override;
    int& WalkIndex() override;

private:
    int currentDrive_ = 0;
    int lastShow_ = 1;
    bool firstFill_ = true;
};

class FtpRemoteView : public FtpListView {
public:
    FtpRemoteView();
    void FillRemoteList(bool fetch);

protected:
    int OnCreate() override;
    bool OnListKey(int key) override;
    void OnOpenEntry() override;
    int& WalkIndex() override;

private:
    int lastShow_ = 1;
};

// The main view: the progress box and its text line, the log below with its scroll bar, the
// start-up of the window and the clean-up at exit.
class FtpMainView : public FwView {
public:
    FtpMainView();
    ~FtpMainView() override;
    void OnInitialUpdate() override;
    void OnUpdate(FwView* sender, long hint) override;
    FtpDocument& Doc() const;

    // A printf-style message, split at line ends into log lines. Texts from outside (server
    // replies, file names) are only ever arguments.
    int LogMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The same with the format from the string table (Swedish with country 46).
    int LogStringId(int id, ...);
    void AddLogLine(const std::string& text);
    void UpdateProgress(std::int64_t done, std::int64_t total, const char* name);

    // The Exit command: cancels a blocking call, or cleans up and closes the main window.
    void ExitCommand();
    void ExitCleanup();
    // Closing the main window: true when nothing runs; otherwise the running operation is
    // cancelled as by Exit and the window stays.
    bool CanCloseFrame();

    // Loads the site called `name` into the session values; its number, or -1 (nothing changes).
    int SiteApply(const std::string& name);
    // Scripts: the Run command, the running scripts and their call stack, the Scripts command
    // (the editor, or in LimitedMode a file to run), the site script after Connect.
    void StartScript();
    ScriptRunner& Scripts() { return *scripts_; }
    void ScriptsCommand();
    void RunSiteScript();
    // The command line as the temporary script; false when nothing is to run.
    bool WriteCommandLineScript(const std::string& commandLine);
    // Starts the FTP API when it is not started (logs a failure); 0 or the error.
    int StartApi();
    // Lets pending messages run (Abort, Exit and the timers reach a running script).
    void PumpMessages();

    // The network install: what the program's folder holds (at construction), the start-up, and
    // the procedure that Connect, Site settings and the transfer setup run.
    void InstallSetUp();
    void InstallStartUp();
    void InstallHelper();

    // The session commands.
    int ConnectAndLogin();
    void SiteCommand();
    void DisconnectCommand();
    void AbortCommand();
    void GeneralSettingsCommand();
    int SendSelectedFiles();
    int ReceiveSelectedFiles();
    int ReceiveFiles(bool single);
    int SendOneFile();
    int ReceiveOneFile();
    int RunTransfer(int startId, const std::string& from, const std::string& to, int failId,
                    const std::function<int()>& transfer);
    void DeleteLocalSelected();
    void DeleteRemoteSelected();
    void CreateLocalDirectory();
    void CreateRemoteDirectory();
    bool Connected() const { return connected_; }
    void SetConnected(bool on);
    int TransferState() const { return transferState_; }
    const SiteRecord& Site() const { return site_; }
    int SiteNumber() const { return siteNumber_; }

    const FtpGeneralSettings& Settings() const { return settings_; }
    const FtpLogRing& LogRing() const { return ring_; }
    const MainViewLayout& Rects() const { return layout_; }
    int LineHeight() const { return lineHeight_; }
    int ScrollPosition() const { return position_; }
    const FtpProgress& Progress() const { return progress_; }

protected:
    int OnCreate() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Layout();
    void Paint(HDC dc);
    void DrawLine(HDC dc, const std::string& line, int y, const RECT& clip);
    void DrawProgressBar(HDC dc, bool clear);
    void ScrollTo(int position);
    void OpenLogFile();
    void WriteLogFile(const std::string& stamped, const SYSTEMTIME& now);

    // No socket call blocks and no transfer or walk runs.
    bool Idle() const;
    // Runs the disconnect asked for while busy once the view is idle (a timer).
    void FinishWhenIdle();
    void FinishPending();
    // After a failed operation: when the server closed the connection, the session is marked
    // disconnected.
    void ConnectionLost();
    void AfterSend(const std::string& name);
    void AfterReceive(const std::string& name);
    void LimitedLoginDialog();
    void TakeGeneralSettings(const FtpGeneralSettings& values);
    // Asks for a value at the prompt of string `id` (with `prefix` before it); false on Cancel.
    bool Ask(const std::string& prompt, std::string& value);
    void RefreshView(FtpViewKind kind, int command);

    FtpGeneralSettings settings_;
    Win32Profile profile_;
    SiteStore sites_{profile_, kFtpIniFile};
    SiteRecord site_;
    int siteNumber_ = 1;
    int siteLoaded_ = 0;
    std::string localFile_, remoteFile_;
    std::string lastHost_, lastUser_, lastPassword_;
    int transferState_ = 0;
    bool transferRunning_ = false;
    bool disconnectPending_ = false;
    FtpLogRing ring_;
    FtpProgress progress_;
    MainViewLayout layout_;
    int rows_ = 1;
    int position_ = FtpLogRing::kLines;
    int charWidth_ = 7, charHeight_ = 16, lineHeight_ = 16;
    HWND scrollBar_ = nullptr;
    HBITMAP progressBitmap_ = nullptr;
    HANDLE logFile_ = INVALID_HANDLE_VALUE;
    bool connected_ = false;
    bool apiStarted_ = false;
    std::string defaultRemote_, versionPath_, readmePath_;
    int timeout_ = 10;
    bool scriptEncrypt_ = false;
    std::string commandScript_;  // the temporary script of the command line
    bool unattended_ = false;    // the running scripts are the command line's: nobody answers boxes
    bool scriptArmed_ = false;   // the command line's script waits for the window's first paint
    std::unique_ptr<ScriptHost> scriptHost_;
    std::unique_ptr<ScriptRunner> scripts_;
    friend class ViewScriptHost;
};

// The script timers of the main view.
constexpr UINT_PTR IDT_SCRIPT_START = 303;
constexpr UINT_PTR IDT_SCRIPT_WAIT = 305;
// Finishes a disconnect that waited for a cancelled operation.
constexpr UINT_PTR IDT_FINISH_PENDING = 306;
