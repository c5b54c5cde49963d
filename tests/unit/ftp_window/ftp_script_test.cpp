// The FTP script language without a window: the word reader, whole scripts run against a fake
// session that records what the interpreter asked of it, the call stack across files, the
// completion of script names and the editor's password scrambling.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "../shell/temp_folder.h"
#include "ftp_script.h"

namespace {

// The session as the interpreter sees it; every request becomes one line of the trace.
class FakeScriptHost : public ScriptHost {
public:
    std::vector<std::string> trace;
    std::string title;
    SiteRecord site;
    FtpGeneralSettings settings;
    std::string localFile, remoteFile;
    ScriptRunner* runner = nullptr;

    bool connected = false;
    int transferResult = 0;  // TransferState after a transfer
    int cdFailsAfter = 1000; // the cd calls that succeed
    bool timers = true;
    int pumpsBeforeAbort = -1;  // Abort arrives at this pump
    int pumps = 0;
    int rawResult = 0;

    void Note(const std::string& line) { trace.push_back("> " + line); }

    void Log(const std::string& text) override { trace.push_back(text); }
    void SetTitle(const std::string& t) override { title = t; }
    SiteRecord& Site() override { return site; }
    FtpGeneralSettings& Settings() override { return settings; }
    std::string& LocalFile() override { return localFile; }
    std::string& RemoteFile() override { return remoteFile; }
    void TransferFlagsChanged() override
    {
        Note("flags append=" + std::to_string(settings.appendMode) + " avoidzero=" + std::to_string(settings.avoidZero));
    }
    bool ApiStarted() override { return apiStarted; }
    int StartApi() override
    {
        apiStarted = true;
        Note("start api");
        return 0;
    }
    void SetVerbose(bool on) override { Note("verbose " + std::to_string(on)); }
    void SetDebug(bool on) override { Note("debug " + std::to_string(on)); }
    std::string SetRetain(bool on) override
    {
        Note("retain " + std::to_string(on));
        return "tvftp001.dir";
    }
    void SetListingFile(const std::string& name) override { Note("listing " + name); }
    int SetHostType(int type) override { return type > 16 ? -1 : type; }
    void SetTimeout(int seconds) override { Note("timeout " + std::to_string(seconds)); }
    int Chmod(const std::string& modes, const std::string& name) override
    {
        Note("chmod " + modes + " " + name);
        return name == "bad" ? 550 : 0;
    }
    int RawCommand(const std::string& text) override
    {
        Note("raw " + text);
        return rawResult;
    }
    std::string CloseConnection() override
    {
        connected = false;
        return site.host;
    }
    bool Connected() override { return connected; }
    int TransferState() override { return transferResult; }
    void SetTranslate(bool on) override { Note("xlate " + std::to_string(on)); }
    void SetCountry(int country) override { Note("country " + std::to_string(country)); }
    void SetRemoteCharset(int code) override { Note("charset " + std::to_string(code)); }
    void SetLocalCharset(int code) override { Note("localcharset " + std::to_string(code)); }
    int ChangeRemoteDirectory(const std::string& path) override
    {
        Note("cd " + path);
        return path == "nowhere" || cdFailsAfter-- <= 0 ? 550 : 0;
    }
    int SetLocalDirectory(const std::string& path) override
    {
        Note("lcd " + path);
        return path.compare(0, 2, "q:") == 0 ? 2 : 0;
    }
    void SetRemoteMask(const std::string& mask) override { Note("mask " + mask); }
    void SetLocalMask(const std::string& mask) override { Note("lmask " + mask); }
    void SetRemoteSelect(const std::string& mask) override
    {
        if (!mask.empty())
            Note("select " + mask);
    }
    void SetLocalSelect(const std::string& mask) override { Note("lselect " + mask); }
    void SetRemoteShow(bool on) override { Note("showdir " + std::to_string(on)); }
    void SetLocalShow(bool on) override { Note("lshowdir " + std::to_string(on)); }
    void RefreshLocal() override { Note("refresh local"); }
    void RefreshRemote() override { Note("refresh remote"); }
    void RedisplayRemote() override { Note("redisplay remote"); }
    bool RemoteListStale() override { return stale; }
    bool stale = true;
    int ConnectAndLogin() override
    {
        Note("connect " + site.host + "/" + site.user + "/" + site.password + " dir=" + site.remoteDirectory);
        connected = site.host != "down";
        return connected ? 0 : 421;
    }
    void ReceiveSingleFile() override { Note("get " + remoteFile + " -> " + localFile); }
    void ReceiveSelectedFiles() override { Note("get selected -> " + localFile); }
    void SendSelectedFiles() override { Note("put selected -> " + remoteFile); }
    bool SiteApply(const std::string& name) override
    {
        Note("site " + name);
        return name == "known";
    }
    void SetLimitedMode() override { Note("limited"); }
    void Help() override { Note("help"); }
    void PostExit() override { Note("exit"); }
    void OpenLogFile(const std::string& name) override { Note("logfile " + name); }
    bool StartWaitTimer() override
    {
        Note("wait timer");
        return timers;
    }
    void StopWaitTimer() override { Note("stop wait timer"); }
    void PumpMessages() override
    {
        if (++pumps == pumpsBeforeAbort) {
            Note("abort");
            runner->StopAllScripts();
        }
    }

    bool apiStarted = false;
};

// A folder of scripts and a runner over the fake; the trace with the folder written as "$/".
class ScriptRun {
public:
    ScriptRun()
    {
        runner.scriptDirectory = folder.Path().string();
        host.runner = &runner;
    }
    void Write(const std::string& name, const std::string& text) { TempFolder::Write(folder.File(name), text); }
    std::vector<std::string> Run(const std::string& text, bool syntaxTest = false)
    {
        Write("main.ftp", text);
        return RunFile("main.ftp", syntaxTest);
    }
    std::vector<std::string> RunFile(const std::string& name, bool syntaxTest = false)
    {
        runner.scriptPath = folder.File(name);
        runner.syntaxTest = syntaxTest;
        runner.StartScript();
        return Trace();
    }
    std::vector<std::string> Trace()
    {
        std::vector<std::string> out;
        const std::string dir = folder.Path().string();
        for (std::string line : host.trace) {
            for (std::size_t at; (at = line.find(dir)) != std::string::npos;)
                line.replace(at, dir.size() + 1, "$/");
            out.push_back(line);
        }
        host.trace.clear();
        return out;
    }

    TempFolder folder;
    FakeScriptHost host;
    ScriptRunner runner{host};
};

using Lines = std::vector<std::string>;

const std::string kOpen = "Info: Script open: $/main.ftp";
const std::string kClosed = "Info: Script closed: $/main.ftp";

std::string Err(int line, const std::string& text) { return "Error in Script $/main.ftp line " + std::to_string(line) + ": " + text; }
std::string Syntax(const std::string& text) { return "Info: Script syntax: " + text; }

// ---- the word reader

struct TokenCase {
    const char* text;
    std::vector<std::pair<int, std::string>> reads;  // result and word, to the end of the file
    int lines;                                        // the line number at the end
};

TEST(ScriptWords, ReadsWordsQuotesEqualsAndLines)
{
    const TokenCase cases[] = {
        {"key=value\n", {{3, "key"}, {5, "value"}, {0, ""}, {-1, ""}}, 2},
        {"key value", {{3, "key"}, {5, "value"}, {-1, ""}}, 1},
        {"key \"a value\"", {{3, "key"}, {7, "a value"}, {-1, ""}}, 1},
        {"key = value", {{3, "key"}, {1, "="}, {5, "value"}, {-1, ""}}, 1},
        {"=x", {{2, "=x"}, {-1, ""}}, 1},
        {"\"\"\n", {{0, ""}, {0, ""}, {-1, ""}}, 2},
        {"\"two\nlines\" x\n", {{9, "two\nlines"}, {1, "x"}, {0, ""}, {-1, ""}}, 2},
        {"\"a\\\"b\" c", {{4, "a\\\"b"}, {1, "c"}, {-1, ""}}, 1},
        {"\"a\\\\\" c", {{3, "a\\\\"}, {1, "c"}, {-1, ""}}, 1},
        {"a\r\nb\tc", {{1, "a"}, {0, ""}, {1, "b"}, {1, "c"}, {-1, ""}}, 2},
        {"\x01\xff" " a\x80" "b", {{3, "a\x80" "b"}, {-1, ""}}, 1},
        {"\n\n\nx", {{0, ""}, {0, ""}, {0, ""}, {1, "x"}, {-1, ""}}, 4},
        {"\"open", {{4, "open"}, {-1, ""}}, 1},
    };
    TempFolder folder;
    for (const TokenCase& c : cases) {
        TempFolder::Write(folder.File("t"), c.text);
        ScriptWordReader reader;
        reader.file = std::fopen(folder.File("t").c_str(), "rb");
        ASSERT_NE(reader.file, nullptr);
        for (const auto& [result, word] : c.reads) {
            std::string got = "junk";
            EXPECT_EQ(reader.Read(got), result) << c.text;
            EXPECT_EQ(got, word) << c.text;
        }
        EXPECT_EQ(reader.line, c.lines) << c.text;
        std::fclose(reader.file);
    }
}

TEST(ScriptWords, EchoesWordsAndMasksAPassword)
{
    TempFolder folder;
    TempFolder::Write(folder.File("t"), "password=secret x");
    ScriptWordReader reader;
    reader.file = std::fopen(folder.File("t").c_str(), "rb");
    std::string word;
    reader.Read(word);
    reader.maskNext = true;
    reader.Read(word);
    EXPECT_EQ(word, "secret");
    reader.Read(word);
    EXPECT_EQ(reader.echo, " password **** x");
    std::fclose(reader.file);
}

// ---- whole scripts

struct ScriptCase {
    const char* name;
    std::string text;
    Lines trace;  // between the open and the close lines
    bool connected = false;
};

TEST(ScriptRun, ScriptsGiveTheirTraces)
{
    const ScriptCase cases[] = {
        {"empty script", "", {}},
        {"keyword case; value keeps its case", "HOST=MyHost\nuser=u\npassword=p\nconnect\n",
         {"> connect MyHost/u/p dir="}},
        {"prefix: hostname and gets", "hostname=h\ngets x\n", {"> select x", "> get x -> "}, true},
        {"one line", "host=h user=u password=[] connect get a.txt close exit",
         {"> connect h/u/ dir=", "> select a.txt", "> get a.txt -> ", "Close: h", "> refresh remote", "> exit"}},
        {"one line: a destination before the next command", "connect get a.txt b.txt put c.txt Close",
         {"> connect // dir=", "> select a.txt", "> get a.txt -> b.txt", "> lselect c.txt", "> refresh local",
          "> put selected -> ", "Close: ", "> refresh remote"}},
        {"connect now", "connect now\n", {"> connect // dir=", Err(1, "Unknown command: now")}},
        {"cd before user is forgotten", "cd pub\nuser=u\nconnect\n", {"> connect /u/ dir="}},
        {"cd after the login values is kept", "user=u\ncd pub\nconnect\n", {"> connect /u/ dir=pub"}},
        {"connected cd fails", "cd nowhere\n", {"> cd nowhere", Err(1, "Invalid remote path: nowhere")}, true},
        {"failed connect stops", "host=down\nconnect\nget x\n", {"> connect down// dir="}},
        {"type=A", "type=A\n", {}},
        {"type=ascii", "\ntype=ascii\n", {Err(2, "Invalid transfer mode"), Syntax("mode|type=<i|a>")}},
        {"charsets", "charset=iso8859-1\nlocalcharset=IBMPC850\n", {"> charset 3", "> localcharset 4"}},
        {"localcharset=7bit", "localcharset=7bit\n",
         {Err(1, "Invalid LocalCharset code: 7bit"), Syntax("localcharset=<ibmpc | iso8859>")}},
        {"verbose = on", "verbose = on\n", {Err(1, "Invalid verbose mode: ="), Syntax("verbose=<on|off>")}},
        {"on/off words", "confirm=none\nautoname=OFF\nappendmode=on\nlshowdir=yes\n",
         {"> flags append=1 avoidzero=1", Err(4, "Invalid lshowdir mode: yes"), Syntax("lshowdir=<on|off>")}},
        {"missing get name at the end of line 7", "\n\n\n\n\n\nget\nclose\n",
         {Err(7, "Remote filename <missing>"), Syntax("recv|get <remote> [local]")}},
        {"missing value at the end of the file", "\n\nput",
         {Err(3, "Local filename <missing>"), Syntax("send|put <local> [remote]")}},
        {"unknown command", "\nfrobnicate\n", {Err(2, "Unknown command: frobnicate")}},
        {"get into another folder under another name", "get a/b/c.txt d:\\in\\x.txt\n",
         {"> cd a/b/", "> select c.txt", "> lcd d:\\in\\", "> get c.txt -> d:\\in\\x.txt"}, true},
        {"get a wildcard", "get *.txt\n", {"> select *.txt", "> refresh remote", "> get selected -> "}, true},
        {"get a wildcard with a destination", "get *.txt x.txt\n",
         {"> select *.txt", Err(1, "Don't supply destination filename for wildcard send: x.txt")}, true},
        {"get to a wildcard", "get a.txt x*\n",
         {"> select a.txt", Err(1, "destination filename has wildcard characters: x*")}, true},
        {"get into a missing folder", "get a.txt q:\\no\\a.txt\n",
         {"> select a.txt", "> lcd q:\\no\\", Err(1, "Invalid local directory: q:\\no\\")}, true},
        {"put a wildcard from a folder", "put c:\\out\\*.log\n",
         {"> lcd c:\\out\\", "> lselect *.log", "> refresh local", "> put selected -> "}, true},
        {"put under another name", "put a.txt b.txt\n",
         {"> lselect a.txt", "> refresh local", "> put selected -> b.txt"}, true},
        {"put a wildcard under one name", "put *.txt b.txt\n",
         {"> lselect *.txt", "> refresh local", Err(1, "Don't supply destination filename for wildcard send: b.txt")},
         true},
        {"put connects first", "put a.txt\n", {"> connect // dir=", "> lselect a.txt", "> refresh local",
                                                "> put selected -> "}},
        {"ftpcmd joins words; chmod", "ftpcmd SITE  CHMOD 644 x\nchmod 600 y\nchmod 600 bad\n",
         {"> raw SITE CHMOD 644 x", "> chmod 600 y", "> chmod 600 bad", Err(3, "chmod 600 bad failed")}, true},
        {"not connected: ftpcmd, chmod and close do nothing", "ftpcmd NOOP\nchmod 1 x\nclose\n", {}},
        {"masks and selections", "mask *.c\nlmask *.h\nselect a*\nlselect b*\nshowdir off\n",
         {"> mask *.c", "> lmask *.h", "> refresh local", "> select a*", "> refresh remote", "> lselect b*",
          "> refresh local", "> showdir 0", "> refresh remote"}},
        {"site, system, timeout, retain, diruntrace",
         "site=known\nsite=other\nsystem=3\nsystem=17\ntimeout=30\nretain=on\ndiruntrace=x.dir\n",
         {"> site known", "> site other", "Error: Site not found in TOLVIFTP.INI: other", "Host System type changed to: 3",
          Err(4, "Invalid system type: 17"), "> timeout 30", "Info: Timeout changed to: 30 seconds", "> retain 1",
          "Directory trace on, current directory file: tvftp001.dir", "> listing x.dir", "> redisplay remote"}},
        {"verbose starts the API and echoes lines, hiding a password",
         "verbose=on\npassword=secret\ndebug=off\n",
         {"> start api", "> verbose 1", "Info: done:  verbose on", "Info: done:  password ****", "> debug 0",
          "Info: done:  debug off"}},
        {"checkcasemask", "checkcasemask A.TXT *.txt\ncheckcasemask a.txt *.c\ncheckcasemask x *.*\ncheckcasemask x\n",
         {"file: A.TXT - mask: *.txt = TRUE", "file: a.txt - mask: *.c = FALSE", "file: x - mask: *.* = TRUE",
          Err(4, "bad parameters"), Syntax("checkcasemask <file> <mask>")}},
        {"xlate, country 0 and 46", "xlate=on\ncountry=0\ncountry=46\ncountry=x\n",
         {"> xlate 1", "> country 46", Err(4, "Invalid Country code: x"), Syntax("country=<contry code>")}},
        {"limited, help, logfile", "limited\nhelp\n?\nlogfile=x.log\n",
         {"> limited", "> help", "> help", "> logfile x.log"}},
        {"end stops", "end\ncheckcasemask a a\n", {}},
        {"exit posts the command and stops", "exit\ncheckcasemask a a\n", {"> exit"}},
        {"return stops the only script", "return\ncheckcasemask a a\n", {}},
        {"a failed transfer stops", "get a.txt\nget b.txt\n", {"> select a.txt", "> get a.txt -> "}, true},
    };
    for (const ScriptCase& c : cases) {
        ScriptRun run;
        run.host.connected = c.connected;
        if (std::string(c.name) == "a failed transfer stops")
            run.host.transferResult = 4;
        Lines expected = {kOpen};
        expected.insert(expected.end(), c.trace.begin(), c.trace.end());
        expected.push_back(kClosed);
        EXPECT_EQ(run.Run(c.text), expected) << c.name;
        EXPECT_FALSE(run.runner.Running()) << c.name;
        EXPECT_TRUE(run.runner.CallStack().empty()) << c.name;
    }
}

// Every command's message for a missing or bad value, with its syntax line.
TEST(ScriptRun, ArgumentErrors)
{
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"site", {"site name: <missing>", "site=<filename>"}},
        {"debug=maybe", {"Invalid debug mode: maybe", "debug=<on|off>"}},
        {"retain", {"Invalid retain mode: <missing>", "retain=<on|off>"}},
        {"diruntrace", {"directory filename: <missing>", "diruntrace=<filename>"}},
        {"system=x", {"Invalid system type: x", "system=<0-16>"}},
        {"autodelete", {"Invalid autodelete mode: <missing>", "autodelete=<on|off>"}},
        {"autoname=1", {"Invalid autoname mode: 1", "autoname=<on|off>"}},
        {"confirm=", {"Invalid confirm mode: <missing>", "confirm=<on|off>"}},
        {"appendmode=x", {"Invalid appendmode flag: x", "appendmode=<on|off>"}},
        {"avoidzero=x", {"Invalid avoidzero mode: x", "avoidzero=<on|off>"}},
        {"warningifzerolength=x", {"Invalid warningifzerolength mode: x", "warningifzerolength=<on|off>"}},
        {"timeout=soon", {"Invalid timeout mode: soon", "timeout=<seconds>"}},
        {"wait", {"Invalid wait value: <missing>", "wait=<seconds>"}},
        {"logfile", {"logfile name: <missing>", "logfile=<filename>"}},
        {"call", {"Script filename <missing>", "call|run|script=<filename>"}},
        {"host", {"Host name <missing>", "host=<hostname|ipadress>"}},
        {"user=\"\"", {"User name <missing>", "user=<loginname>"}},
        {"password", {"Password <missing>", "password=<password|[]>"}},
        {"mode=x", {"Invalid transfer mode", "mode|type=<i|a>"}},
        {"chmod 644", {"chmod syntax error", "chmod <modes> <filename>"}},
        {"ftpcmd", {"Ftp command <missing>", "ftpcmd <command>"}},
        {"cd", {"Remote path <missing>", "cd <[path]>"}},
        {"lcd", {"Local path <missing>", "lcd <[drive:][path]>"}},
        {"mask", {"Remote mask <missing>", "mask <filespec (wildcards)>"}},
        {"lmask", {"Local mask <missing>", "lmask <filespec (wildcards)>"}},
        {"select", {"Remote selection <missing>", "select <filespec (wildcards)>"}},
        {"lselect", {"Local selection <missing>", "lselect <filespec (wildcards)>"}},
        {"showdir=x", {"Invalid showdir mode: x", "showdir=<on|off>"}},
        {"recv", {"Remote filename <missing>", "recv|get <remote> [local]"}},
        {"send", {"Local filename <missing>", "send|put <local> [remote]"}},
        {"xlate=x", {"Invalid xlate mode: x", "xlate=<on|off>"}},
        {"charset=ebcdic", {"Invalid Charset code: ebcdic", "charset=<7bit | 8bit | ibmpc | iso8859>"}},
    };
    for (const auto& [line, messages] : cases) {
        for (const bool syntaxTest : {false, true}) {
            ScriptRun run;
            run.host.connected = true;
            const Lines got = run.Run("\n" + line + "\nconnect\n", syntaxTest);
            const Lines expected = {syntaxTest ? "Info: Script syntax test: $/main.ftp" : kOpen, Err(2, messages[0]),
                                    Syntax(messages[1]), kClosed};
            EXPECT_EQ(got, expected) << line;
            EXPECT_FALSE(run.runner.syntaxTest);
        }
    }
}

TEST(ScriptRun, AWordPastTheBufferStopsTheScript)
{
    ScriptRun run;
    EXPECT_EQ(run.Run("host=h\ncd " + std::string(300, 'x') + "\nconnect\n"),
              (Lines{kOpen, Err(2, "word longer than 299 characters"), kClosed}));
    EXPECT_EQ(run.Run("cd " + std::string(299, 'x') + "\n"), (Lines{kOpen, kClosed}));
    EXPECT_EQ(run.host.site.remoteDirectory, std::string(299, 'x'));
}

TEST(ScriptRun, SyntaxTestChecksCalledScriptsAndSendsNothing)
{
    ScriptRun run;
    run.Write("b.ftp", "checkcasemask a a\nput\n");
    const Lines got = run.Run("host=h\nconnect\nget x\nput c:\\y\\z.txt\ncall b.ftp\nexit\n", true);
    EXPECT_EQ(got, (Lines{"Info: Script syntax test: $/main.ftp", "> refresh local", "Info: Script closed: $/main.ftp",
                          "Info: Script syntax test: $/b.ftp", "file: a - mask: a = TRUE",
                          "Error in Script $/b.ftp line 2: Local filename <missing>",
                          Syntax("send|put <local> [remote]"), "Info: Script closed: $/b.ftp"}));
    EXPECT_FALSE(run.runner.syntaxTest);
    EXPECT_EQ(run.host.title, "h");

    // A check that finds nothing wrong also ends the check, so the next connect connects.
    run.Run("host=h\nconnect\n", true);
    EXPECT_FALSE(run.runner.syntaxTest);
}

TEST(ScriptRun, CallReturnsToTheCallerWithItsLines)
{
    for (const char* eol : {"\n", "\r\n"}) {
        ScriptRun run;
        run.Write("b.ftp", std::string("checkcasemask b b") + eol + "checkcasemask c c");
        const Lines got = run.Run(std::string("checkcasemask a a") + eol + "call b.ftp" + eol + eol +
                                  "checkcasemask d d" + eol + "nonsense" + eol);
        EXPECT_EQ(got, (Lines{kOpen, "file: a - mask: a = TRUE", kClosed, "Info: Script open: $/b.ftp",
                              "file: b - mask: b = TRUE", "file: c - mask: c = TRUE", "Info: Script closed: $/b.ftp",
                              kOpen, "file: d - mask: d = TRUE", Err(5, "Unknown command: nonsense"), kClosed}))
            << (eol[1] ? "CR LF" : "LF");
    }
}

TEST(ScriptRun, RunReplacesTheScript)
{
    ScriptRun run;
    run.Write("b.ftp", "checkcasemask b b\n");
    run.Write("c.ftp", "checkcasemask c c\n");
    // a runs b: the run ends with b.
    EXPECT_EQ(run.Run("run b.ftp\ncheckcasemask a a\n"),
              (Lines{kOpen, kClosed, "Info: Script open: $/b.ftp", "file: b - mask: b = TRUE",
                     "Info: Script closed: $/b.ftp"}));
    // a calls d, d runs c, c ends: a goes on after its call.
    run.Write("d.ftp", "script=c.ftp\ncheckcasemask d d\n");
    EXPECT_EQ(run.Run("call d.ftp\ncheckcasemask a a\n"),
              (Lines{kOpen, kClosed, "Info: Script open: $/d.ftp", "Info: Script closed: $/d.ftp",
                     "Info: Script open: $/c.ftp", "file: c - mask: c = TRUE", "Info: Script closed: $/c.ftp", kOpen,
                     "file: a - mask: a = TRUE", kClosed}));
}

TEST(ScriptRun, AMissingCalledScriptStopsEveryScript)
{
    ScriptRun run;
    run.Write("b.ftp", "call nothere.ftp\ncheckcasemask b b\n");
    EXPECT_EQ(run.Run("call b.ftp\ncheckcasemask a a\n"),
              (Lines{kOpen, kClosed, "Info: Script open: $/b.ftp", "Info: Script closed: $/b.ftp",
                     "Error in Script $/b.ftp: Cannot open $/nothere.ftp", Syntax("call|run|script=<filename>")}));
    EXPECT_TRUE(run.runner.CallStack().empty());
    EXPECT_FALSE(run.runner.Running());
}

TEST(ScriptRun, CallsNestOnlySoDeep)
{
    ScriptRun run;
    const Lines got = run.Run("call main.ftp\n");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[got.size() - 2],
              Err(1, "Scripts called too deep (more than 32): $/main.ftp"));
    EXPECT_EQ(std::count(got.begin(), got.end(), kOpen), 32);
    EXPECT_TRUE(run.runner.CallStack().empty());
}

TEST(ScriptRun, MissingScriptOrRunningScript)
{
    ScriptRun run;
    EXPECT_EQ(run.RunFile("absent.ftp"), (Lines{"Error in Script: Cannot open $/absent.ftp"}));
    EXPECT_FALSE(run.runner.Running());
}

TEST(ScriptRun, WaitPausesAndASecondRunStopsIt)
{
    ScriptRun run;
    run.host.site.host = "h";
    EXPECT_EQ(run.Run("wait=0\nwait=3\ncheckcasemask a a\nwait=2\ncheckcasemask b b\n"),
              (Lines{kOpen, "> wait timer", "Info: Waiting 3 seconds"}));
    EXPECT_TRUE(run.runner.Running());
    run.runner.WaitTick();
    EXPECT_EQ(run.host.title, "Waiting: 2 seconds ...");
    run.runner.WaitTick();
    run.runner.WaitTick();
    EXPECT_EQ(run.Trace(), (Lines{"> stop wait timer", "file: a - mask: a = TRUE", "> wait timer",
                                  "Info: Waiting 2 seconds"}));
    // Run again while waiting: every script stops, the title is the host's again.
    run.runner.StartScript();
    EXPECT_EQ(run.Trace(), (Lines{kClosed, "> stop wait timer"}));
    EXPECT_FALSE(run.runner.Running());
    EXPECT_EQ(run.host.title, "h");
    run.host.timers = false;
    EXPECT_EQ(run.Run("wait=1\ncheckcasemask a a\n"), (Lines{kOpen, "> wait timer", "Error: Out of timers,", kClosed}));
}

TEST(ScriptRun, LoopStartsAgainAtLineOneAndAbortReachesIt)
{
    ScriptRun run;
    run.host.connected = true;
    run.host.cdFailsAfter = 1;
    EXPECT_EQ(run.Run("checkcasemask a a\ncd x\nloop\n"),
              (Lines{kOpen, "file: a - mask: a = TRUE", "> cd x", "file: a - mask: a = TRUE", "> cd x",
                     Err(2, "Invalid remote path: x"), kClosed}));

    // A loop that never talks to the host: Abort arrives through the message pumping.
    ScriptRun quiet;
    quiet.host.pumpsBeforeAbort = 5;
    const Lines got = quiet.Run("checkcasemask a a\nloop\n");
    EXPECT_EQ(got.back(), kClosed);
    EXPECT_EQ(got[got.size() - 2], "> abort");
    EXPECT_EQ(std::count(got.begin(), got.end(), "file: a - mask: a = TRUE"), 5);
    EXPECT_FALSE(quiet.runner.Running());
}

TEST(ScriptRun, AWildcardGetShowsItsSelectionInAListThatIsNotStale)
{
    ScriptRun run;
    run.host.connected = true;
    run.host.stale = false;
    EXPECT_EQ(run.Run("get *.txt\n"),
              (Lines{kOpen, "> select *.txt", "> redisplay remote", "> get selected -> ", kClosed}));
}

TEST(ScriptRun, AskfileStopsAndConnects)
{
    ScriptRun run;
    EXPECT_EQ(run.Run("askfile\ncheckcasemask a a\n"), (Lines{kOpen, kClosed, "> connect // dir="}));
}

// ---- names and the editor

TEST(ScriptPaths, ResolvesAgainstTheScriptFolder)
{
    const std::pair<const char*, const char*> cases[] = {
        {"x.ftp", "C:\\scripts\\x.ftp"},       {"sub\\x.ftp", "C:\\scripts\\sub\\x.ftp"},
        {"\\other\\x.ftp", "C:\\other\\x.ftp"}, {"D:x.ftp", "D:\\scripts\\x.ftp"},
        {"D:\\a\\x.ftp", "D:\\a\\x.ftp"},      {"a b.ftp", "C:\\scripts\\a b.ftp"},
    };
    for (const auto& [name, path] : cases) {
        EXPECT_EQ(ResolveScriptPath("C:\\scripts", name), path) << name;
        EXPECT_EQ(ResolveScriptPath("C:\\scripts\\", name), path) << name;
    }
    const std::string longName(1000, 'n');
    EXPECT_EQ(ResolveScriptPath("C:\\s", longName + ".ftp"), "C:\\s\\" + longName + ".ftp");
    const ScriptPathParts parts = SplitScriptPath("d:\\in.x\\file");
    EXPECT_EQ(parts.drive, "d:");
    EXPECT_EQ(parts.directory, "\\in.x\\");
    EXPECT_EQ(parts.name, "file");
    EXPECT_EQ(parts.extension, "");
}

TEST(ScriptEditor, EncryptsPlainPasswordsOnly)
{
    const std::string secret = ScrambleText("secret", '?');
    const std::string upper = ScrambleText("Up", '?');
    const std::pair<std::string, std::string> cases[] = {
        {"password=secret\r\npassword=[]\r\npassword=" + secret + "\r\n",
         "password=" + secret + "\r\npassword=[]\r\npassword=" + secret + "\r\n"},
        {"PASSWORD=Up host=h", "PASSWORD=" + upper + " host=h"},
        {"Password= secret", "Password= " + secret},
        {"password = secret", "password = secret"},
        {"password=\r\nx", "password=\r\nx"},
        {"password=secret", "password=" + secret},
    };
    for (const auto& [plain, encrypted] : cases)
        EXPECT_EQ(EncryptScriptPasswords(plain), encrypted) << plain;
    EXPECT_EQ(LoginPassword(EncryptScriptPasswords("password=secret").substr(9)), "secret");
}

TEST(ScriptEditor, TemplateLines)
{
    EXPECT_EQ(NewScriptTemplate(), "verbose=on\r\nlogfile=tvftplog.txt\r\nhost=[]\r\nuser=[]\r\npassword=[]\r\n"
                                   "connect\r\ncd remotedirectory\r\nlcd localdirectory\r\nget [] []\r\nput [] []\r\n"
                                   "close\r\n");
}

}  // namespace
