// The bell of the character emulations: a host's BEL reaches the Win32 bell with the Beep
// setting as its sound type, in every emulation family.
#include <gtest/gtest.h>

#include <vector>

#include "engine/vt/vt_hooks.h"
#include "session/session_record.h"
#include "term_feed.h"
#include "engine/win32/win32_bell.h"

namespace {

std::vector<unsigned> rung;
void Record(unsigned soundType) { rung.push_back(soundType); }

TEST(TerminalBell, AHostBelSoundsInEveryEmulationFamily)
{
    // vt220, SCO console, uterm, Wyse 60, ADDS Viewpoint, dumb
    for (int emulation : {2, 4, 6, 9, 11, 7}) {
        SCOPED_TRACE(emulation);
        ASSERT_TRUE(SetUpTerminal(TermFeedSetup{emulation, 80, 24}));
        InstallTerminalBellWin32(&Record);
        Rec->Beep = 0x30;  // MB_ICONEXCLAMATION
        rung.clear();
        const uint8_t bytes[] = {'a', 0x07, 'b'};
        FeedTerminal(bytes, sizeof bytes, 0);
        EXPECT_EQ(rung, std::vector<unsigned>{0x30});
    }
    VtHooks = DefaultVtHooks();
}

}  // namespace
