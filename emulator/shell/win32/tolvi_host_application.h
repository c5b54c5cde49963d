// Tolvi's answer to what host commands ask of the application: the main frame's helpers and the
// one session document.
#pragma once

#include "engine/host_commands/host_application.h"

class TolviHostApplication final : public HostApplication {
public:
    int SetFullScreen(int on) override;
    void ShowCaption(bool on) override;
    void ShowSystemMenu(bool on) override;
    void ShowMinMaxBoxes(bool on) override;
    void ShowFrameControlBar(bool show, int barId) override;
    void ToggleMenuBar() override;
    void SendFrameSysCommand(unsigned command) override;
    void DelayMs(unsigned milliseconds) override;
    std::string GetDocumentString(const char* member) override;
    void SetDocumentString(const char* member, const std::string& value) override;
    std::string GetPrinterName(int printer) override;
    std::string GetDocumentTitle() override;
    void RefreshDocumentTitle() override;
};
