// A session document on the process's record, in a fresh current folder, with scripted prompts.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/screen_planes.h"
#include "fake_prompts.h"
#include "shell/native_profile.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"
#include "temp_folder.h"

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        previousFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        Startup = StartupState{};
        Startup.ProgramPath = folder.File("Tolvi.exe");
        TitleText.clear();
        *Rec = SettingsRecord{};
    }
    ~SessionTest() override
    {
        FreeScreenBuffers();
        Startup = StartupState{};
        std::filesystem::current_path(previousFolder_);
    }

    // Defaults without loading any data file (as when a configuration is about to be opened).
    void Defaults()
    {
        Startup.StartupConfigName = "pending.wcf";
        ASSERT_EQ(doc.InitDefaults(), 1);
        Startup.StartupConfigName.clear();
    }

    FakePrompts prompts;
    ScopedPrompts scopedPrompts{prompts};
    TempFolder folder;
    CZolexDoc doc;

private:
    std::filesystem::path previousFolder_;
};
