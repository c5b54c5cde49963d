// The main frame of Tolvi: toolbar, status bar, the menu bar of the session's language, the
// window placement kept in the profile section "Window size", the frame-style switches that
// start-up and host commands ask for, and the order of the shutdown.
#pragma once

#include <memory>
#include <string>

#include "document.h"
#include "fw_frame.h"
#include "fw_shell_open.h"

class CZolexDoc;

// Telephone country -> menu resource, help-file country and Connect/Disconnect string ids.
struct CountryMenu {
    int menuId;
    int helpCountry;
    int connectLabel;
    int disconnectLabel;
};
CountryMenu CountryMenuFor(int country);

// Help/About: the program's name and version.
void RunAboutBox(HWND owner);

class CZolexView;

class CMainFrame : public FwFrameWnd, public FwDocumentSite {
public:
    explicit CMainFrame(CZolexDoc& doc);
    ~CMainFrame() override;

    static CMainFrame* Instance();
    // The terminal view (made with the frame's window).
    CZolexView* TerminalView() const { return terminalView_.get(); }

    void ActivateFrame(int showCommand) override;
    // WM_USER+107: the menu of the session's language and its help file.
    void OnLoadCountryMenu();

    int MenuCountry = 1;
    std::string HelpFile = "Tolvi.hlp";

    // FwDocumentSite
    std::string FrameTitle() override;
    void SetFrameTitle(const std::string& text) override;
    void UpdateAllViews() override;
    void AddToRecentFiles(const std::string& path) override;
    void SetStatusText(int pane, const std::string& text) override;
    void SetWaitCursor(bool on) override;
    void PostCommand(int command) override;
    int AskSaveChanges(const std::string& title) override;
    std::string AskSavePath(const std::string& proposal) override;

protected:
    int OnCreate() override;
    HWND CreateView() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The terminal view's own commands and their rules.
    bool RouteUpdate(int id, FwCmdUI& ui) override;
    bool RouteRun(int id) override;

private:
    void RegisterCommands();
    // The File menu's recent-file entries, rebuilt from the application's list.
    void RefreshRecentFileMenu();
    void OpenRecentFile(std::size_t index);
    void OnDestroy();
    bool OnSysCommand(WPARAM command);
    bool OnQueryEndSession();
    void ToggleCaption();
    // File/Load config and File/Save config As: the platform's file dialogs for .wcf files,
    // proposing a name; empty when cancelled.
    std::string ChooseConfigFile(bool forSaving, const std::string& proposal);
    std::string LoadText(int id) const;

    CZolexDoc& doc_;
    bool firstActivation_ = true;
    // Documents that the shell opens in this running session.
    FwShellOpen shellOpen_;
    std::unique_ptr<CZolexView> terminalView_;
};

// Process-wide state of the frame.
extern RECT DefaultFrameRect;
extern int ShowLogoImage;
extern int HistoryAtStart;
