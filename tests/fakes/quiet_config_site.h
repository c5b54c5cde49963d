// A command site with no frame around it: the Config commands' dialogs opened inside a test
// program ask for nothing that shows.
#pragma once

#include <string>

#include "shell/config_command_site.h"

class QuietConfigSite final : public ConfigCommandSite {
public:
    void ReloadCountryMenu() override {}
    void PostFrameCommand(int) override {}
    void RepaintMainWindow() override {}
    void RefitMaximisedWindow() override {}
    void CloseMainWindow() override {}
    void SetBusyCursor(bool) override {}
    std::string StatusPaneText() override { return {}; }
    void SetStatusPaneText(const std::string&) override {}
    void DropSelection() override {}
};
