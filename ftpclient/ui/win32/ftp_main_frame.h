// TolviFTP's main window: menu (Swedish with country 46), toolbar, directory bar, status bar,
// and the three panes: the local and remote lists side by side over the main view.
#pragma once

#include <memory>
#include <string>

#include "fw_splitter.h"
#include "fw_view_frame.h"

class FtpDocument;
class FtpLocalView;
class FtpRemoteView;
class FtpMainView;

class FtpMainFrame : public FwViewFrame {
public:
    explicit FtpMainFrame(FtpDocument& document);
    ~FtpMainFrame() override;

    bool CreateFrame();
    // Every view's initial update; the main view becomes the active view.
    void InitialUpdate();
    void ActivateFrame(int showCommand) override;
    // Connect and Disconnect of the menu bar enabled or greyed by their rules.
    void UpdateMenuBar();
    // The frame's title: "<document title> - <application name>".
    void SetDocumentTitle(const std::string& title);

    FtpMainView* MainView() const { return mainView_.get(); }
    FtpLocalView* LocalView() const { return localView_.get(); }
    FtpRemoteView* RemoteView() const { return remoteView_.get(); }

protected:
    int OnCreate() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool CreateClient();
    // Stores the window's size and place ([TolviFTP] Window) for the next start.
    void RememberPlacement();

    FtpDocument& document_;
    FwSplitter outer_;
    FwSplitter inner_;
    std::unique_ptr<FtpLocalView> localView_;
    std::unique_ptr<FtpRemoteView> remoteView_;
    std::unique_ptr<FtpMainView> mainView_;
    bool firstActivation_ = true;
};
