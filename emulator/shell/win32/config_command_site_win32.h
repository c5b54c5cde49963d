// The main frame and the terminal view as the Config menu's commands see them.
#pragma once

#include <windows.h>

#include "shell/config_command_site.h"

class Win32ConfigCommandSite final : public ConfigCommandSite {
public:
    explicit Win32ConfigCommandSite(HWND frame) : frame_(frame) {}

    void ReloadCountryMenu() override;
    void PostFrameCommand(int command) override;
    void RepaintMainWindow() override;
    void RefitMaximisedWindow() override;
    void CloseMainWindow() override;
    void SetBusyCursor(bool on) override;
    std::string StatusPaneText() override;
    void SetStatusPaneText(const std::string& text) override;
    void DropSelection() override;

private:
    HWND frame_;
};
