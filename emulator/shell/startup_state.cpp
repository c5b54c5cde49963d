#include "shell/startup_state.h"

#include "shell/path_helpers.h"

StartupState Startup;
int FrameRefitPending = 0;

std::string ProgramFolder() { return GetPathDirectory(Startup.ProgramPath); }

void TakeCommandLine(const std::string& line)
{
    Startup.commandLine = line;
    StripEnclosingQuotes(Startup.commandLine);
    Startup.CommandTokenCount =
        SplitCommandLine(Startup.CommandTokens, kMaxCommandTokens, &Startup.commandLine[0]);
    Startup.PositionalArgCount = PickPositionalArgs(Startup.CommandTokenCount, Startup.CommandTokens,
                                                    Startup.PositionalArgs, kMaxPositionalArgs);
    Startup.OptionCursor = 0;
}
