// FTP scripts: the word reader, the interpreter of the script language, the script files with
// their call stack, the completion of script names and the password scrambling of the script
// editor. Window-free: the interpreter reaches the session, the lists, the connection and the
// timers through ScriptHost, which the main view implements (tests install a fake).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "general_settings.h"
#include "site_store.h"

// Longest word of a script; a longer one stops the run with an error naming its line.
constexpr std::size_t kScriptWordMax = 299;
// How deep scripts may call one another.
constexpr std::size_t kScriptCallDepthMax = 32;
// The interpreter lets pending messages run after this many commands (and at every loop).
constexpr int kScriptPumpEvery = 32;
// A script's text as the script editor keeps it at most.
constexpr std::size_t kScriptEditorTextMax = 60000;

// What the interpreter drives. Every call is made from the thread of the window.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // One text for the log (split at line ends by the log).
    virtual void Log(const std::string& text) = 0;
    // The document title.
    virtual void SetTitle(const std::string& title) = 0;

    // Session values of the current site, the general settings and the single transfer's names.
    virtual SiteRecord& Site() = 0;
    virtual FtpGeneralSettings& Settings() = 0;
    virtual std::string& LocalFile() = 0;
    virtual std::string& RemoteFile() = 0;
    // The append-mode and avoid-zero settings changed: hand them to the transfers.
    virtual void TransferFlagsChanged() = 0;

    // The FTP API.
    virtual bool ApiStarted() = 0;
    // Starts the API (logs its failure); 0 or the error.
    virtual int StartApi() = 0;
    virtual void SetVerbose(bool on) = 0;
    virtual void SetDebug(bool on) = 0;
    // The listing file now kept.
    virtual std::string SetRetain(bool on) = 0;
    virtual void SetListingFile(const std::string& name) = 0;
    // -1 when the type is refused.
    virtual int SetHostType(int type) = 0;
    // Stores the reply time-out (and hands it to a started API).
    virtual void SetTimeout(int seconds) = 0;
    virtual int Chmod(const std::string& modes, const std::string& name) = 0;
    virtual int RawCommand(const std::string& text) = 0;
    // Closes the connection; the host it was connected to.
    virtual std::string CloseConnection() = 0;
    virtual bool Connected() = 0;
    virtual int TransferState() = 0;

    // The character translation settings.
    virtual void SetTranslate(bool on) = 0;
    virtual void SetCountry(int country) = 0;
    virtual void SetRemoteCharset(int code) = 0;
    virtual void SetLocalCharset(int code) = 0;

    // The document and the lists.
    virtual int ChangeRemoteDirectory(const std::string& path) = 0;
    virtual int SetLocalDirectory(const std::string& path) = 0;
    virtual void SetRemoteMask(const std::string& mask) = 0;
    virtual void SetLocalMask(const std::string& mask) = 0;
    virtual void SetRemoteSelect(const std::string& mask) = 0;
    virtual void SetLocalSelect(const std::string& mask) = 0;
    virtual void SetRemoteShow(bool on) = 0;
    virtual void SetLocalShow(bool on) = 0;
    virtual void RefreshLocal() = 0;
    virtual void RefreshRemote() = 0;
    // Refills the remote list from the listing file without asking the host.
    virtual void RedisplayRemote() = 0;
    virtual bool RemoteListStale() = 0;

    // The session commands.
    virtual int ConnectAndLogin() = 0;
    virtual void ReceiveSingleFile() = 0;
    virtual void ReceiveSelectedFiles() = 0;
    virtual void SendSelectedFiles() = 0;
    // Loads a stored site; false when none has that name.
    virtual bool SiteApply(const std::string& name) = 0;
    virtual void SetLimitedMode() = 0;
    virtual void Help() = 0;
    virtual void PostExit() = 0;
    // Creates the log file anew under `name` and turns logging on.
    virtual void OpenLogFile(const std::string& name) = 0;

    // The one-second timer of `wait`; false when no timer can be had.
    virtual bool StartWaitTimer() = 0;
    virtual void StopWaitTimer() = 0;
    // Lets pending window messages run (Abort, Exit, timers).
    virtual void PumpMessages() = 0;
    // A text of the program's string table in the user's language; `english` where there is none.
    virtual std::string LocalText(int id, const char* english) { return english ? english : ""; }
};

// One script on the call stack: where it goes on when it is opened again.
struct ScriptFrame {
    std::string path;
    long offset = 0;
    int line = 1;
};

// Reads the next word of the line. Result: the word's length (0 for an empty quoted word), 0
// at the end of the line (the line is counted; the caller logs and empties the echo line), -1 at
// the end of the file, kScriptWordTooLong for a word past kScriptWordMax (read to its end, not
// stored). Every word read is added to the echo line after a blank.
constexpr int kScriptWordTooLong = -2;
struct ScriptWordReader {
    std::FILE* file = nullptr;
    int line = 1;
    std::string echo;
    // Shown in the echo line instead of the next word (a password).
    bool maskNext = false;
    // The last read stopped at the end of the line.
    bool endedLine = false;
    int Read(std::string& word);
};

// Windows path parts; every part may be empty. The directory keeps its trailing separator, the
// extension its dot.
struct ScriptPathParts {
    std::string drive, directory, name, extension;
};
ScriptPathParts SplitScriptPath(const std::string& path);

// A script name completed against the script directory `base`.
std::string ResolveScriptPath(const std::string& base, const std::string& name);

// The editor's "Encrypt passwords": every plain value after "password=" (case ignored) scrambled;
// empty values, "[]" and scrambled values stay.
std::string EncryptScriptPasswords(const std::string& text);

// The text of a new script in the editor.
std::string NewScriptTemplate();

class ScriptRunner {
public:
    explicit ScriptRunner(ScriptHost& host) : host_(host) {}
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // The Run command: a run stops every script; else the script path is opened and run.
    void StartScript();
    // 1 when the file was opened.
    int OpenScriptFile(const std::string& path, long offset, int line);
    int CloseScriptFile();
    int PushReturnPoint();
    int ReturnFromScript();
    void StopAllScripts();
    // Runs commands until the script ends, stops or waits; the running flag afterwards.
    int ScriptInterpreter();
    // One second of a wait passed: counts down, titles the window, goes on at 0.
    void WaitTick();

    bool Running() const { return running_; }
    int Line() const { return reader_.line; }
    const std::vector<ScriptFrame>& CallStack() const { return stack_; }

    std::string scriptPath;
    std::string scriptDirectory;
    bool syntaxTest = false;
    int waitSeconds = 0;

private:
    struct Stop {};
    int Read(std::string& word);
    // A message "Error in Script <path> line <line>: <text>", then the syntax line (when given),
    // then every script stops.
    [[noreturn]] void Fail(int line, const std::string& text, const char* syntax = nullptr);
    [[noreturn]] void Halt();
    // The line of a missing word: the line before when the reader went past its end.
    int MissingLine() const { return reader_.endedLine ? reader_.line - 1 : reader_.line; }
    // The optional destination of get and put; false when there is none.
    bool ReadDestination(std::string& word);
    void Command(const std::string& command);
    bool OnOffValue(const char* name, const char* syntax);
    int NumberValue(const char* message, const char* syntax, std::string* word = nullptr);
    std::string NeedWord(const char* message, const char* syntax);
    void Receive();
    void Send();
    void CallScript(const std::string& command);
    void ScriptTitle();

    ScriptHost& host_;
    ScriptWordReader reader_;
    std::vector<ScriptFrame> stack_;
    bool running_ = false;
    int sincePump_ = 0;
    std::string pending_;
};
