// Any bytes as Tolvi's command line: split, positional arguments, options, and the options applied
// to a session document.
#include <cstdint>
#include <string>

#include "engine/screen_planes.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, line.find('\0'));

    Startup = StartupState{};
    *Rec = SettingsRecord{};
    TakeCommandLine(line);
    for (int i = 0; i < Startup.CommandTokenCount; ++i) {
        if (!Startup.CommandTokens[i]) __builtin_trap();
    }

    // The document applies the options once; a pending configuration keeps the data files away.
    Startup.StartupConfigName = "fuzz.wcf";
    CZolexDoc doc;
    doc.InitDefaults();
    doc.ApplyCommandLine();
    (void)doc.BuildTitleText();
    FreeScreenBuffers();
    return 0;
}
