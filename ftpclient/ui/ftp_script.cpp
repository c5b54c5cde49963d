#include "ftp_script.h"

#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "match_mask.h"

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, args);
    va_end(args);
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.compare(0, std::strlen(prefix), prefix) == 0; }

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// -1 invalid, else 0 or 1.
int OnOff(const std::string& word)
{
    const std::string value = Lower(word);
    if (value.find("on") != std::string::npos)
        return 1;
    return value.find("of") != std::string::npos ? 0 : -1;
}

// A decimal number at the start of the word (a sign allowed); false when there is none.
bool Number(const std::string& word, int& value)
{
    if (word.empty())
        return false;
    std::size_t i = word[0] == '+' || word[0] == '-' ? 1 : 0;
    if (i >= word.size() || !std::isdigit(static_cast<unsigned char>(word[i])))
        return false;
    long long n = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i)
        if (n < 1000000000)
            n = n * 10 + (word[i] - '0');
    value = static_cast<int>(word[0] == '-' ? -n : n);
    return true;
}

// The keywords in the order they are tried.
enum Keyword {
    kLimited, kCheckCaseMask, kHelp, kSite, kVerbose, kDebug, kRetain, kDirUntrace, kSystem, kAutoDelete,
    kAutoName, kConfirm, kAppendMode, kAvoidZero, kWarningIfZeroLength, kTimeout, kWait, kLogFile, kLoop,
    kReturn, kEnd, kExit, kCall, kHost, kUser, kPassword, kType, kAskFile, kChmod, kFtpCmd, kCd, kLcd, kMask,
    kLMask, kSelect, kLSelect, kLShowDir, kShowDir, kConnect, kGet, kPut, kClose, kXlate, kCountry,
    kLocalCharset, kCharset, kUnknown
};

struct KeywordName {
    const char* word;
    Keyword keyword;
};

const KeywordName kKeywords[] = {
    {"limited", kLimited}, {"checkcasemask", kCheckCaseMask}, {"help", kHelp}, {"?", kHelp}, {"info", kHelp},
    {"site", kSite}, {"verbose", kVerbose}, {"debug", kDebug}, {"retain", kRetain}, {"diruntrace", kDirUntrace},
    {"system", kSystem}, {"autodelete", kAutoDelete}, {"autoname", kAutoName}, {"confirm", kConfirm},
    {"appendmode", kAppendMode}, {"avoidzero", kAvoidZero}, {"warningifzerolength", kWarningIfZeroLength},
    {"timeout", kTimeout}, {"wait", kWait}, {"logfile", kLogFile}, {"loop", kLoop}, {"return", kReturn},
    {"end", kEnd}, {"exit", kExit}, {"call", kCall}, {"run", kCall}, {"script", kCall}, {"host", kHost},
    {"user", kUser}, {"password", kPassword}, {"type", kType}, {"mode", kType}, {"askfile", kAskFile},
    {"chmod", kChmod}, {"ftpcmd", kFtpCmd}, {"cd", kCd}, {"lcd", kLcd}, {"mask", kMask}, {"lmask", kLMask},
    {"select", kSelect}, {"lselect", kLSelect}, {"lshowdir", kLShowDir}, {"showdir", kShowDir},
    {"connect", kConnect}, {"recv", kGet}, {"get", kGet}, {"send", kPut}, {"put", kPut}, {"close", kClose},
    {"xlate", kXlate}, {"country", kCountry}, {"localcharset", kLocalCharset}, {"charset", kCharset},
};

// A word that is exactly a command word (case ignored).
bool IsCommandWord(const std::string& word)
{
    const std::string lower = Lower(word);
    for (const KeywordName& k : kKeywords)
        if (lower == k.word)
            return true;
    return false;
}

Keyword FindKeyword(const std::string& command)
{
    for (const KeywordName& k : kKeywords)
        if (StartsWith(command, k.word))
            return k.keyword;
    return kUnknown;
}

struct CharsetWord {
    const char* word;
    int code;
};
const CharsetWord kRemoteCharsets[] = {{"7bit", 1}, {"8bit", 2}, {"ibmpc", 4}, {"iso8859", 3}};
const CharsetWord kLocalCharsets[] = {{"ibmpc", 4}, {"iso8859", 3}};

template <std::size_t N>
int CharsetFrom(const CharsetWord (&table)[N], const std::string& word)
{
    const std::string value = Lower(word);
    for (const CharsetWord& c : table)
        if (StartsWith(value, c.word))
            return c.code;
    return 0;
}

}  // namespace

// ---- the word reader

int ScriptWordReader::Read(std::string& word)
{
    word.clear();
    endedLine = false;
    int c;
    for (;;) {
        c = std::fgetc(file);
        if (c == EOF)
            return -1;
        if (c == '\n') {
            ++line;
            endedLine = true;
            return 0;
        }
        if (c > 32 && c < 128)
            break;
    }
    const bool quoted = c == '"';
    std::size_t length = 0;
    bool tooLong = false;
    auto store = [&](int ch) {
        if (length < kScriptWordMax)
            word += static_cast<char>(ch);
        else
            tooLong = true;
        ++length;
    };
    if (!quoted)
        store(c);
    bool escaped = false;
    while ((c = std::fgetc(file)) != EOF) {
        if (quoted) {
            if (c == '"' && !escaped)
                break;
        } else if (c == '\n') {
            std::ungetc(c, file);
            break;
        } else if (c == '\r' || c == '\t' || c == ' ' || c == '=') {
            break;
        }
        escaped = c == '\\' && !escaped;
        store(c);
    }
    if (tooLong) {
        word.clear();
        return kScriptWordTooLong;
    }
    echo += ' ';
    echo += maskNext ? std::string("****") : word;
    maskNext = false;
    return static_cast<int>(word.size());
}

// ---- paths

ScriptPathParts SplitScriptPath(const std::string& path)
{
    ScriptPathParts parts;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    const std::size_t slash = path.find_last_of("\\/");
    std::size_t nameStart = start;
    if (slash != std::string::npos && slash >= start) {
        parts.directory = path.substr(start, slash + 1 - start);
        nameStart = slash + 1;
    }
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot >= nameStart) {
        parts.name = path.substr(nameStart, dot - nameStart);
        parts.extension = path.substr(dot);
    } else {
        parts.name = path.substr(nameStart);
    }
    return parts;
}

std::string ResolveScriptPath(const std::string& base, const std::string& name)
{
    const ScriptPathParts n = SplitScriptPath(name);
    const ScriptPathParts b = SplitScriptPath(base);
    std::string directory = b.directory;
    if (!b.name.empty() || !b.extension.empty()) {
        // The base names a folder without a trailing separator: keep its separator style.
        const char separator = base.find('\\') == std::string::npos && base.find('/') != std::string::npos ? '/' : '\\';
        directory += b.name + b.extension + separator;
    }
    std::string result = n.drive.empty() ? b.drive : n.drive;
    if (!n.directory.empty()) {
        if (!IsSeparator(n.directory[0]))
            result += directory;
        result += n.directory;
    } else {
        result += directory;
    }
    return result + n.name + n.extension;
}

// ---- the editor's texts

std::string EncryptScriptPasswords(const std::string& text)
{
    static const char kKey[] = "assword=";
    const std::size_t keyLength = sizeof kKey - 1;
    const std::string lower = Lower(text);
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = lower.find(kKey); at != std::string::npos; at = lower.find(kKey, done)) {
        std::size_t value = at + keyLength;
        while (value < text.size() && (text[value] == ' ' || text[value] == '\t'))
            ++value;
        std::size_t end = value;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= '!')
            ++end;
        out.append(text, done, value - done);
        const std::string plain = text.substr(value, end - value);
        const bool scrambled = plain.size() >= 2 && plain.front() == '?' && plain.back() == '?';
        if (plain.empty() || scrambled || plain == "[]")
            out += plain;
        else
            out += ScrambleText(plain, '?');
        done = end;
    }
    out.append(text, done, std::string::npos);
    return out;
}

std::string NewScriptTemplate()
{
    static const char* const kLines[] = {"verbose=on",  "logfile=tvftplog.txt", "host=[]",        "user=[]",
                                         "password=[]", "connect",              "cd remotedirectory",
                                         "lcd localdirectory", "get [] []",     "put [] []",      "close"};
    std::string text;
    for (const char* line : kLines)
        text += std::string(line) + "\r\n";
    return text;
}

// ---- files and the call stack

ScriptRunner::~ScriptRunner()
{
    if (reader_.file)
        std::fclose(reader_.file);
}

void ScriptRunner::ScriptTitle() { host_.SetTitle(host_.Site().host + " " + scriptPath); }

int ScriptRunner::OpenScriptFile(const std::string& path, long offset, int line)
{
    if (running_)
        CloseScriptFile();
    // Binary: the byte offsets that `call` keeps must be the file's own.
    reader_.file = std::fopen(path.c_str(), "rb");
    running_ = reader_.file != nullptr;
    if (!running_)
        return 0;
    stack_.push_back(ScriptFrame{path, 0, 1});
    std::fseek(reader_.file, offset, SEEK_SET);
    scriptPath = path;
    reader_.line = line;
    reader_.echo.clear();
    reader_.maskNext = false;
    pending_.clear();
    host_.Log(Format(syntaxTest ? "Info: Script syntax test: %s" : "Info: Script open: %s", path.c_str()));
    ScriptTitle();
    return 1;
}

int ScriptRunner::CloseScriptFile()
{
    int ok = 1;
    if (reader_.file) {
        host_.Log(Format("Info: Script closed: %s", scriptPath.c_str()));
        ok = std::fclose(reader_.file) == 0;
        if (!stack_.empty())
            stack_.pop_back();
    }
    running_ = false;
    reader_.file = nullptr;
    return ok;
}

int ScriptRunner::PushReturnPoint()
{
    if (running_ && reader_.file && !stack_.empty()) {
        stack_.back().offset = std::ftell(reader_.file);
        stack_.back().line = reader_.line;
        stack_.push_back(ScriptFrame{stack_.back().path, 0, 1});
    }
    return static_cast<int>(stack_.size()) - 1;
}

int ScriptRunner::ReturnFromScript()
{
    CloseScriptFile();
    if (!stack_.empty()) {
        const ScriptFrame caller = stack_.back();
        stack_.pop_back();
        OpenScriptFile(caller.path, caller.offset, caller.line);
    }
    return static_cast<int>(stack_.size()) - 1;
}

void ScriptRunner::StopAllScripts()
{
    CloseScriptFile();
    stack_.clear();
    syntaxTest = false;
    if (waitSeconds != 0) {
        waitSeconds = 0;
        host_.StopWaitTimer();
    }
    host_.SetTitle(host_.Site().host);
}

void ScriptRunner::StartScript()
{
    if (running_) {
        StopAllScripts();
        return;
    }
    if (!OpenScriptFile(scriptPath, 0, 1)) {
        host_.Log(Format(host_.LocalText(3017, "Error in Script: Cannot open %s").c_str(), scriptPath.c_str()));
        return;
    }
    ScriptInterpreter();
}

void ScriptRunner::WaitTick()
{
    if (waitSeconds != 0)
        --waitSeconds;
    if (waitSeconds <= 0) {
        waitSeconds = 0;
        host_.StopWaitTimer();
        ScriptInterpreter();
        return;
    }
    host_.SetTitle(Format(host_.LocalText(3014, "Waiting: %d seconds ...").c_str(), waitSeconds));
}

// ---- the interpreter

void ScriptRunner::Halt()
{
    StopAllScripts();
    throw Stop{};
}

void ScriptRunner::Fail(int line, const std::string& text, const char* syntax)
{
    host_.Log(Format("Error in Script %s line %d: %s", scriptPath.c_str(), line, text.c_str()));
    if (syntax)
        host_.Log(std::string("Info: Script syntax: ") + syntax);
    Halt();
}

int ScriptRunner::Read(std::string& word)
{
    if (!reader_.file)
        return -1;
    const int result = reader_.Read(word);
    if (result == 0) {
        const FtpGeneralSettings& settings = host_.Settings();
        if (settings.verbose || settings.debug)
            host_.Log("Info: done: " + reader_.echo);
        reader_.echo.clear();
    } else if (result == kScriptWordTooLong) {
        Fail(reader_.line, Format("word longer than %d characters", static_cast<int>(kScriptWordMax)));
    }
    return result;
}

std::string ScriptRunner::NeedWord(const char* message, const char* syntax)
{
    std::string word;
    const int result = Read(word);
    if (result <= 0)
        Fail(MissingLine(), message, syntax);
    return word;
}

bool ScriptRunner::OnOffValue(const char* name, const char* syntax)
{
    std::string word;
    const int result = Read(word);
    const int value = result > 0 ? OnOff(word) : -1;
    if (value < 0)
        Fail(MissingLine(), Format("Invalid %s: %s", name, result > 0 ? word.c_str() : "<missing>"), syntax);
    return value == 1;
}

int ScriptRunner::NumberValue(const char* message, const char* syntax, std::string* shown)
{
    std::string word;
    const int result = Read(word);
    int value = 0;
    if (result <= 0 || !Number(word, value))
        Fail(MissingLine(), Format("%s: %s", message, result > 0 ? word.c_str() : "<missing>"), syntax);
    if (shown)
        *shown = word;
    return value;
}

int ScriptRunner::ScriptInterpreter()
{
    try {
        while (running_) {
            std::string word;
            int result;
            if (!pending_.empty()) {
                word.swap(pending_);
                result = static_cast<int>(word.size());
            } else {
                result = Read(word);
            }
            if (result == 0)
                continue;
            if (result < 0) {
                ReturnFromScript();
                continue;
            }
            if (++sincePump_ >= kScriptPumpEvery) {
                sincePump_ = 0;
                host_.PumpMessages();
                if (!running_)
                    break;
            }
            Command(Lower(word));
            if (waitSeconds != 0 && running_ && !syntaxTest)
                break;  // paused in `wait`
        }
    } catch (const Stop&) {
    }
    if (!running_)
        syntaxTest = false;  // a check ends with its script; the next Connect connects
    return running_ ? 1 : 0;
}

void ScriptRunner::Command(const std::string& command)
{
    SiteRecord& site = host_.Site();
    FtpGeneralSettings& settings = host_.Settings();
    const bool act = !syntaxTest;
    const int line = reader_.line;
    std::string word;
    switch (FindKeyword(command)) {
    case kLimited:
        if (act)
            host_.SetLimitedMode();
        return;
    case kCheckCaseMask: {
        std::string name, mask;
        const int first = Read(name);
        const int second = first > 0 ? Read(mask) : first;
        if (first <= 0 || second <= 0)
            Fail(MissingLine(), "bad parameters", "checkcasemask <file> <mask>");
        const bool match = MatchMask(name.c_str(), mask.c_str(), 1) != 0;
        host_.Log(Format("file: %s - mask: %s = %s", name.c_str(), mask.c_str(), match ? "TRUE" : "FALSE"));
        return;
    }
    case kHelp:
        if (act)
            host_.Help();
        return;
    case kSite: {
        const std::string name = NeedWord("site name: <missing>", "site=<filename>");
        if (act && !host_.SiteApply(name))
            host_.Log(Format("Error: Site not found in TOLVIFTP.INI: %s", name.c_str()));
        return;
    }
    case kVerbose:
    case kDebug: {
        const bool verbose = FindKeyword(command) == kVerbose;
        const bool on = verbose ? OnOffValue("verbose mode", "verbose=<on|off>")
                                : OnOffValue("debug mode", "debug=<on|off>");
        if (!act)
            return;
        if (!host_.ApiStarted() && host_.StartApi() != 0)
            Halt();
        if (verbose) {
            settings.verbose = on;
            host_.SetVerbose(on);
        } else {
            host_.SetDebug(on);
        }
        return;
    }
    case kRetain: {
        std::string value;
        const int result = Read(value);
        const int on = result > 0 ? OnOff(value) : -1;
        if (on < 0)
            Fail(MissingLine(), Format("Invalid retain mode: %s", result > 0 ? value.c_str() : "<missing>"),
                 "retain=<on|off>");
        if (act) {
            settings.retain = on == 1;
            const std::string file = host_.SetRetain(on == 1);
            host_.Log(Format("Directory trace %s, current directory file: %s", value.c_str(), file.c_str()));
        }
        return;
    }
    case kDirUntrace: {
        const std::string name = NeedWord("directory filename: <missing>", "diruntrace=<filename>");
        host_.SetListingFile(name);
        host_.RedisplayRemote();
        return;
    }
    case kSystem: {
        std::string shown;
        const int type = NumberValue("Invalid system type", "system=<0-16>", &shown);
        if (act) {
            if (host_.SetHostType(type) == -1)
                host_.Log(Format("Error in Script %s line %d: Invalid system type: %s", scriptPath.c_str(), line,
                                 shown.c_str()));
            else
                host_.Log(Format("Host System type changed to: %d", type));
        }
        return;
    }
    case kAutoDelete: {
        const bool on = OnOffValue("autodelete mode", "autodelete=<on|off>");
        if (act)
            settings.autoDelete = on;
        return;
    }
    case kAutoName: {
        const bool on = OnOffValue("autoname mode", "autoname=<on|off>");
        if (act)
            settings.autoName = on;
        return;
    }
    case kConfirm: {
        const bool on = OnOffValue("confirm mode", "confirm=<on|off>");
        if (act)
            settings.confirm = on;
        return;
    }
    case kAppendMode: {
        const bool on = OnOffValue("appendmode flag", "appendmode=<on|off>");
        if (act) {
            settings.appendMode = on;
            host_.TransferFlagsChanged();
        }
        return;
    }
    case kAvoidZero: {
        const bool on = OnOffValue("avoidzero mode", "avoidzero=<on|off>");
        if (act) {
            settings.avoidZero = on;
            host_.TransferFlagsChanged();
        }
        return;
    }
    case kWarningIfZeroLength: {
        const bool on = OnOffValue("warningifzerolength mode", "warningifzerolength=<on|off>");
        if (act)
            settings.warningIfZeroLength = on;
        return;
    }
    case kTimeout: {
        const int seconds = NumberValue("Invalid timeout mode", "timeout=<seconds>");
        host_.SetTimeout(seconds);
        host_.Log(Format("Info: Timeout changed to: %d seconds", seconds));
        return;
    }
    case kWait: {
        const int seconds = NumberValue("Invalid wait value", "wait=<seconds>");
        if (!act || seconds == 0)
            return;
        waitSeconds = seconds;
        if (!host_.StartWaitTimer()) {
            waitSeconds = 0;
            host_.Log("Error: Out of timers,");
            Halt();
        }
        host_.Log(Format("Info: Waiting %d seconds", seconds));
        return;
    }
    case kLogFile: {
        const std::string name = NeedWord("logfile name: <missing>", "logfile=<filename>");
        if (act)
            host_.OpenLogFile(name);
        return;
    }
    case kLoop:
        if (act) {
            std::fseek(reader_.file, 0, SEEK_SET);
            reader_.line = 1;
            reader_.echo.clear();
            sincePump_ = 0;
            host_.PumpMessages();
        }
        return;
    case kReturn:
        ReturnFromScript();
        return;
    case kEnd:
        Halt();
    case kExit:
        if (act)
            host_.PostExit();
        Halt();
    case kCall:
        CallScript(command);
        return;
    case kHost:
    case kUser:
    case kPassword: {
        const Keyword which = FindKeyword(command);
        if (which == kPassword)
            reader_.maskNext = true;
        const std::string value = which == kHost ? NeedWord("Host name <missing>", "host=<hostname|ipadress>")
                                  : which == kUser ? NeedWord("User name <missing>", "user=<loginname>")
                                                   : NeedWord("Password <missing>", "password=<password|[]>");
        reader_.maskNext = false;
        std::string& field = which == kHost ? site.host : which == kUser ? site.user : site.password;
        field = value == "[]" ? std::string() : value;
        if (which == kHost)
            ScriptTitle();
        site.remoteDirectory.clear();
        host_.SetRemoteSelect("");
        return;
    }
    case kType: {
        const int result = Read(word);
        const std::string mode = Lower(word);
        if (result <= 0 || (mode != "a" && mode != "i"))
            Fail(MissingLine(), "Invalid transfer mode", "mode|type=<i|a>");
        if (act)
            site.mode = static_cast<char>(std::toupper(static_cast<unsigned char>(mode[0])));
        return;
    }
    case kAskFile:
        if (act) {
            StopAllScripts();
            host_.ConnectAndLogin();
            throw Stop{};
        }
        return;
    case kChmod: {
        std::string modes, name;
        const int first = Read(modes);
        const int second = first > 0 ? Read(name) : first;
        if (first <= 0 || second <= 0)
            Fail(MissingLine(), "chmod syntax error", "chmod <modes> <filename>");
        if (act && host_.Connected() && host_.Chmod(modes, name) != 0)
            Fail(line, Format("chmod %s %s failed", modes.c_str(), name.c_str()));
        return;
    }
    case kFtpCmd: {
        std::string text;
        int result;
        while ((result = Read(word)) > 0)
            text += (text.empty() ? "" : " ") + word;
        if (text.empty())
            Fail(MissingLine(), "Ftp command <missing>", "ftpcmd <command>");
        if (act && host_.Connected() && host_.RawCommand(text) != 0)
            Fail(line, Format("FtpCmd failed: %s", text.c_str()));
        return;
    }
    case kCd: {
        const std::string path = NeedWord("Remote path <missing>", "cd <[path]>");
        if (act && host_.Connected() && host_.ChangeRemoteDirectory(path) != 0)
            Fail(line, Format("Invalid remote path: %s", path.c_str()));
        site.remoteDirectory = path;
        return;
    }
    case kLcd: {
        const std::string path = NeedWord("Local path <missing>", "lcd <[drive:][path]>");
        if (act && host_.SetLocalDirectory(path) != 0)
            Fail(line, Format("Invalid local path: %s", path.c_str()));
        return;
    }
    case kMask:
        site.remoteMask = NeedWord("Remote mask <missing>", "mask <filespec (wildcards)>");
        if (act)
            host_.SetRemoteMask(site.remoteMask);
        return;
    case kLMask:
        site.localMask = NeedWord("Local mask <missing>", "lmask <filespec (wildcards)>");
        if (act) {
            host_.SetLocalMask(site.localMask);
            host_.RefreshLocal();
        }
        return;
    case kSelect: {
        const std::string mask = NeedWord("Remote selection <missing>", "select <filespec (wildcards)>");
        if (act) {
            host_.SetRemoteSelect(mask);
            host_.RefreshRemote();
        }
        return;
    }
    case kLSelect: {
        const std::string mask = NeedWord("Local selection <missing>", "lselect <filespec (wildcards)>");
        if (act) {
            host_.SetLocalSelect(mask);
            host_.RefreshLocal();
        }
        return;
    }
    case kLShowDir: {
        const bool on = OnOffValue("lshowdir mode", "lshowdir=<on|off>");
        if (act) {
            site.localShowDir = on;
            host_.SetLocalShow(on);
            host_.RefreshLocal();
        }
        return;
    }
    case kShowDir: {
        const bool on = OnOffValue("showdir mode", "showdir=<on|off>");
        if (act) {
            site.showDir = on;
            host_.SetRemoteShow(on);
            host_.RefreshRemote();
        }
        return;
    }
    case kConnect:
        if (act) {
            host_.ConnectAndLogin();
            if (!host_.Connected())
                Halt();
        }
        return;
    case kGet:
        Receive();
        return;
    case kPut:
        Send();
        return;
    case kClose:
        if (act) {
            if (host_.Connected()) {
                const std::string closed = host_.CloseConnection();
                host_.Log(Format("Close: %s", closed.c_str()));
                host_.SetRemoteSelect("");
                host_.RefreshRemote();
            } else {
                host_.CloseConnection();
            }
        }
        return;
    case kXlate: {
        const bool on = OnOffValue("xlate mode", "xlate=<on|off>");
        if (act) {
            site.translate = on;
            host_.SetTranslate(on);
        }
        return;
    }
    case kCountry: {
        const int country = NumberValue("Invalid Country code", "country=<contry code>");
        if (act && country != 0)
            host_.SetCountry(country);
        return;
    }
    case kLocalCharset:
    case kCharset: {
        const bool local = FindKeyword(command) == kLocalCharset;
        const int result = Read(word);
        const int code = result > 0 ? (local ? CharsetFrom(kLocalCharsets, word) : CharsetFrom(kRemoteCharsets, word)) : 0;
        if (code == 0)
            Fail(MissingLine(),
                 Format(local ? "Invalid LocalCharset code: %s" : "Invalid Charset code: %s",
                        result > 0 ? word.c_str() : "<missing>"),
                 local ? "localcharset=<ibmpc | iso8859>" : "charset=<7bit | 8bit | ibmpc | iso8859>");
        if (local) {
            site.localCharset = code;
            if (act)
                host_.SetLocalCharset(code);
        } else {
            site.charset = code;
            if (act)
                host_.SetRemoteCharset(code);
        }
        return;
    }
    case kUnknown:
        break;
    }
    host_.Log(Format("Error in Script %s line %d: Unknown command: %s", scriptPath.c_str(), line, command.c_str()));
    Halt();
}

void ScriptRunner::CallScript(const std::string& command)
{
    const char* syntax = "call|run|script=<filename>";
    const std::string name = NeedWord("Script filename <missing>", syntax);
    const std::string path = ResolveScriptPath(scriptDirectory, name);
    const bool call = StartsWith(command, "call");
    if (call && stack_.size() >= kScriptCallDepthMax)
        Fail(reader_.line, Format("Scripts called too deep (more than %d): %s", static_cast<int>(kScriptCallDepthMax),
                                  path.c_str()));
    const std::string caller = scriptPath;
    if (call)
        PushReturnPoint();
    if (!OpenScriptFile(path, 0, 1)) {
        host_.Log(Format("Error in Script %s: Cannot open %s", caller.c_str(), path.c_str()));
        host_.Log(std::string("Info: Script syntax: ") + syntax);
        Halt();
    }
}

bool ScriptRunner::ReadDestination(std::string& word)
{
    if (Read(word) <= 0)
        return false;
    if (!IsCommandWord(word))
        return true;
    // A script on one line: the word after the name is the next command, not a destination.
    pending_ = word;
    word.clear();
    return false;
}

void ScriptRunner::Receive()
{
    const bool act = !syntaxTest;
    const char* syntax = "recv|get <remote> [local]";
    std::string remote = NeedWord("Remote filename <missing>", syntax);
    const int line = reader_.line;
    const std::size_t slash = remote.find_last_of('/');
    if (slash != std::string::npos) {
        if (act && !host_.Connected()) {
            host_.ConnectAndLogin();
            if (!host_.Connected())
                Halt();
        }
        const std::string directory = remote.substr(0, slash + 1);
        if (act && host_.ChangeRemoteDirectory(directory) != 0)
            Fail(line, Format("Invalid remote directory: %s", directory.c_str()));
        remote = remote.substr(slash + 1);
    }
    if (act)
        host_.SetRemoteSelect(remote);
    std::string local;
    if (ReadDestination(local)) {
        if (HasWildcard(local))
            Fail(line, Format("destination filename has wildcard characters: %s", local.c_str()));
        if (HasWildcard(remote))
            Fail(line, Format("Don't supply destination filename for wildcard send: %s", local.c_str()));
        if (local.find_first_of("\\:") != std::string::npos) {
            const ScriptPathParts parts = SplitScriptPath(local);
            const std::string directory = parts.drive + parts.directory;
            if (act && host_.SetLocalDirectory(directory) != 0)
                Fail(line, Format("Invalid local directory: %s", directory.c_str()));
        }
    } else {
        local.clear();
    }
    host_.LocalFile() = local;
    if (!act)
        return;
    if (!HasWildcard(remote)) {
        host_.RemoteFile() = remote;
        host_.ReceiveSingleFile();
    } else {
        // The list must show the new selection: refilled from the host when stale, else from
        // the listing it has.
        if (host_.RemoteListStale())
            host_.RefreshRemote();
        else
            host_.RedisplayRemote();
        host_.ReceiveSelectedFiles();
    }
    if (!host_.Connected() || host_.TransferState() == 4)
        Halt();
}

void ScriptRunner::Send()
{
    const bool act = !syntaxTest;
    std::string local = NeedWord("Local filename <missing>", "send|put <local> [remote]");
    const int line = reader_.line;
    if (act && !host_.Connected()) {
        host_.ConnectAndLogin();
        if (!host_.Connected())
            Halt();
    }
    if (local.find_first_of("\\:") != std::string::npos) {
        const ScriptPathParts parts = SplitScriptPath(local);
        const std::string directory = parts.drive + parts.directory;
        if (act && host_.SetLocalDirectory(directory) != 0)
            Fail(line, Format("Invalid local directory: %s", directory.c_str()));
        local = parts.name + parts.extension;
    }
    if (act)
        host_.SetLocalSelect(local);
    host_.RefreshLocal();
    std::string remote;
    if (ReadDestination(remote)) {
        if (HasWildcard(remote))
            Fail(line, Format("destination filename has wildcard characters: %s", remote.c_str()));
        if (HasWildcard(local))
            Fail(line, Format("Don't supply destination filename for wildcard send: %s", remote.c_str()));
    } else {
        remote.clear();
    }
    host_.RemoteFile() = remote;
    if (!act)
        return;
    host_.SendSelectedFiles();
    if (!host_.Connected() || host_.TransferState() == 4)
        Halt();
}
