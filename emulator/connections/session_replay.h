// The replay: plays a comm recording or a hand-written play file back into the terminal, in steps
// driven by the view's timer 2022. Play files may call other play files (CALL:, with return),
// be replaced (RUN:), loop, wait, pause and play quoted key-string texts (DATA:).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One file of the play-file stack: its name and the position to go on from.
struct PlayFileEntry {
    std::string name;
    int64_t position = 0;
};

// Deepest nesting of CALL: files; a deeper call is refused with message 45.
constexpr int kMaxPlayFileNesting = 32;
// PlaybackState values: 0 off, 1 playing, this bit paused.
constexpr int kPlaybackPaused = 2;

// What the replay needs of the view and the shell.
class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;
    virtual bool StartTimer(int milliseconds) = 0;  // the view's timer 2022; false: none left
    virtual void KillTimer() = 0;
    virtual void PlayBytes(const uint8_t* bytes, int count) = 0;   // see PlayBytes below
    virtual void PrivateCommand3270(const uint8_t* bytes, int count) = 0;
    virtual void Repaint() = 0;
    virtual void ShowMessage(int stringId, const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;      // status pane 1
    virtual void SetProgress(int percent) = 0;                     // -1 takes the bar away
    virtual void SetPlayingFile(const std::string& name) = 0;      // told to the document
    virtual void CloseMainWindow() = 0;                            // QUIT:
    virtual void ReplayEnded() = 0;  // the view's start-up sequence goes on when it waited
};
// Installs the host (not owned); null puts a quiet one back.
void SetPlaybackHost(PlaybackHost* host);

// Opens a play file at a position and pushes it; the current file is closed first. Returns
// Rec->PlaybackState (1 on success). A file that is not a recording is not opened: a play file
// is text, so a control byte other than the blanks in the block where playing starts, or no
// token at all, tells another kind of file.
int OpenPlayFile(const char* name, int64_t position);
// Why the last OpenPlayFile failed, to follow the file's name in the message: "" when the file
// did not open, " (not a recording)" when it is another kind of file.
const char* PlayOpenFailureNote();
// Closes the file being played and drops its entry; 1 when it closed cleanly.
int CloseCurrentPlayFile();
// Remembers the current position in the top entry and pushes a copy of it; the stack's upper
// index. -1 when the stack is full.
int PushPlayFile();
// Closes the current file and goes on with the one below it, at its remembered position.
int PopPlayFile();
void CloseAllPlayFiles();
// One timer tick: up to PlayDelayIntervall steps. `pause` pauses a running replay. Returns
// Rec->PlaybackState.
int PlaybackStep(bool pause);
// The stack, bottom first (for tests and the view).
const std::vector<PlayFileEntry>& PlayFileStack();

// Plays bytes into the session: through the Telnet receiver on a Telnet connection (as if
// received), else straight into the emulation.
struct ViewWindowTag;
void PlayBytes(ViewWindowTag* window, const uint8_t* bytes, int count);
