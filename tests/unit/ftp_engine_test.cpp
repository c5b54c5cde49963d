// The FTP engine and API against real servers on 127.0.0.1, started by with_ftp_servers: vsftpd
// for a real daemon's behaviour, the scripted pyftpdlib server for odd servers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ftp_api.h"
#include "ftp_session.h"
#include "ftp_test_host.h"
#include "listing_parsers.h"
#include "listing_reader.h"

namespace {

const std::string kListings = std::string(TOLVI_FTP_DATA_DIR) + "/listings/";

std::vector<std::string> ListedNames(const char* mask = "*", int wantDirs = 1)
{
    std::vector<std::string> names;
    char name[512];
    char info[512];
    int kind = 0;
    for (int r = ListingFindFirst(mask, wantDirs, name, sizeof name, info, sizeof info, &kind); r == 0;
         r = ListingParser(name, sizeof name, info, sizeof info, &kind))
        names.push_back(std::string(kind == kEntryDirectory ? "D " : "F ") + name);
    return names;
}

class FtpServer : public testing::Test {
protected:
    void Begin(const char* variable)
    {
        const char* address = std::getenv(variable);
        if (address == nullptr)
            GTEST_SKIP() << variable << " is not set: run through tests/unit/ftp_servers/with_ftp_servers";
        address_ = address;
        ResetFtpSession();
        ASSERT_EQ(FtpInit(&host, SystemNet()), 0);
        FtpSetTimeout(20);
        FtpSetVerbose(1);
        FtpSetDebug(1);
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        prefix_ = std::string(test->name()) + "_";
        dir_ = std::string("ftp_engine_files/") + test->test_suite_name() + "/" + test->name();
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        FtpSetTempDir(dir_.c_str());
    }

    void TearDown() override
    {
        host.onPump = nullptr;
        host.onProgress = nullptr;
        if (!address_.empty()) {
            FtpClose();
            FtpRelease();
        }
        ResetFtpSession();
    }

    int Login(const char* user, const char* password) { return FtpLogin(address_.c_str(), user, password); }
    std::string Local(const std::string& name) const { return dir_ + "/" + name; }
    // A remote name of this test's own.
    std::string Remote(const std::string& name) const { return prefix_ + name; }

    // Uploads bytes in binary.
    void Upload(const std::string& remote, const std::string& bytes)
    {
        WriteFileBytes(Local("upload.tmp"), bytes);
        ASSERT_EQ(FtpPut(Local("upload.tmp").c_str(), remote.c_str(), 'I', 0, 0, 0, 0), 0) << remote;
    }
    // Downloads in binary; the bytes, or "<failed N>".
    std::string Download(const std::string& remote, char type = 'I')
    {
        const std::string path = Local("download.tmp");
        std::remove(path.c_str());
        const int r = FtpGet(remote.c_str(), path.c_str(), type, 0, 0, 0, 0);
        return r == 0 ? ReadFileBytes(path) : "<failed " + std::to_string(r) + ">";
    }

    RecordingFtpHost host;
    std::string address_;
    std::string prefix_;
    std::string dir_;
};

class Vsftpd : public FtpServer {
protected:
    void SetUp() override
    {
        Begin("TOLVI_FTP_VSFTPD");
        if (IsSkipped())
            return;
        ASSERT_EQ(Login("anonymous", "tester@example.org"), 0);
        char home[512];
        ASSERT_EQ(FtpPwd(home, sizeof home), 0);
        home_ = home;
    }
    std::string home_;  // the server's folder for this run
};

class Scripted : public FtpServer {
protected:
    void SetUp() override
    {
        Begin("TOLVI_FTP_SCRIPTED");
        if (IsSkipped())
            return;
        ASSERT_EQ(Login("tolvi", "secret"), 0);
    }
    void Mode(const std::string& mode) { ASSERT_EQ(FtpRawCommand(("SITE MODE " + mode).c_str()), 0) << mode; }
    // A fresh connection (to pick up a greeting mode).
    int Reconnect()
    {
        FtpClose();
        return Login("tolvi", "secret");
    }
};

// ---- log-on and simple commands -------------------------------------------------------------

TEST_F(Vsftpd, LogOnAndDirectoryCommands)
{
    EXPECT_TRUE(Ftp().loggedIn);
    EXPECT_EQ(host.title, "FTP: " + address_);
    EXPECT_TRUE(RecordingFtpHost::Has(host.info, "PASS xxxxxx")) << "the password is never logged";
    EXPECT_FALSE(RecordingFtpHost::Has(host.info, "tester@example.org"));
    EXPECT_EQ(Login("anonymous", "x"), kFtpConnectFailed) << "a connection exists";

    const std::string dir = Remote("dir");
    char made[64] = {};
    EXPECT_EQ(FtpMkdir(dir.c_str(), made, sizeof made), 0);
    EXPECT_EQ(made, dir);
    EXPECT_EQ(FtpMkdir(dir.c_str(), nullptr, 0), kFtpRefused) << "exists already";
    EXPECT_EQ(FtpCd(dir.c_str()), 0);
    char pwd[256] = {};
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), 0);
    EXPECT_EQ(std::string(pwd), home_ + "/" + dir);
    char cut[4] = {};
    EXPECT_EQ(FtpPwd(cut, sizeof cut), 0);
    EXPECT_EQ(cut, home_.substr(0, 3)) << "cut to the buffer";
    EXPECT_EQ(FtpCd(".."), 0);
    EXPECT_EQ(FtpCd("no-such-directory"), kFtpRefused);
    EXPECT_EQ(FtpRmdir(dir.c_str()), 0);
    EXPECT_EQ(FtpRmdir(dir.c_str()), kFtpRefused);
    EXPECT_EQ(FtpRawCommand("NOOP"), 0);
    EXPECT_EQ(FtpRawCommand("NOSUCHCOMMAND"), kFtpRefused);
}

TEST_F(Vsftpd, DeleteAndClosedSession)
{
    const std::string name = Remote("f.txt");
    Upload(name, "data");
    EXPECT_EQ(FtpDelete(name.c_str()), 0);
    EXPECT_EQ(FtpDelete(name.c_str()), kFtpRefused);
    ASSERT_EQ(FtpDir("*"), 0);
    EXPECT_EQ(FtpClose(), 0);
    EXPECT_FALSE(Ftp().loggedIn);
    const std::size_t sent = host.Sent().size();
    EXPECT_EQ(FtpCd("/"), kFtpNotConnected);
    EXPECT_EQ(FtpDelete(name.c_str()), kFtpNotConnected);
    EXPECT_EQ(FtpDir("*"), kFtpNotConnected);
    EXPECT_EQ(FtpPut(Local("x").c_str(), "x", 'I', 0, 0, 0, 0), kFtpNotConnected);
    EXPECT_EQ(host.Sent().size(), sent) << "nothing goes to the network";
    EXPECT_TRUE(RecordingFtpHost::Has(host.info, "Connection Closed"));
}

// ---- transfers ----------------------------------------------------------------------------------

TEST_F(Vsftpd, BinaryTransfersAreByteExact)
{
    const std::string bytes = PatternBytes(300001);
    const std::string name = Remote("data.bin");
    WriteFileBytes(Local("data.bin"), bytes);
    ASSERT_EQ(FtpPut(Local("data.bin").c_str(), name.c_str(), 'I', 1, 0x1234, 0x501, 0), 0);
    EXPECT_EQ(host.lastProgressWindow, 0x1234u);
    EXPECT_EQ(host.lastProgressMessage, 0x501u);
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.back(), 300001);
    EXPECT_EQ(FtpBytesTotal(), 300001);

    host.progress.clear();
    EXPECT_EQ(Download(name), bytes);
    EXPECT_EQ(FtpBytesTotal(), 300001) << "from the 150 reply";
    EXPECT_EQ(FtpBytesDone(), 300001);
    for (std::size_t i = 1; i < host.progress.size(); ++i)
        ASSERT_LT(host.progress[i - 1], host.progress[i]);

    // APPE, and a download appended to a local file.
    WriteFileBytes(Local("tail.bin"), "TAIL");
    ASSERT_EQ(FtpPut(Local("tail.bin").c_str(), name.c_str(), 'I', 0, 0, 0, 1), 0);
    EXPECT_TRUE(Download(name) == bytes + "TAIL");
    WriteFileBytes(Local("local.bin"), "HEAD");
    ASSERT_EQ(FtpGet(name.c_str(), Local("local.bin").c_str(), 'I', 0, 0, 0, 1), 0);
    EXPECT_TRUE(ReadFileBytes(Local("local.bin")) == "HEAD" + bytes + "TAIL");

    EXPECT_EQ(Download(Remote("missing.bin")), "<failed 1011>");
    EXPECT_EQ(FtpPut(Local("tail.bin").c_str(), "no-such-dir/x", 'I', 0, 0, 0, 0), kFtpTransferFailed);
    EXPECT_FALSE(FileExists(Local("download.tmp"))) << "a refused RETR creates no file";
}

TEST_F(Vsftpd, AsciiTransfersTranslateLineEnds)
{
    const std::string name = Remote("text.txt");
    WriteFileBytes(Local("text.txt"), "one\r\ntwo\r\n\r\nthree\r\n");
    ASSERT_EQ(FtpPut(Local("text.txt").c_str(), name.c_str(), 'A', 0, 0, 0, 0), 0);
    EXPECT_EQ(Download(name, 'I'), "one\ntwo\n\nthree\n") << "stored with the server's line ends";
    EXPECT_EQ(Download(name, 'a'), "one\r\ntwo\r\n\r\nthree\r\n") << "the type letter is upper-cased";
    EXPECT_EQ(Download(name, 'I'), "one\ntwo\n\nthree\n");
    const std::vector<std::string> sent = host.Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "TYPE A"), sent.end());
    EXPECT_EQ(std::find(sent.begin(), sent.end(), "TYPE a"), sent.end());
}

TEST_F(Vsftpd, MissingLocalFileLeavesTheRemoteFileAlone)
{
    const std::string name = Remote("keep.txt");
    Upload(name, "precious");
    const std::size_t sent = host.Sent().size();
    EXPECT_EQ(FtpPut(Local("no-such-file").c_str(), name.c_str(), 'I', 0, 0, 0, 0), kFtpLocalFile);
    EXPECT_EQ(host.Sent().size(), sent) << "no STOR went out";
    EXPECT_TRUE(RecordingFtpHost::Has(host.error, "Could not open file"));
    EXPECT_EQ(Download(name), "precious");
    EXPECT_EQ(FtpGet(name.c_str(), (Local("no-such-dir") + "/x").c_str(), 'I', 0, 0, 0, 0), kFtpLocalFile);
    EXPECT_EQ(FtpRawCommand("NOOP"), 0) << "replies still in step";
    EXPECT_EQ(Ftp().lastCode, 200);
}

TEST_F(Vsftpd, AbortedDownloadDeletesTheNewFileAndKeepsRepliesInStep)
{
    const std::string name = Remote("big.bin");
    const std::string bytes = PatternBytes(6 << 20);
    Upload(name, bytes);
    host.onProgress = [](std::int64_t) { FtpAbort(); };
    const std::string path = Local("big.bin");
    EXPECT_EQ(FtpGet(name.c_str(), path.c_str(), 'I', 0, 0, 0, 0), kFtpAborted);
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(RecordingFtpHost::Has(host.info, "Delete partially downloaded file"));
    EXPECT_EQ(FtpErrorText(kFtpAborted), std::string("Transfer aborted by user FtpAbort"));
    host.onProgress = nullptr;
    char pwd[512];
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), 0);
    EXPECT_EQ(pwd, home_);
    EXPECT_TRUE(Download(name) == bytes) << "the next transfer starts clean";
}

TEST_F(Vsftpd, AbortedUploadConsumesBothReplies)
{
    const std::string name = Remote("up.bin");
    WriteFileBytes(Local("up.bin"), PatternBytes(6 << 20));
    host.onProgress = [](std::int64_t) { FtpAbort(); };
    EXPECT_EQ(FtpPut(Local("up.bin").c_str(), name.c_str(), 'I', 0, 0, 0, 0), kFtpAborted);
    host.onProgress = nullptr;
    EXPECT_TRUE(Ftp().loggedIn);
    EXPECT_EQ(FtpRawCommand("NOOP"), 0);
    EXPECT_EQ(Ftp().lastCode, 200) << "the STOR and ABOR replies were both read";
    char pwd[512];
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), 0);
    EXPECT_EQ(pwd, home_);
}

TEST_F(Vsftpd, OneOperationAtATime)
{
    const std::string name = Remote("busy.bin");
    WriteFileBytes(Local("busy.bin"), PatternBytes(1 << 20));
    std::vector<int> refused;
    host.onProgress = [&](std::int64_t) {
        if (!refused.empty())
            return;
        refused.push_back(FtpCd("/"));
        refused.push_back(FtpDelete("x"));
        refused.push_back(FtpGet("x", "y", 'I', 0, 0, 0, 0));
        refused.push_back(FtpLogin("127.0.0.1", "a", "b"));
        refused.push_back(FtpDir("*"));
        refused.push_back(FtpClose());
        refused.push_back(FtpBusyCount() != 0);
    };
    ASSERT_EQ(FtpPut(Local("busy.bin").c_str(), name.c_str(), 'I', 0, 0, 0, 0), 0);
    EXPECT_EQ(refused, (std::vector<int>{kFtpRefused, kFtpRefused, kFtpTransferFailed, kFtpConnectFailed,
                                         kFtpRefused, kFtpCloseBusy, 1}));
    EXPECT_EQ(FtpBusyCount(), 0);
    EXPECT_TRUE(Download(name) == PatternBytes(1 << 20));
}

TEST_F(Vsftpd, OverlongOrMultiLineCommandsAreRefusedNotCut)
{
    const std::string keep = Remote("keep");
    Upload(keep, "k");
    // Cut at any length, this name would name the file above.
    const std::string longName = keep + std::string(600, 'x');
    const std::size_t sent = host.Sent().size();
    EXPECT_EQ(FtpDelete(longName.c_str()), kFtpRefused);
    EXPECT_EQ(FtpDelete(("nothing\r\nDELE " + keep).c_str()), kFtpRefused);
    EXPECT_EQ(FtpPut(Local("upload.tmp").c_str(), longName.c_str(), 'I', 0, 0, 0, 0), kFtpBadParameters)
        << "the client refused it, not the host";
    EXPECT_EQ(FtpDir(longName.c_str()), kFtpRefused);
    EXPECT_EQ(host.Sent().size(), sent) << "nothing of the refused commands went out";
    EXPECT_EQ(Download(keep), "k");
}

TEST_F(Vsftpd, ListingOfTheServer)
{
    const std::string dir = Remote("sub");
    ASSERT_EQ(FtpMkdir(dir.c_str(), nullptr, 0), 0);
    ASSERT_EQ(FtpCd(dir.c_str()), 0);
    Upload("a.txt", "a");
    Upload("b.bin", "b");
    Upload("name with blanks.txt", "c");
    ASSERT_EQ(FtpMkdir("inner", nullptr, 0), 0);
    host.progress.clear();
    EXPECT_EQ(FtpDir("*"), 0);
    EXPECT_EQ(Ftp().hostType, kHostUnix) << "from SYST";
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"F a.txt", "F b.bin", "D inner", "F name with blanks.txt"}));
    EXPECT_EQ(ListedNames("*", 0), (std::vector<std::string>{"F a.txt", "F b.bin", "F name with blanks.txt"}));
    const std::string first = Ftp().listingFile;
    EXPECT_EQ(FtpDir("*.txt"), 0);
    EXPECT_FALSE(FileExists(first)) << "the previous listing file is removed";
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"F a.txt", "F name with blanks.txt"}));
    FtpSetRetain(1);
    const std::string second = Ftp().listingFile;
    EXPECT_EQ(FtpDir(""), 0);
    EXPECT_TRUE(FileExists(second)) << "kept while Retain is on";
    const std::vector<std::string> sent = host.Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "LIST *.txt"), sent.end());
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "LIST"), 2) << "the mask * and the empty mask send LIST alone";
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "HELP"), 1) << "detection once per connection";
    EXPECT_TRUE(host.progress.empty()) << "listings send no progress";
}

// ---- odd servers --------------------------------------------------------------------------------

TEST_F(Scripted, GreetingsOfEveryShape)
{
    Mode("greet-multi");
    ASSERT_EQ(Reconnect(), 0);
    EXPECT_TRUE(RecordingFtpHost::Has(host.info, "This line has no code"));
    Mode("greet-prelim");
    ASSERT_EQ(Reconnect(), 0);
    Mode("greet-421");
    EXPECT_EQ(Reconnect(), kFtpConnectFailed);
    EXPECT_TRUE(RecordingFtpHost::Has(host.info, "Unknown open msg \"421 Too busy, try later\" 421"));
    EXPECT_FALSE(Ftp().loggedIn);
    EXPECT_EQ(Ftp().control, kNoSocket);
    EXPECT_EQ(Reconnect(), 0) << "the next greeting is a normal one";
}

TEST_F(Scripted, FailedLogOnShowsTheServersText)
{
    FtpClose();
    EXPECT_EQ(Login("tolvi", "wrong"), kFtpConnectFailed);
    ASSERT_EQ(host.loginFailed.size(), 1u);
    EXPECT_EQ(host.loginFailed[0], "Authentication failed.");
    EXPECT_EQ(Ftp().control, kNoSocket);
    EXPECT_EQ(Login("tolvi", std::string(81, 'p').c_str()), kFtpBadParameters);
}

TEST_F(Scripted, HostTypesFromSystAndHelp)
{
    struct Case {
        const char* kind;
        int hostType;
        const char* fixture;
    } cases[] = {
        {"unix", kHostUnix, "unix"},           {"vmsmultinet", kHostVmsMultinet, "vms"},
        {"vmsucx", kHostVmsUcx, "vms"},        {"mvs", kHostIbmMvs, "mvs"},
        {"windowsnt", kHostWindowsNt, "windowsnt"}, {"os2", kHostIbmPcTcpIp, "sixthfield"},
        {"mpeix", kHostOs2, "longlines"},      {"chameleon", kHostChameleon, "firstword"},
        {"ncsa", kHostNcsa, "firstword"},      {"qvt", kHostWinQvt, "qvt"},
        {"ka9q", kHostKa9q, "ka9q"},           {"nosyst", kHostUnix, "unix"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Reconnect(), 0);
        FtpSetHostType(kHostAutoDetect);
        Mode(std::string("host-") + c.kind);
        ASSERT_EQ(FtpDir("*"), 0) << c.kind;
        EXPECT_EQ(Ftp().hostType, c.hostType) << c.kind;
        std::vector<std::string> wanted;
        std::ifstream in(kListings + c.fixture + ".want");
        std::string line;
        while (std::getline(in, line))
            wanted.push_back(line.substr(0, 1) + " " + line.substr(2));
        EXPECT_EQ(ListedNames(), wanted) << c.kind;
    }
}

TEST_F(Scripted, SiteChmod)
{
    const std::string name = Remote("f.txt");
    Upload(name, "data");
    EXPECT_EQ(FtpChmod("600", name.c_str()), 0);
    EXPECT_EQ(FtpChmod("600", Remote("missing").c_str()), kFtpRefused);
    const std::vector<std::string> sent = host.Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "SITE CHMOD 600 " + name), sent.end());
}

TEST_F(Scripted, MkdFallsBackToXmkd)
{
    Mode("mkd500");
    EXPECT_EQ(FtpMkdir(Remote("made").c_str(), nullptr, 0), 0);
    const std::vector<std::string> sent = host.Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "XMKD " + Remote("made")), sent.end());
}

TEST_F(Scripted, VmsDirectoryForms)
{
    const std::string dir = Remote("sub");
    ASSERT_EQ(FtpMkdir(dir.c_str(), nullptr, 0), 0);
    FtpSetHostType(kHostVmsUcx);
    Mode("cwd-vms");
    EXPECT_EQ(FtpCd(dir.c_str()), 0);
    EXPECT_EQ(FtpCd(".."), 0);
    const std::vector<std::string> sent = host.Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "CWD [." + dir + "]"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), "CWD [-]"), sent.end());
    EXPECT_EQ(FtpCd(std::string(100, 'd').c_str()), kFtpRefused) << "too long for the VMS form";

    Mode("vms-pwd");
    char pwd[64];
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), 0);
    EXPECT_STREQ(pwd, "USER1:[JOE.WORK]");
    FtpSetHostType(kHostUnix);
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), 0);
    EXPECT_STREQ(pwd, "") << "no directory in a form this host type knows";
}

TEST_F(Scripted, ServerClosingInTheMiddleOfAReplyEndsTheSession)
{
    Mode("eof-reply");
    char pwd[64];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), kFtpRefused);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(Ftp().lastCode, 421);
    EXPECT_FALSE(Ftp().loggedIn);
    EXPECT_EQ(Ftp().control, kNoSocket);
    EXPECT_EQ(FtpCd("/"), kFtpNotConnected);
    EXPECT_EQ(Reconnect(), 0);
}

TEST_F(Scripted, OverlongReplyLineIsReadWhole)
{
    Mode("long-reply");
    char pwd[300];
    EXPECT_EQ(FtpPwd(pwd, sizeof pwd), 0);
    EXPECT_EQ(std::strlen(pwd), 180u) << "the directory is bounded";
    EXPECT_LE(Ftp().replyText.size(), kMaxReplyLine);
    EXPECT_EQ(FtpRawCommand("NOOP"), 0);
    EXPECT_EQ(Ftp().lastCode, 200) << "the rest of the long line was not taken for a reply";
}

TEST_F(Scripted, TruncatedDataFailsTheDownload)
{
    Mode("early-close");
    EXPECT_EQ(Download(Remote("any")), "<failed 1011>");
    EXPECT_TRUE(RecordingFtpHost::Has(host.error, "Transfer incomplete: 1000 of 2000 bytes"));
    EXPECT_EQ(FtpRawCommand("NOOP"), 0);
}

TEST_F(Scripted, ServerGoneMidDownloadIsAFailureNotAnAbort)
{
    const std::string path = Local("gone.bin");
    Mode("dies-in-retr");
    EXPECT_EQ(FtpGet(Remote("any").c_str(), path.c_str(), 'I', 0, 0, 0, 0), kFtpNoAnswer);
    EXPECT_FALSE(FileExists(path)) << "no partial file under the real name";
    EXPECT_FALSE(FtpLoggedOn());
    EXPECT_EQ(FtpCd("/"), kFtpNotConnected);
    EXPECT_EQ(Reconnect(), 0);
    EXPECT_TRUE(FtpLoggedOn());
}

TEST_F(Scripted, Utf8NamesAreConvertedBothWays)
{
    // The server lists UTF8 in FEAT: OPTS UTF8 ON goes out and names are converted.
    EXPECT_TRUE(Ftp().utf8);
    const std::vector<std::string> sent = host.Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "OPTS UTF8 ON"), sent.end());
    const std::string dir = Remote("utf8");
    ASSERT_EQ(FtpMkdir(dir.c_str(), nullptr, 0), 0);
    ASSERT_EQ(FtpCd(dir.c_str()), 0);
    Upload("gr\xF6\xDF" "e.txt", "size");
    // The server's folder by UTF-8 names (on Windows too, where narrow names are the code page's).
    const std::string root = std::string(std::getenv("TOLVI_FTP_SCRIPTED_ROOT")) + "/" + dir + "/";
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(root + "gr\xC3\xB6\xC3\x9F" "e.txt")))
        << "stored under its UTF-8 name";
    std::ofstream(std::filesystem::u8path(root + "\xE6\xBC\xA2.txt")) << "han";  // no Latin-1 form
    ASSERT_EQ(FtpDir("*"), 0);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"F gr\xF6\xDF" "e.txt"}));
    EXPECT_TRUE(RecordingFtpHost::Has(host.error, "Name left out"));
    EXPECT_EQ(Download("gr\xF6\xDF" "e.txt"), "size");
}

TEST_F(Scripted, RefusedTypeFailsTheTransfer)
{
    Mode("type-refuse");
    EXPECT_EQ(Download(Remote("any"), 'I'), "<failed 3002>");
    const std::vector<std::string> sent = host.Sent();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const std::string& s) { return s.rfind("RETR", 0) == 0; }), 0);
    EXPECT_EQ(Ftp().currentType, 'A') << "the refused type is not taken as in force";
}

TEST_F(Scripted, SilentServerTimesOutAndTheWindowKeepsRunning)
{
    FtpSetTimeout(1);
    Mode("silent");
    const long pumpsBefore = host.pumps;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FtpCd("/"), kFtpRefused);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_GT(host.pumps - pumpsBefore, 10) << "messages were pumped while waiting";
    EXPECT_FALSE(Ftp().loggedIn) << "the reply could come late: the connection is dropped";
    ASSERT_EQ(Reconnect(), 0);
    Mode("silent");
    EXPECT_EQ(Download(Remote("any"), 'I'), "<failed 2007>");
    EXPECT_STREQ(FtpErrorText(kFtpTimeout), "timeout occured");
}

TEST_F(Scripted, AbortWhileWaitingForAReply)
{
    Mode("silent");
    int pumps = 0;
    host.onPump = [&] {
        if (++pumps == 5)
            FtpAbort();
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FtpCd("/"), kFtpRefused);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    host.onPump = nullptr;
    EXPECT_EQ(Reconnect(), 0);
    EXPECT_EQ(FtpRawCommand("NOOP"), 0) << "an abort does not outlive its operation";
}

TEST_F(Scripted, AbortedTransfersKeepRepliesInStep)
{
    const std::string name = Remote("big.bin");
    const std::string bytes = PatternBytes(4 << 20);
    Upload(name, bytes);
    host.onProgress = [](std::int64_t) { FtpAbort(); };
    EXPECT_EQ(FtpGet(name.c_str(), Local("big.bin").c_str(), 'I', 0, 0, 0, 0), kFtpAborted);
    EXPECT_FALSE(FileExists(Local("big.bin")));
    EXPECT_EQ(FtpPut(Local("upload.tmp").c_str(), Remote("cut.bin").c_str(), 'I', 0, 0, 0, 0), kFtpAborted);
    host.onProgress = nullptr;
    EXPECT_EQ(FtpRawCommand("NOOP"), 0);
    EXPECT_EQ(Ftp().lastCode, 200);
    EXPECT_TRUE(Download(name) == bytes);
}

TEST_F(Scripted, RawCommandAnsweredWithContinueCountsAsSuccess)
{
    EXPECT_EQ(FtpRawCommand("USER tolvi"), 0);
    EXPECT_EQ(Ftp().lastCode, 331);
    EXPECT_EQ(FtpRawCommand("PASS secret"), 0);
}

}  // namespace
