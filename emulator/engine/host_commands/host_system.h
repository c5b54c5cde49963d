// What host commands, multimedia and host printing ask of the system: starting programs, the
// Windows version, the main frame's show state, the view's timers, the multimedia control
// interface and the printer devices.
//
// The engine never calls the system itself: it calls the installed HostSystem. The Windows program
// installs the Win32 one (win32/win32_host_system.h); until then, and in the native tests, a
// quiet one stands in that starts nothing, has no timers and no multimedia or printer devices.
#pragma once

#include <cstdint>
#include <string>

#include "engine/engine_types.h"

// Multimedia error codes the retry loop knows.
constexpr int kMciErrorDuplicateAlias = 289;
constexpr int kMciErrorWaveOutputsBusy = 320;
// Any failure of the quiet system's multimedia interface ("the specified device is not open or is
// not recognized").
constexpr int kMciErrorNoDevice = 263;

// The view timer that ends a deferred host-printing job.
constexpr int kPrintCloseTimer = 2025;
// The view timer that paces a replayed file.
constexpr int kPlaybackTimer = 2022;

class HostSystem {
public:
    virtual ~HostSystem() = default;

    // ---- Programs.
    // WinExec: the result (below 32 is a failure code).
    virtual int WinExec(const char* commandLine, int showMode) { return 2; }
    // ShellExecute; null items are absent. The result (32 or less is a failure code).
    virtual int ShellExecute(ViewWindow window, const char* verb, const char* file, const char* parameters,
                             const char* directory, int showMode) { return 2; }
    // The Windows version number as GetVersion gives it: major in the low byte, minor in the next,
    // the build in the upper 16 bits.
    virtual uint32_t WindowsVersion() { return 0; }

    // ---- Windows.
    // ShowWindow of the main frame.
    virtual void ShowMainWindow(int showMode) {}
    // True while a terminal view exists.
    virtual bool HasView() { return false; }
    // Sets a timer of the terminal view (true when it was set), kills one.
    virtual bool SetViewTimer(int id, int milliseconds) { return false; }
    virtual void KillViewTimer(int id) {}

    // ---- Multimedia control interface.
    // mciSendString: reply gets the returned text (NUL-terminated within replySize).
    virtual int MciSend(const char* command, char* reply, int replySize)
    {
        if (reply && replySize > 0) reply[0] = '\0';
        return kMciErrorNoDevice;
    }
    // mciGetErrorString: false when the code has no text.
    virtual bool MciErrorText(int code, char* text, int size) { return false; }
};

HostSystem& System();
// Installs the system (not owned); null puts the quiet one back.
void SetHostSystem(HostSystem* system);
