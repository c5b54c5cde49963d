// The process-wide state of start-up, shared by the application, the document and the view.
#pragma once

#include <string>

#include "shell/command_line.h"

struct StartupState {
    std::string commandLine;               // the buffer the tokens point into
    char* CommandTokens[kMaxCommandTokens] = {};
    int CommandTokenCount = 0;
    char* PositionalArgs[kMaxPositionalArgs] = {};
    int PositionalArgCount = 0;
    int OptionCursor = 0;                  // next token NextOption examines; never reset
    std::string ProgramPath;               // the program file's full path
    std::string StartupConfigName;         // the configuration the first document opens
    bool NewConfiguration[2] = {};         // [0] a new file was created; [1] it has no [3270] section
    bool StartupFailed = false;            // a bad command-line option ends start-up
    bool PlayAtStartup = false;
    bool RecordAtStartup = false;
};

extern StartupState Startup;

// TitleText (the title text of the "t" option, host commands and HotScreen rules) is declared
// with the session record.

// Set when the frame must be refitted to the font at the next view update.
extern int FrameRefitPending;

// The program folder with a trailing separator (from ProgramPath).
std::string ProgramFolder();

// Splits the command line into Startup's tokens and positional arguments.
void TakeCommandLine(const std::string& line);
