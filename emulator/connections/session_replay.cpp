// The replay engine; see session_replay.h. Runs on the user-interface thread only.
#include "connections/session_replay.h"

#include <cstdio>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/file_offsets.h"
#include "connections/play_tokens.h"
#include "connections/telnet_host_data.h"
#include "engine/key_strings.h"
#include "session/session_record.h"

namespace {

class QuietHost : public PlaybackHost {
public:
    bool StartTimer(int) override { return true; }
    void KillTimer() override {}
    void PlayBytes(const uint8_t*, int) override {}
    void PrivateCommand3270(const uint8_t*, int) override {}
    void Repaint() override {}
    void ShowMessage(int, const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    void SetProgress(int) override {}
    void SetPlayingFile(const std::string&) override {}
    void CloseMainWindow() override {}
    void ReplayEnded() override {}
};

QuietHost quietHost;
PlaybackHost* host = &quietHost;

constexpr int kStepBytes = 2048;
constexpr int kTelnetComType = 2;

std::vector<PlayFileEntry> stack;
bool commMode = false;
int64_t fileSize = 1;
int reportedState = 0;  // PlaybackState when the status pane was last written

const char kFailedToPlay[] = "Failed to play file: ";
const char* failureNote = "";

// A play file is text: tokens, blanks and line ends. Another kind of file shows itself in the
// block where playing starts by a control byte, or by having no token at all.
bool IsRecording(std::FILE* file)
{
    unsigned char block[4096];
    const std::size_t n = std::fread(block, 1, sizeof block, file);
    bool token = false;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = block[i];
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
        if (c < 0x20 && !blank) return false;
        if (!blank) token = true;
    }
    return token || n == sizeof block;
}

std::string CurrentName() { return stack.empty() ? std::string() : stack.back().name; }

void ShowFailed(const std::string& name, const char* why)
{
    host->ShowMessage(45, kFailedToPlay + name + why);
}

}  // namespace

const char* PlayOpenFailureNote() { return failureNote; }

void SetPlaybackHost(PlaybackHost* h) { host = h ? h : &quietHost; }

const std::vector<PlayFileEntry>& PlayFileStack() { return stack; }

int OpenPlayFile(const char* name, int64_t position)
{
    if (Rec->PlaybackFile) CloseCurrentPlayFile();
    // Binary: positions told and sought must agree on every runtime; CR is a blank to the reader.
    std::FILE* file = std::fopen(name, "rb");
    failureNote = "";
    if (!file) return Rec->PlaybackState;
    SeekFile64(file, position, SEEK_SET);
    if (!IsRecording(file)) {
        std::fclose(file);
        failureNote = " (not a recording)";
        return Rec->PlaybackState;
    }
    stack.push_back({name, position});
    ++Rec->PlaybackGeneration;
    SeekFile64(file, 0, SEEK_END);
    fileSize = TellFile64(file);
    if (fileSize <= 0) fileSize = 1;
    SeekFile64(file, position, SEEK_SET);
    commMode = true;
    Rec->PlaybackFile = file;
    Rec->PlaybackState = 1;
    host->SetPlayingFile(name);
    host->SetStatusText(std::string("Playing file: ") + name + "  ...");
    return Rec->PlaybackState;
}

int CloseCurrentPlayFile()
{
    commMode = false;
    ++Rec->PlaybackGeneration;
    int clean = 1;
    if (Rec->PlaybackFile) {
        clean = std::fclose(Rec->PlaybackFile) == 0;
        if (!stack.empty()) stack.pop_back();
    }
    Rec->PlaybackFile = nullptr;
    Rec->PlaybackState = 0;
    host->SetProgress(-1);
    host->SetStatusText("");
    return clean;
}

int PushPlayFile()
{
    if (Rec->PlaybackFile && !stack.empty()) {
        if (static_cast<int>(stack.size()) >= kMaxPlayFileNesting) return -1;
        stack.back().position = TellFile64(Rec->PlaybackFile);
        stack.push_back(stack.back());
    }
    return static_cast<int>(stack.size()) - 1;
}

int PopPlayFile()
{
    CloseCurrentPlayFile();
    if (!stack.empty()) {
        const PlayFileEntry entry = stack.back();
        stack.pop_back();
        OpenPlayFile(entry.name.c_str(), entry.position);
    }
    return static_cast<int>(stack.size()) - 1;
}

void CloseAllPlayFiles()
{
    CloseCurrentPlayFile();
    stack.clear();
}

void PlayBytes(ViewWindowTag* window, const uint8_t* bytes, int count)
{
    if (count <= 0) return;
    if (Rec->ComType == kTelnetComType) ReplayHostData(window, bytes, count);
    else FeedEmulation(window, bytes, count);
}

namespace {

// How a step ended.
enum class StepEnd { Delay, EndFile, EndAll, Quit };

struct Step {
    uint8_t bytes[kStepBytes + 2];  // + 2: an ESC pair may start at the last free byte
    int count = 0;
    int delay = 0;
    bool pause = false;
    bool fromData = false;
    StepEnd end = StepEnd::Delay;
};

void PlayCollected(Step& s)
{
    if (s.count > 0) host->PlayBytes(s.bytes, s.count);
    s.count = 0;
}

// DATA:, CALL: and RUN:: the bytes so far are played, then the text is read and played or
// opened. The step ends here.
void PlayText(Step& s, PlayKeyword keyword, int generation)
{
    commMode = true;
    PlayCollected(s);
    if (Rec->PlaybackGeneration != generation) {
        if (Rec->PlaybackState) s.delay = 1;
        return;
    }
    char text[kPlayTextMax + 1];
    ReadPlayText(Rec->PlaybackFile, text);
    uint8_t decoded[kPlayTextMax];
    const int n = DecodeKeyString(text, decoded, kPlayTextMax, false, false);
    if (keyword == PlayKeyword::Data) {
        std::memcpy(s.bytes, decoded, n);
        s.count = n;
        s.fromData = true;
        s.delay = 1;
        return;
    }
    const std::string name(reinterpret_cast<const char*>(decoded), n);
    if (name.empty()) return;
    if (keyword == PlayKeyword::Call && PushPlayFile() < 0) {
        ShowFailed(name, " (play files nested too deeply)");
        return;
    }
    if (OpenPlayFile(name.c_str(), 0)) {
        s.delay = 1;
    } else {
        ShowFailed(name, PlayOpenFailureNote());
        s.delay = 0;
    }
}

// Reads tokens into the step until a keyword or a key delay ends it.
void ReadStep(Step& s, int generation)
{
    char token[kPlayTokenMax + 1];
    bool looped = false;
    while (s.count < kStepBytes) {
        if (ReadPlayToken(Rec->PlaybackFile, token) == 0) {
            s.delay = 0;
            return;
        }
        switch (PlayKeywordOf(token)) {
        case PlayKeyword::Comm: commMode = true; return;
        case PlayKeyword::Data:
        case PlayKeyword::Call:
        case PlayKeyword::Run: PlayText(s, PlayKeywordOf(token), generation); return;
        case PlayKeyword::Send:
        case PlayKeyword::Keyb:
        case PlayKeyword::Time:
        case PlayKeyword::Delta: commMode = false; break;
        case PlayKeyword::Return: s.delay = 0; return;
        case PlayKeyword::Exit: s.delay = 0; s.end = StepEnd::EndAll; return;
        case PlayKeyword::Quit: s.delay = 0; s.end = StepEnd::Quit; return;
        case PlayKeyword::Wait: s.delay = 5000; return;
        case PlayKeyword::Pause: s.delay = 1; s.pause = true; return;
        case PlayKeyword::Loop:
            commMode = false;
            std::fseek(Rec->PlaybackFile, 0, SEEK_SET);
            // Round the whole file twice in one step without anything that ends a step: the
            // file only loops, and the next round waits for the next tick (the window answers).
            if (looped) {
                if (s.delay <= 0) s.delay = 1;
                return;
            }
            looped = true;
            break;
        case PlayKeyword::None:
            if (commMode) {
                s.count += PlayTokenBytes(token, s.bytes + s.count);
            } else if (Rec->PlayKeyDelay != 0) {
                s.delay = Rec->PlayKeyDelay;
                return;
            } else if (std::strcmp(token, "CR") == 0 && Rec->PlayEnterDelay != 0) {
                s.delay = Rec->PlayEnterDelay;
                return;
            }
            break;
        }
    }
}

void ShowProgressAndStatus(int delay)
{
    if (Rec->PlaybackState && delay && Rec->PlaybackFile) {
        const int64_t position = TellFile64(Rec->PlaybackFile);
        host->SetProgress(static_cast<int>(position * 100 / fileSize));
    }
    if (Rec->PlaybackState == reportedState) return;
    reportedState = Rec->PlaybackState;
    if (Rec->PlaybackState == 0) host->SetStatusText("");
    else host->SetStatusText((Rec->PlaybackState == 1 ? "Playing: " : "Paused: ") + CurrentName());
}

}  // namespace

int PlaybackStep(bool pause)
{
    int stepsLeft = Rec->PlayDelayIntervall;
    for (;;) {
        Step s;
        s.delay = Rec->PlayDelay;
        const int generation = Rec->PlaybackGeneration;
        host->KillTimer();
        if (Rec->PlaybackState == 1 && Rec->PlaybackFile) ReadStep(s, generation);

        if (s.count > 0) {
            if (Rec->TerminalFamily3270 && s.fromData) host->PrivateCommand3270(s.bytes, s.count);
            else host->PlayBytes(s.bytes, s.count);
            host->Repaint();
        }
        if (Rec->PlaybackGeneration != generation && Rec->PlaybackState) s.delay = 1;

        if (s.delay == 0) {
            CloseCurrentPlayFile();
            if (s.end == StepEnd::EndAll || s.end == StepEnd::Quit) {
                CloseAllPlayFiles();
                if (s.end == StepEnd::Quit) host->CloseMainWindow();
            } else {
                PopPlayFile();
                if (Rec->PlaybackState) s.delay = 1;
            }
        }
        if (s.delay != 0 && Rec->PlaybackState && !host->StartTimer(s.delay)) {
            host->ShowMessage(72, "Out of System Timers.\nUnable to run timer-dependant tasks.\n"
                                  "Quit one or more other applications and then retry.");
            CloseAllPlayFiles();
        }
        if ((pause || s.pause) && Rec->PlaybackState) Rec->PlaybackState |= kPlaybackPaused;
        ShowProgressAndStatus(s.delay);
        if (Rec->PlaybackState == 0) host->ReplayEnded();

        if (s.delay == 0 || Rec->PlaybackState != 1 || --stepsLeft <= 0) break;
    }
    return Rec->PlaybackState;
}
