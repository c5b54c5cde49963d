// Private host commands replayed in 3270 mode: their checks, and where each number goes.
#include "engine/ibm3270/private_command.h"
#include "tn3270_fixture.h"

namespace {

using PrivateCommand = Tn3270Test;

TEST_F(PrivateCommand, ChecksAndDispatch)
{
    struct Case {
        const char* name;
        std::string sequence;
        int result;
        const char* call;  // "" when nothing is called
    };
    const Case cases[] = {
        {"too short", "\x1b[1", 1, ""},
        {"no ESC", "x[1ytext\x1b\\", 2, ""},
        {"no bracket", "\x1bx1ytext\x1b\\", 3, ""},
        {"no parameters", "\x1b[ytext\x1b\\", 4, ""},
        {"no text", "\x1b[1y\x1b\\", 6, ""},
        {"no backslash", "\x1b[1ytext\x1b/", 7, ""},
        {"no ESC before the backslash", "\x1b[1ytextx\\", 8, ""},
        {"unknown number", "\x1b[5y", 5, ""},
        {"program with its show mode", "\x1b[2;3ynotepad\x1b\\", 0, "WinExec 3 notepad"},
        {"program with the default show mode", "\x1b[1ycalc\x1b\\", 0, "WinExec 5 calc"},
        {"multimedia", "\x1b[4yplay x.wav\x1b\\", 0, "RunMciCommand play x.wav"},
        {"host button", "\x1b[7;2;3yOK\x1b\\", 0, "DoPrivateCommand 7 [2 3] OK"},
        {"capture file name", "\x1b[13ycap.txt\x1b\\", 0, "DoPrivateCommand 13 [] cap.txt"},
        {"window title", "\x1b[22yTitle\x1b\\", 0, "DoPrivateCommand 22 [] Title"},
        {"direct command", "\x1b[15;1y", 0, "CsiDispatch y [15 1]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCalls.commands.clear();
        EXPECT_EQ(Do3270PrivateCommand(nullptr, nullptr, reinterpret_cast<const uint8_t*>(c.sequence.data()),
                                       static_cast<int>(c.sequence.size())),
                  c.result);
        EXPECT_EQ(FakeCalls.commands, *c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{});
    }
}

TEST_F(PrivateCommand, FailedProgramStartIsReported)
{
    FakeCalls.winExecResult = 2;
    const std::string sequence = "\x1b[3ymissing.exe\x1b\\";
    Do3270PrivateCommand(nullptr, nullptr, reinterpret_cast<const uint8_t*>(sequence.data()),
                         static_cast<int>(sequence.size()));
    EXPECT_EQ(FakeCalls.messages, std::vector<std::string>{"WinExec \"missing.exe\" failed; error code = 2"});
}

TEST_F(PrivateCommand, ProgramsAreRefusedQuietlyWhileTheDosBoxIsLocked)
{
    FakeCalls.winExecResult = 2;
    Rec->LockDosBox = 1;
    const std::string sequence = "\x1b[1ycmd.exe /c del x\x1b\\";
    EXPECT_EQ(Do3270PrivateCommand(nullptr, nullptr, reinterpret_cast<const uint8_t*>(sequence.data()),
                                   static_cast<int>(sequence.size())),
              0);
    EXPECT_TRUE(FakeCalls.commands.empty());
    EXPECT_TRUE(FakeCalls.messages.empty());
}

}  // namespace
