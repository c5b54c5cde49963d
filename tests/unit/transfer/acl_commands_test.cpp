// Host file commands in a temporary folder: the replies and "S"/"F" codes the host gets, what
// happens to the files, and the transfers the commands start.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "connections/acl_commands.h"
#include "connections/acl_words.h"
#include "connections/transfer_driver.h"
#include "connections/transfer_steps.h"
#include "session/session_record.h"
#include "transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary) << data;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AclCommands : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        Rec->AclCompletionCodes = 1;
        Rec->AProtocol = kYmodem;
        if (home.empty()) home = fs::current_path();
        fs::current_path(home);
        folder = fs::temp_directory_path() / ("tolvi-acl-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "sub");
        fs::current_path(folder);
        WriteFile("a.txt", "alpha");
        WriteFile("b.dat", "bravo!");
    }
    void TearDown() override
    {
        fs::current_path(home);
        fs::remove_all(folder);
        TransferFixture::TearDown();
    }
    // The reply to one command.
    std::string Run(const char* command, int expectTransfer = 0)
    {
        sink.sent.clear();
        EXPECT_EQ(ExecuteAclCommand(command), expectTransfer) << command;
        return sink.sent;
    }

    fs::path home, folder;
};

TEST_F(AclCommands, FileOperationsAnswerSOnSuccessAndFOnEveryFailure)
{
    const struct {
        const char* command;
        const char* reply;
    } cases[] = {
        {"MKDIR made", "S\r"},
        {"mkdir made", "F\r"},  // exists already
        {"MKDIR", "F\r"},
        {"COPY a.txt made\\c.txt", "S\r"},
        {"APPEND b.dat made\\c.txt", "S\r"},
        {"APPEND a.txt a.txt", "F\r"},  // a file onto itself
        {"COPY nothing.txt x.txt", "F\r"},
        {"COPY a.txt", "F\r"},
        {"ERASE b.dat", "S\r"},
        {"ERASE b.dat", "F\r"},
        {"ERASE sub", "F\r"},  // a folder is not erased
        {"RMDIR made", "F\r"},  // not empty
        {"RMDIR a.txt", "F\r"},
        {"RMDIR sub", "S\r"},
        {"ERASE", "F\r"},
    };
    for (const auto& c : cases) EXPECT_EQ(Run(c.command), c.reply) << c.command;
    EXPECT_EQ(ReadFile("made/c.txt"), "alphabravo!");
    EXPECT_EQ(ReadFile("a.txt"), "alpha");
    EXPECT_FALSE(fs::exists("b.dat"));
    EXPECT_FALSE(fs::exists("sub"));
    EXPECT_EQ(host.panes[0], "ACL command:");
    EXPECT_EQ(host.panes[1], "ERASE");
}

TEST_F(AclCommands, ChangeDirectoryAppendsTheSeparatorAndFailsOnMissingFolders)
{
    EXPECT_EQ(Run("CD sub"), "S\r");
    EXPECT_EQ(fs::current_path(), fs::canonical(folder / "sub"));
    EXPECT_EQ(Run("CHDIR ..\\"), "S\r");
    EXPECT_EQ(fs::current_path(), fs::canonical(folder));
    EXPECT_EQ(Run("CD missing"), "F\r");
    EXPECT_EQ(Run("CD"), "F\r");
    EXPECT_EQ(fs::current_path(), fs::canonical(folder));
    EXPECT_EQ(Run("CD \\"), "S\r");  // one character: used as it is (the root)
    EXPECT_EQ(fs::current_path(), fs::current_path().root_path());
}

TEST_F(AclCommands, FileSizeAndDirectoryListing)
{
    WriteFile("c.txt", std::string(70000, 'x'));
    EXPECT_EQ(Run("FILESIZE a.txt"), "5\r");
    EXPECT_EQ(Run("FILESIZE c.*"), "70000\r");
    EXPECT_EQ(Run("FILESIZE sub"), "-2\r");
    EXPECT_EQ(Run("FILESIZE none.txt"), "-1\r");
    EXPECT_EQ(Run("FILESIZE"), "\r");
    EXPECT_EQ(Run("DIR *.txt"), "a.txt\rc.txt\r\r");
    EXPECT_EQ(Run("DIR"), "a.txt\rb.dat\rc.txt\rsub\r\r");
    EXPECT_EQ(Run("DIR sub\\*.*"), "\r");
    EXPECT_EQ(Run("DIR ?.DAT"), "b.dat\r\r");
}

TEST_F(AclCommands, SettingsCommandsAndUnknownWords)
{
    Rec->AXferConfirmError = 1;
    EXPECT_EQ(Run("CONTINUE"), "");
    EXPECT_EQ(Rec->AXferConfirmError, 0);
    Run("continue off");
    EXPECT_EQ(Rec->AXferConfirmError, 1);
    Run("SET DISABLE-COMP-CODES yes");
    EXPECT_EQ(Rec->AclCompletionCodes, 0);
    EXPECT_EQ(Run("ERASE nothing"), "");  // no code while they are off
    Run("SET DISABLE-COMP-CODES no");
    EXPECT_EQ(Rec->AclCompletionCodes, 1);
    EXPECT_EQ(Run("FROB a.txt"), "");
    EXPECT_EQ(Run("   "), "");
}

TEST_F(AclCommands, TransferWordsPickTheProtocolForThisCommandOnly)
{
    libs.Script("k-send", {5});
    libs.Script("k-send-next", {11});
    EXPECT_EQ(Run("KSEND a.txt", 1), "S\r");
    EXPECT_TRUE(Called("k-send:a.txt"));
    EXPECT_EQ(Rec->AProtocol, kYmodem);

    Transfer().receiveFile = "kept.bin";
    libs.Script("xy-recv", {5});
    libs.Script("xy-recv-next", {1});
    EXPECT_EQ(Run("XRECEIVE in.bin", 1), "S\r");
    EXPECT_TRUE(Called("xy-recv:in.bin:X"));
    EXPECT_EQ(Transfer().receiveFile, "kept.bin");

    // A failure in the transfer answers F.
    libs.Script("z-recv", {12});
    libs.Script("z-recv-next", {-1});
    libs.lastError = 103;
    EXPECT_EQ(Run("ZRECEIVE", 1), "F\r");

    // SEND keeps the session's protocol.
    libs.lastError = 0;
    libs.Script("xy-send", {5});
    libs.Script("xy-send-next", {10});
    EXPECT_EQ(Run("SEND b.dat", 1), "S\r");
    EXPECT_TRUE(Called("xy-send:b.dat:T"));
}

TEST_F(AclCommands, AKermitTransferThatDoesNotStartFinishesTheServerAndAnswersF)
{
    struct Case {
        const char* command;
        void (*arrange)(ScriptedLibraries&);
        bool finished;  // the finish packet could go out (it needs the port as well)
    };
    const Case cases[] = {
        {"KRECEIVE x", [](ScriptedLibraries& l) { l.Script("k-recv", {-1}); }, true},
        {"KSEND x", [](ScriptedLibraries& l) { l.Script("k-send", {-1}); }, true},
        {"KSEND x", [](ScriptedLibraries& l) { l.Script("open", {-1}); }, false},
    };
    for (const Case& c : cases) {
        SetUp();
        c.arrange(libs);
        const std::string reply = Run(c.command, 1);
        EXPECT_EQ(reply.find("\x01$ GF4\r") != std::string::npos, c.finished) << c.command;
        EXPECT_EQ(reply.substr(reply.size() - 2), "F\r") << c.command;
        EXPECT_EQ(Rec->AProtocol, kYmodem);
    }
    // A transfer refused because one runs: F as well.
    SetUp();
    Rec->TransferActive = 1;
    EXPECT_EQ(Run("XSEND a.txt", 1), "F\r");
}

TEST_F(AclCommands, KbyeFinishesTheServerAndNothingRunsWithoutAView)
{
    EXPECT_EQ(Run("KBYE"), "\x01$ GF4\r");
    EXPECT_EQ(Rec->AProtocol, kYmodem);
    SetConnectionView(nullptr);
    EXPECT_EQ(ExecuteAclCommand("MKDIR never"), 0);
    EXPECT_FALSE(fs::exists("never"));
}

}  // namespace

namespace {

TEST(AclWords, SplitAndWildcards)
{
    const AclWords words = SplitAclCommand("  ksend  a b   c");
    EXPECT_EQ(words.command, "KSEND");
    EXPECT_EQ(words.first, "a");
    EXPECT_EQ(words.second, "b");
    EXPECT_EQ(SplitAclCommand("DIR").first, "");
    const struct {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"Report.TXT", "*.txt", true}, {"a.b.c", "*.c", true},   {"abc", "a?c", true},
        {"ac", "a?c", false},          {"abc", "*", true},       {"", "*", true},
        {"abc", "", false},            {"x.dat", "?.DAT", true}, {"xx.dat", "?.dat", false},
    };
    for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
    // A pattern of many stars against a long name that never matches ends at once.
    EXPECT_FALSE(WildcardMatch(std::string(5000, 'a'), std::string(2000, '*') + "b"));
}

}  // namespace
