// Play files of any content through the replay as the view's timer drives it: tokens, comm and
// key modes, DATA:, CALL: and RUN: of a second file, LOOP:, WAIT:, PAUSE:, RETURN: and the ends,
// with the played bytes going into a VT terminal.
//
// Input: byte 0 picks the key delays, the steps per tick and the 3270 family; byte 1 says where
// the first file ends and the second ("b", which the first may call) begins; the rest is the two
// files. The files live in a folder of their own in memory-backed /dev/shm, the current folder
// while the input plays.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "connections/session_replay.h"
#include "session/session_record.h"
#include "term_feed.h"

namespace {

class FeedHost : public PlaybackHost {
public:
    bool StartTimer(int milliseconds) override
    {
        if (milliseconds <= 0) std::abort();  // a timer of no time would never tick
        return true;
    }
    void KillTimer() override {}
    void PlayBytes(const uint8_t* bytes, int count) override
    {
        if (count <= 0 || count > 2050) std::abort();
        ::PlayBytes(nullptr, bytes, count);
    }
    void PrivateCommand3270(const uint8_t*, int count) override
    {
        if (count <= 0 || count > 2048) std::abort();
    }
    void Repaint() override {}
    void ShowMessage(int, const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    void SetProgress(int percent) override
    {
        if (percent < -1 || percent > 100) std::abort();
    }
    void SetPlayingFile(const std::string&) override {}
    void CloseMainWindow() override {}
    void ReplayEnded() override {}
};

void WriteFile(const char* name, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(name, "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

// The folder of the files, made once; the run is in it only while an input plays (the fuzzer
// reads its corpus by relative names).
const std::string& ScratchFolder()
{
    static const std::string folder = "/dev/shm/tolvi-replay-fuzz-" + std::to_string(getpid());
    static const bool made = (mkdir(folder.c_str(), 0700), true);
    (void)made;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FeedHost host;
    static const bool installed = (SetPlaybackHost(&host), true);
    (void)installed;
    if (size < 2) return 0;
    const int home = open(".", O_RDONLY | O_DIRECTORY);
    if (home < 0 || chdir(ScratchFolder().c_str()) != 0) std::abort();

    TermFeedSetup setup;
    setup.emulation = 10;
    if (!SetUpTerminal(setup)) std::abort();
    Rec->PlayDelay = 1;
    Rec->PlayKeyDelay = (data[0] & 1) ? 50 : 0;
    Rec->PlayEnterDelay = (data[0] & 2) ? 500 : 0;
    Rec->PlayDelayIntervall = 1 + ((data[0] >> 2) & 7);
    Rec->TerminalFamily3270 = (data[0] & 0x20) ? 1 : 0;

    const size_t body = size - 2;
    const size_t split = body * data[1] / 255;
    WriteFile("a", data + 2, split);
    WriteFile("b", data + 2 + split, body - split);

    if (OpenPlayFile("a", 0) == 1) {
        for (int tick = 0; tick < 300 && Rec->PlaybackState != 0; ++tick) {
            Rec->PlaybackState &= ~kPlaybackPaused;  // the user goes on
            PlaybackStep(false);
            if (PlayFileStack().size() > static_cast<size_t>(kMaxPlayFileNesting)) std::abort();
        }
    }
    CloseAllPlayFiles();
    if (fchdir(home) != 0) std::abort();
    close(home);
    return 0;
}
