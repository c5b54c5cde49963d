// TolviFTP's three views: the local and the remote file list along the top, and the main view
// below them with the progress display and the log.
#pragma once

#include <windows.h>

#include <string>

#include "file_list_entries.h"
#include "fw_view.h"
#include "ftp_log_ring.h"
#include "ftp_progress.h"
#include "general_settings.h"
#include "main_view_layout.h"

class FtpDocument;

// The text of a list box entry (any length).
std::string ListBoxText(HWND list, int index);

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
    void SetTabStops(const int* stops, int count);
    // The first selected entry's text; false when none is selected.
    bool FirstSelected(std::string& text) const;

    HWND list_ = nullptr;
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

    // Calls whose Parts come later; they show nothing yet.
    int SiteApply(const std::string& name) { return -1; }
    void StartScript() {}

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

    FtpGeneralSettings settings_;
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
};
